// The main window at the screen's scale: its size and places are the layout tables' times the DPI / 96, and
// every text fits its control, at the prefix's scale and after a move to a screen of another scale.
#include "tests/drive/Drive.h"
#include "tests/drive/TextFit.h"

#include "app/main/MainWindowLayout.h"
#include "app/main/ShredView.h"
#include "app/main/ShredViewLayout.h"
#include "controls/BigButton.h"
#include "controls/ExplorerBar.h"
#include "win/Dpi.h"
#include "win/Handle.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

using namespace drive;
using namespace mainwin::layout;

namespace {

constexpr wchar_t kTitle[] = L"Kestavel Shredder 3.20";
constexpr int kTolerance = 2;  // each edge of a nested place is rounded on its own

RECT Offset(RECT place, const RECT& container) {
    ::OffsetRect(&place, container.left, container.top);
    return place;
}

// A control's place in its parent's client area, or in the main window's.
RECT PlaceIn(HWND reference, HWND control) {
    RECT place = {};
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

void ExpectPlace(const RECT& actual, const RECT& expected, const std::wstring& what) {
    const bool within = std::abs(actual.left - expected.left) <= kTolerance &&
                        std::abs(actual.top - expected.top) <= kTolerance &&
                        std::abs(actual.right - expected.right) <= kTolerance &&
                        std::abs(actual.bottom - expected.bottom) <= kTolerance;
    auto text = [](const RECT& r) {
        return L"(" + std::to_wstring(r.left) + L", " + std::to_wstring(r.top) + L", " + std::to_wstring(r.right) +
               L", " + std::to_wstring(r.bottom) + L")";
    };
    Expect(within, what + L" at " + text(expected) + L", found " + text(actual));
}

// How wide the ink of a colour is on screen within a control: from its first column holding a pixel close to
// the colour to its last.
int InkWidth(HWND control, COLORREF ink) {
    RECT place = {};
    ::GetWindowRect(control, &place);
    const int width = place.right - place.left, height = place.bottom - place.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    win::WindowDc screen(nullptr);
    win::UniqueBitmap picture(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    win::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    Expect(picture && memory, L"a picture of the screen");
    {
        win::SelectGuard select(memory.get(), picture.get());
        ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), place.left, place.top, SRCCOPY);
    }
    const auto* pixels = static_cast<const RGBQUAD*>(bits);
    int first = width, last = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const RGBQUAD& pixel = pixels[y * width + x];
            if (std::abs(pixel.rgbRed - GetRValue(ink)) + std::abs(pixel.rgbGreen - GetGValue(ink)) +
                    std::abs(pixel.rgbBlue - GetBValue(ink)) <
                40) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return last - first + 1;
}

// What a user sees at this scale: the window's size, a handful of places, and whole texts.
void CheckScale(HWND window, UINT dpi) {
    const win::Scale s(dpi);
    const std::wstring at = L" at " + std::to_wstring(dpi) + L" DPI";
    const SIZE client = ClientSize(window);
    Log(L"client area" + at + L": " + std::to_wstring(client.cx) + L" x " + std::to_wstring(client.cy));
    ExpectPlace({0, 0, client.cx, client.cy}, s(RECT{0, 0, kClientWidth, kClientHeight}), L"the client area" + at);

    const RECT runButtons = Offset(kRunButtonsPanel, kRightArea);
    ExpectPlace(PlaceIn(window, FindChildById(window, kIdStart)), s(Offset(kRunButtons[0].place, runButtons)),
                L"the start button" + at);
    ExpectPlace(PlaceIn(window, FindChildById(window, kIdShredList)), s(Offset(kShredList, kRightArea)),
                L"the shred list" + at);
    ExpectPlace(PlaceIn(window, FindChildById(window, kIdOverallBar)), s(Offset(kOverallBar.place, kRightArea)),
                L"the overall bar" + at);
    HWND column = FindChildById(window, kIdLeftColumn);
    ExpectPlace(PlaceIn(window, column), s(kLeftColumn), L"the explorer bar" + at);
    // The repetition controls in the column's first container, which the bar places and sizes itself.
    HWND caption = FindChildById(window, kIdRepetitionsCaption);
    const auto* container = std::find_if(kColumnEntries.begin(), kColumnEntries.end(), [](const ColumnEntry& entry) {
        return entry.type == ExplorerBar::kContainer;
    });
    ExpectPlace({0, 0, 0, ClientSize(::GetParent(caption)).cy}, {0, 0, 0, s(container->height)},
                L"the height of the repetition controls' container" + at);
    ExpectPlace(PlaceIn(::GetParent(caption), caption), s(kRepetitionsCaption), L"the repetition caption" + at);
    HWND edit = FindChildById(window, kIdRepetitionsEdit);
    RECT spinEdit = PlaceIn(::GetParent(edit), edit);
    spinEdit.right = PlaceIn(::GetParent(edit), FindChildById(window, kIdRepetitionsSpin)).right;
    ExpectPlace(spinEdit, s(kRepetitionsEdit), L"the repetition count and its arrows" + at);

    // The standard controls, in the fonts the tables give them.
    ProgramFonts fonts(dpi);
    auto roles = [&](const auto& labels) {
        for (const Label& label : labels)
            fonts.set(label.id, label.font);
    };
    roles(kCounters);
    roles(kDetailLabels);
    roles(kRunInfoLabels);
    roles(std::array<Label, 3>{kFileLine, kStatusLine, kRunBannerText});
    fonts.set(kIdRepetitionsEdit, kRepetitionsEditFont);
    ExpectTextsFit(window, fonts, L"the main window" + at);

    // The fonts are the scale's: the ink of two captions on screen, once painted, is as wide as their texts in
    // those fonts, less the glyphs' side bearings.
    const std::pair<int, COLORREF> inked[] = {{kIdRepetitionsCaption, kRepetitionsCaptionColor},
                                              {kIdRemainingCaption, kCaptionColor}};
    for (const auto& [id, color] : inked) {
        HWND control = FindChildById(window, id);
        std::wstring text = Text(control);
        text.erase(text.find_last_not_of(L' ') + 1);  // blanks draw no ink
        const int needed = TextExtent(fonts.of(control), text).cx;
        int drawn = 0;
        const bool whole = WaitUntil([&] {
            drawn = InkWidth(control, color);
            return drawn > needed * 9 / 10 - s(3) && drawn <= needed;
        });
        Expect(whole, L"\"" + text + L"\" is drawn " + std::to_wstring(drawn) + L" pixels wide, " +
                          std::to_wstring(needed) + L" in its font" + at);
    }

    // The big buttons draw their captions beside their icons, in the dialog font.
    auto captions = [&](const auto& buttons) {
        for (const Button& button : buttons) {
            HWND control = FindChildById(window, button.id);
            const std::wstring text = Text(control);
            const int room = BigButton::CaptionRoom(BigButton::kIconLeft, ClientSize(control).cx, s(kButtonIcon), dpi);
            const int needed = TextExtent(fonts.get(FontRole::Dialog), text).cx;
            Expect(needed <= room, L"\"" + text + L"\" (" + std::to_wstring(needed) +
                                       L" pixels) fits beside its icon (" + std::to_wstring(room) + L")" + at);
        }
    };
    captions(kRunButtons);
    captions(kListButtons);
    // The explorer bar's links and notes in their fonts, wrapped as the bar wraps them, within their rooms. A
    // group caption too long for its header's font is drawn in a smaller size of it (the gallery looks).
    RECT page = {};
    ::GetClientRect(column, &page);
    for (const ColumnEntry& entry : kColumnEntries) {
        if (entry.type != ExplorerBar::kLink && entry.type != ExplorerBar::kLabel)
            continue;
        const SIZE room = ExplorerBar::CaptionRoom(entry.type, entry.height, entry.picture != 0, page.right, dpi);
        HFONT font = entry.type == ExplorerBar::kLabel ? fonts.get(kColumnLabelFont) : ExplorerBar::EntryFont(dpi);
        win::WindowDc screen(nullptr);
        win::SelectGuard select(screen.get(), font);
        RECT block = {0, 0, room.cx, 0};
        ::DrawTextW(screen.get(), entry.caption, -1, &block, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
        Expect(block.right <= room.cx && block.bottom <= room.cy,
               L"\"" + std::wstring(entry.caption) + L"\" (" + std::to_wstring(block.right) + L"x" +
                   std::to_wstring(block.bottom) + L") fits the explorer bar's " + std::to_wstring(room.cx) + L"x" +
                   std::to_wstring(room.cy) + at);
    }
}

// What Windows sends a window dragged onto a screen of another scale, with the place it suggests; the RECT
// lives in the program's memory, as the system's would.
void SendDpiChanged(HWND window, UINT dpi) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    win::UniqueHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId));
    void* remote =
        process ? ::VirtualAllocEx(process.get(), nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE) : nullptr;
    Expect(remote != nullptr, L"memory in the program for the suggested place");
    RECT suggested = {};
    ::GetWindowRect(window, &suggested);
    suggested.right = suggested.left + ::MulDiv(suggested.right - suggested.left, dpi, win::DpiOf(window));
    suggested.bottom = suggested.top + ::MulDiv(suggested.bottom - suggested.top, dpi, win::DpiOf(window));
    ::WriteProcessMemory(process.get(), remote, &suggested, sizeof(suggested), nullptr);
    DWORD_PTR answer = 0;
    const bool sent = ::SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                                            reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 10000, &answer) != 0;
    ::VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    Expect(sent, L"the window answers WM_DPICHANGED");
}

}  // namespace

SCENARIO("main-window-scale") {
    const UINT dpi = win::SystemDpi();
    Program program = Program::Start();
    HWND window = program.waitForWindow(kTitle);
    CheckScale(window, dpi);
    if (dpi == 144)
        Screenshot(L"main-window-at-150-percent");

    // Wine has one screen: the driver sends what Windows sends when the window moves to another, a quarter
    // step larger (125 % to 150 %, 150 % to 175 %, 200 % to 225 %), so that the window still fits this screen
    // and Wine's metrics, which stay this screen's, are not larger than the window's.
    const UINT other = dpi + 24;
    SendDpiChanged(window, other);
    CheckScale(window, other);
    Close(window);
    ExpectEqual(program.waitForExit(), 0, L"exit code");
}
