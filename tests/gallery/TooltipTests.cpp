// Balloon tooltips: one ownerless balloon per control, 200 pixels wide at most, titled or not.
#include "tests/gallery/Gallery.h"

#include "app/cleaner/CleanerDialogLayout.h"
#include "app/main/MainWindowLayout.h"
#include "app/main/ShredViewLayout.h"
#include "app/tools/ToolItems.h"
#include "controls/BalloonTip.h"
#include "controls/Gdi.h"
#include "controls/PlainTip.h"

#include <commctrl.h>

#include <cstdint>

namespace gallery {

namespace {

constexpr wchar_t kLongText[] =
    L"Sélectionnez l'algorithme à utiliser pour l'écrasement de vos données. Le nombre de répétitions "
    L"multiplie le nombre de cycles.";

HWND Target(int x, int y, const wchar_t* text) {
    HWND button = ::CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, 120, 24,
                                    Shared().window, nullptr, nullptr, nullptr);
    ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return button;
}

void PointerAway() {
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
}

// Rests the pointer on the control until Windows shows its balloon; returns the balloon's size (0 x 0
// when it never shows) after saving a screenshot of it.
SIZE Hover(HWND tip, HWND control, const std::wstring& shot) {
    RECT place;
    ::GetWindowRect(control, &place);
    ::SetCursorPos((place.left + place.right) / 2, (place.top + place.bottom) / 2);
    RECT shown = {};
    if (PumpUntil([&] { return ::IsWindowVisible(tip) != FALSE; })) {
        ::GetWindowRect(tip, &shown);
        RECT area = {shown.left - 10, shown.top - 10, place.right + 10, place.bottom + 10};
        ::MapWindowPoints(nullptr, Shared().window, reinterpret_cast<POINT*>(&area), 2);
        Screenshot(shot, Shared().window, area);
    }
    PointerAway();
    ::SendMessageW(tip, TTM_POP, 0, 0);
    PumpUntil([&] { return !::IsWindowVisible(tip); });
    return {shown.right - shown.left, shown.bottom - shown.top};
}

// Every tooltip of the program, read from the windows' tables: a balloon when it has a title.
struct TipText {
    const wchar_t* title;  // null: a plain tooltip
    const wchar_t* text;
};

std::vector<TipText> ProgramTips() {
    std::vector<TipText> tips = {{mainwin::layout::kMethodTipTitle, mainwin::layout::kMethodTip},
                                 {mainwin::layout::kRepetitionsTipTitle, mainwin::layout::kRepetitionsTip},
                                 {mainwin::layout::kOverallTipTitle, mainwin::layout::kOverallTip}};
    for (const ToolItem& item : kToolItems)
        if (item.tooltip)
            tips.push_back({nullptr, item.tooltip});
    for (const auto& item : cleaner::layout::kItems)
        tips.push_back({item.tipTitle, item.tip});
    for (const auto& button : cleaner::layout::kStripButtons)
        tips.push_back({button.tipTitle, button.tip});
    for (const auto& button : cleaner::layout::kDnsButtons)
        tips.push_back({button.tipTitle, button.tip});
    for (const auto& button : cleaner::layout::kMruButtons)
        tips.push_back({button.tipTitle, button.tip});
    for (const auto& button : mainwin::layout::kRunButtons)
        tips.push_back({button.tipTitle, button.tip});
    for (const auto& button : mainwin::layout::kListButtons)
        tips.push_back({button.tipTitle, button.tip});
    return tips;
}

// Pixels of a picture that are the ink of text drawn in kInk, anti-aliased edges included.
constexpr COLORREF kInk = RGB(220, 0, 0);
int InkPixels(const DWORD* pixels, size_t count) {
    int ink = 0;
    for (size_t i = 0; i < count; ++i) {
        const int r = (pixels[i] >> 16) & 0xFF, g = (pixels[i] >> 8) & 0xFF, b = pixels[i] & 0xFF;
        ink += r - std::max(g, b) > 40 ? 1 : 0;
    }
    return ink;
}

// Wine draws a balloon's title at the foot of a box as high as its 16-pixel icon, whatever the title font:
// from 150 % on, the tops of the title's accents are cut off there. Windows sizes the box to the font.
constexpr int kWineTitleBox = 16;
bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The ink of the tooltip's title and text drawn in memory with the tooltip's fonts (its title's is the bold
// of its text's): the text in a box as wide as the tooltip's wrapping width (every line is measured against
// it), or unbounded when it does not wrap; the title whole, or under Wine in Wine's title box.
int WholeInk(HWND tip, const TipText& tip_text) {
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(tip, WM_GETFONT, 0, 0));
    LOGFONTW bold = {};
    ::GetObjectW(font, sizeof(bold), &bold);
    bold.lfWeight = FW_BOLD;
    win::UniqueFont titleFont(::CreateFontIndirectW(&bold));
    const int wrap = static_cast<int>(::SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
    constexpr int kWidth = 1200, kHeight = 400;
    controls::Offscreen picture(kWidth, kHeight, 32);
    RECT all = {0, 0, kWidth, kHeight};
    ::SetDCBrushColor(picture.dc(), static_cast<COLORREF>(::SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)));
    ::FillRect(picture.dc(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::SetBkMode(picture.dc(), TRANSPARENT);
    ::SetTextColor(picture.dc(), kInk);
    RECT textBox = {10, 10, wrap > 0 ? 10 + wrap : kWidth - 10, kHeight / 2};
    {
        win::SelectGuard select(picture.dc(), font);
        ::DrawTextW(picture.dc(), tip_text.text, -1, &textBox,
                    DT_EXTERNALLEADING | DT_NOPREFIX | (wrap > 0 ? DT_WORDBREAK : 0));
    }
    if (tip_text.title) {
        win::SelectGuard select(picture.dc(), titleFont.get());
        RECT titleBox = {10, kHeight / 2 + 10, kWidth - 10, kHeight - 10};
        UINT flags = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
        if (UnderWine()) {
            titleBox.bottom = titleBox.top + kWineTitleBox;
            flags = DT_SINGLELINE | DT_NOPREFIX | DT_BOTTOM;
        }
        ::DrawTextW(picture.dc(), tip_text.title, -1, &titleBox, flags);
    }
    ::GdiFlush();
    return InkPixels(static_cast<const DWORD*>(picture.bits()), static_cast<size_t>(kWidth) * kHeight);
}

}  // namespace

GALLERY_GROUP("tooltips") {
    const HICON icon = Shared().pictures.icon(IDI_APP);
    HWND titled = Target(880, 450, L"Avec titre");
    HWND untitled = Target(880, 550, L"Sans titre");
    HWND shortText = Target(880, 650, L"Court");
    HWND titledTip = AttachBalloonTip(nullptr, titled, L"Mode de destruction", kLongText, icon);
    HWND untitledTip = AttachBalloonTip(nullptr, untitled, L"", kLongText, icon);
    HWND shortTip = AttachBalloonTip(nullptr, shortText, L"", L"Sauvegarde & restauration", icon);

    Check(titledTip && untitledTip && shortTip, L"every call creates a tooltip window");
    const LONG style = ::GetWindowLongW(titledTip, GWL_STYLE);
    Check((style & (WS_POPUP | TTS_BALLOON | TTS_NOPREFIX)) == (WS_POPUP | TTS_BALLOON | TTS_NOPREFIX),
          L"the tooltip is a balloon popup without prefix processing");
    Check(::GetWindow(titledTip, GW_OWNER) == nullptr && ::GetParent(titledTip) == nullptr,
          L"the tooltip has no owner");
    Check(titledTip != untitledTip, L"each control has a tooltip of its own");
    Check(::SendMessageW(titledTip, TTM_GETMAXTIPWIDTH, 0, 0) == 200, L"long texts wrap at 200 pixels");
    Check(::SendMessageW(titledTip, TTM_GETTOOLCOUNT, 0, 0) == 1, L"one tool per tooltip");
    Check(::SendMessageW(titledTip, TTM_GETTIPTEXTCOLOR, 0, 0) == static_cast<LRESULT>(::GetSysColor(COLOR_INFOTEXT)) &&
              ::SendMessageW(titledTip, TTM_GETTIPBKCOLOR, 0, 0) == static_cast<LRESULT>(::GetSysColor(COLOR_INFOBK)),
          L"the balloon has the system's tooltip colours");

    wchar_t text[300] = {};
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.lpszText = text;
    ::SendMessageW(titledTip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool));
    Check((tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS)) == (TTF_IDISHWND | TTF_SUBCLASS),
          L"the tool is the control's window and watches its mouse messages itself");
    Check(tool.hwnd == titled && tool.uId == reinterpret_cast<UINT_PTR>(titled), L"the tool is the control");
    Check(std::wstring(text) == kLongText, L"the tool holds the text");

    // Nobody relays the mouse messages: resting the pointer on the control is enough.
    const SIZE titledSize = Hover(titledTip, titled, L"gallery-tooltip-titled");
    const SIZE untitledSize = Hover(untitledTip, untitled, L"gallery-tooltip-untitled");
    const SIZE shortSize = Hover(shortTip, shortText, L"gallery-tooltip-ampersand");
    Log(L"balloon sizes: titled " + std::to_wstring(titledSize.cx) + L"x" + std::to_wstring(titledSize.cy) +
        L", untitled " + std::to_wstring(untitledSize.cx) + L"x" + std::to_wstring(untitledSize.cy) + L", short " +
        std::to_wstring(shortSize.cx) + L"x" + std::to_wstring(shortSize.cy));
    Check(titledSize.cx > 0 && untitledSize.cx > 0 && shortSize.cx > 0, L"the balloons show on hover");
    // The balloon adds its margins and stem to the 200 pixels of text.
    Check(untitledSize.cx < 260, L"a long text wraps instead of widening the balloon");
    Check(untitledSize.cy > 2 * shortSize.cy - 10, L"a long text takes several lines");
    Check(titledSize.cy > untitledSize.cy, L"a title adds its line; an empty title adds none");
}

}  // namespace gallery

namespace gallery {

// Every tooltip of the program shows its whole text: each is shown on a control as the program shows it,
// in a text colour of its own, and the pixels of that colour on the screen are counted against its texts
// drawn whole in memory.
GALLERY_GROUP("tooltip-texts") {
    HWND target = Target(880, 450, L"Bulle");
    const HICON icon = reinterpret_cast<HICON>(TTI_INFO);
    int shown = 0;
    for (const TipText& tip_text : ProgramTips()) {
        HWND tip = nullptr;
        if (tip_text.title) {
            tip = AttachBalloonTip(nullptr, target, tip_text.title, tip_text.text, icon);
        } else {
            tip = PlainTip::Create(Shared().window);
            PlainTip::AddTool(tip, target, tip_text.text);
        }
        ::SendMessageW(tip, TTM_SETTIPTEXTCOLOR, kInk, 0);
        ::SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
        RECT place;
        ::GetWindowRect(target, &place);
        ::SetCursorPos((place.left + place.right) / 2, (place.top + place.bottom) / 2);
        if (PumpUntil([&] { return ::IsWindowVisible(tip) != FALSE; })) {
            ++shown;
            const Capture screen = FromScreen(tip);
            const int ink = InkPixels(screen.raw().data(), screen.raw().size());
            const int whole = WholeInk(tip, tip_text);
            if (ink < whole)
                Screenshot(L"gallery-tooltip-cut-" + std::to_wstring(shown), tip);
            Check(ink >= whole, L"the tooltip shows its whole text (" + std::to_wstring(ink) + L" pixels of ink for " +
                                    std::to_wstring(whole) + L"): " + tip_text.text);
        } else {
            Check(false, std::wstring(L"the tooltip shows: ") + tip_text.text);
        }
        PointerAway();
        ::SendMessageW(tip, TTM_POP, 0, 0);
        ::DestroyWindow(tip);
    }
    Log(L"tooltips shown: " + std::to_wstring(shown));
}

}  // namespace gallery
