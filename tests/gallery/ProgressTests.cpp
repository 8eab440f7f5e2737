// The colour progress bar: its face at the ends of the range, the split text, the rounding of text and fill.
#include "tests/gallery/Gallery.h"

#include "app/main/ShredViewLayout.h"
#include "controls/ColorProgressBar.h"
#include "controls/Gdi.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace gallery {

namespace {

// The colours of the pointer progress bar of the main window.
const mainwin::layout::Bar& PointerBar() {
    for (const mainwin::layout::Bar& bar : mainwin::layout::kDetailBars) {
        if (bar.id == kIdPointerBar)
            return bar;
    }
    return mainwin::layout::kDetailBars.front();
}
const COLORREF kText2 = PointerBar().text2;
const COLORREF kText = PointerBar().text;
const COLORREF kBar = PointerBar().bar;
const COLORREF kBack = PointerBar().back;

class TestBar {
public:
    TestBar(int width, int height, int minimum, int maximum, int position, int x = 600, int y = 200) {
        window_ = ColorProgressBar::Create(Shared().window, 0, x, y, width, height, minimum, maximum, kText2, kText,
                                           kBar, kBack);
        ::SendMessageW(window_, PBM_SETPOS, position, 0);
    }
    ~TestBar() { ::DestroyWindow(window_); }
    TestBar(const TestBar&) = delete;
    TestBar& operator=(const TestBar&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

// Width and height of the ink of a text written in the font the bars use.
SIZE TextInk(const std::wstring& text) {
    const int width = 100, height = 30;
    controls::Offscreen picture(width, height, 32);
    controls::FillSolid(picture.dc(), 0, 0, width, height, RGB(255, 255, 255));
    win::SelectGuard font(picture.dc(), ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(picture.dc(), TRANSPARENT);
    ::SetTextColor(picture.dc(), RGB(0, 0, 0));
    ::TextOutW(picture.dc(), 10, 5, text.c_str(), static_cast<int>(text.size()));
    ::GdiFlush();
    Capture capture(width, height);
    const auto* bits = static_cast<const DWORD*>(picture.bits());
    std::copy(bits, bits + width * height, capture.raw().begin());
    for (auto& pixel : capture.raw())
        pixel &= 0xFFFFFF;
    const RECT ink = capture.boundsNot(RGB(255, 255, 255));
    return {ink.right - ink.left, ink.bottom - ink.top};
}

// The text's ink on a bar whose fill ends at `boundary`: pixels that differ from the fill of their side.
RECT Ink(const Capture& face, int boundary) {
    RECT ink = {face.width(), face.height(), 0, 0};
    for (int y = 0; y < face.height(); ++y) {
        for (int x = 0; x < face.width(); ++x) {
            if (face.at(x, y) == (x < boundary ? kBar : kBack))
                continue;
            ink.left = std::min<LONG>(ink.left, x);
            ink.top = std::min<LONG>(ink.top, y);
            ink.right = std::max<LONG>(ink.right, x + 1);
            ink.bottom = std::max<LONG>(ink.bottom, y + 1);
        }
    }
    return ink;
}

// A row of the face that the text does not touch.
int ClearRow(const RECT& ink, int height) {
    return ink.top > 0 ? 0 : height - 1;
}

bool ShowsText(const Capture& face, int boundary, const std::wstring& text) {
    const RECT ink = Ink(face, boundary);
    const SIZE expected = TextInk(text);
    return ink.right - ink.left == expected.cx && ink.bottom - ink.top == expected.cy;
}

void CheckEnds() {
    {
        TestBar bar(250, 13, 0, 100, 0);
        const Capture face = PrintClient(bar.get());
        Check(face.all(face.whole(), [](COLORREF c) { return Between(c, kBack, kText2); }),
              L"at the minimum the face is BackColor with the text in TextColor2");
        Check(face.at(0, 0) == kBack && face.at(249, 12) == kBack, L"at the minimum the corners are BackColor");
        Check(ShowsText(face, 0, L"0%"), L"at the minimum the text reads 0%");
    }
    {
        TestBar bar(250, 13, 0, 100, 100);
        const Capture face = PrintClient(bar.get());
        Check(face.all(face.whole(), [](COLORREF c) { return Between(c, kBar, kText); }),
              L"at the maximum the face is BarColor with the text in TextColor");
        Check(face.at(0, 0) == kBar && face.at(249, 12) == kBar, L"at the maximum the corners are BarColor");
        Check(ShowsText(face, 250, L"100%"), L"at the maximum the text reads 100%");
    }
}

void CheckHalf() {
    TestBar bar(250, 20, 0, 100, 50);
    const Capture face = PrintClient(bar.get());
    const RECT ink = Ink(face, 125);
    const int row = ClearRow(ink, 20);
    Check(face.at(124, row) == kBar && face.at(125, row) == kBack,
          L"at 50 % on 250 pixels the fill ends after pixel 124: " + ColorText(face.at(124, row)) + L" then " +
              ColorText(face.at(125, row)));
    Check(face.all({0, 0, 125, 20}, [](COLORREF c) { return Between(c, kBar, kText); }),
          L"left of pixel 125 only BarColor and TextColor");
    Check(face.all({125, 0, 250, 20}, [](COLORREF c) { return Between(c, kBack, kText2); }),
          L"from pixel 125 on only BackColor and TextColor2");
    Check(face.any({115, 0, 125, 20}, [](COLORREF c) { return c != kBar; }) &&
              face.any({125, 0, 135, 20}, [](COLORREF c) { return c != kBack; }),
          L"the text lies on both sides of pixel 125");
    Check(ShowsText(face, 125, L"50%"), L"the text reads 50%");
    const int twiceCentre = ink.left + ink.right;
    Check(twiceCentre >= 248 && twiceCentre <= 252, L"the text is centred on pixel 125 (ink from " +
                                                        std::to_wstring(ink.left) + L" to " +
                                                        std::to_wstring(ink.right) + L")");
}

void CheckRounding() {
    {
        // 995 of 1000: the text rounds up to 100 %, the fill of 248.75 pixels to 249.
        TestBar bar(250, 20, 0, 1000, 995);
        const Capture face = PrintClient(bar.get());
        const int row = ClearRow(Ink(face, 249), 20);
        Check(face.at(248, row) == kBar && face.at(249, row) == kBack, L"at 0.995 the last pixel is still empty");
        Check(ShowsText(face, 249, L"100%"), L"at 0.995 the text reads 100%");
        Check(TextInk(L"100%").cx != TextInk(L"99%").cx, L"100% and 99% are told apart by their width");
    }
    {
        // 1 of 1000 on 250 pixels fills 0.25 pixel: nothing is copied.
        TestBar bar(250, 20, 0, 1000, 1);
        const Capture face = PrintClient(bar.get());
        Check(face.at(0, 0) == kBack && face.at(0, 19) == kBack, L"a fill under half a pixel shows no fill");
    }
    {
        // 3 of 1000 fills 0.75 pixel: one column.
        TestBar bar(250, 20, 0, 1000, 3);
        const Capture face = PrintClient(bar.get());
        Check(face.at(0, 0) == kBar && face.at(1, 0) == kBack, L"a fill of 0.75 pixel shows one column");
    }
}

void CheckRangeAndProperties() {
    TestBar bar(250, 20, 0, 100, 25);
    ::SendMessageW(bar.get(), PBM_SETRANGE32, 0, 50);
    ::SendMessageW(bar.get(), PBM_SETPOS, 25, 0);
    const Capture face = PrintClient(bar.get());
    const int row = ClearRow(Ink(face, 125), 20);
    Check(face.at(124, row) == kBar && face.at(125, row) == kBack, L"a range changed later is honoured");
    Check(ShowsText(face, 125, L"50%"), L"25 of 0..50 reads 50%");

    auto property = [&](const wchar_t* name) {
        return static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(::GetPropW(bar.get(), name)));
    };
    Check(property(L"BackColor") == kBack && property(L"BarColor") == kBar && property(L"TextColor") == kText &&
              property(L"TextColor2") == kText2,
          L"the colours are the window properties BackColor, BarColor, TextColor, TextColor2");
    const auto oldProc = reinterpret_cast<LONG_PTR>(::GetPropW(bar.get(), L"OldProc"));
    Check(oldProc != 0 && oldProc != ::GetWindowLongPtrW(bar.get(), GWLP_WNDPROC),
          L"OldProc holds the progress bar's own procedure");

    HWND system = ColorProgressBar::Create(Shared().window, 0, 600, 200, 100, 10, 0, 100,
                                           ColorProgressBar::kSystemColor, ColorProgressBar::kSystemColor,
                                           ColorProgressBar::kSystemColor, ColorProgressBar::kSystemColor);
    auto systemProperty = [&](const wchar_t* name) {
        return static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(::GetPropW(system, name)));
    };
    Check(systemProperty(L"TextColor2") == ::GetSysColor(COLOR_WINDOWTEXT) &&
              systemProperty(L"TextColor") == ::GetSysColor(COLOR_HIGHLIGHTTEXT) &&
              systemProperty(L"BarColor") == ::GetSysColor(COLOR_HIGHLIGHT) &&
              systemProperty(L"BackColor") == ::GetSysColor(COLOR_BTNFACE),
          L"the marker 0xFFFF0001 selects the system colours");
    ::DestroyWindow(system);
}

// The real paint path: what the screen shows after a position change.
void CheckScreen() {
    TestBar bar(250, 20, 0, 100, 20, 280, 690);
    ::SendMessageW(bar.get(), PBM_SETPOS, 60, 0);
    const Capture shown = FromScreen(bar.get());
    const int row = ClearRow(Ink(shown, 150), 20);
    Check(shown.at(149, row) == kBar && shown.at(150, row) == kBack,
          L"the screen shows the bar at its new position (60 % = 150 pixels)");
}

}  // namespace

GALLERY_GROUP("progress") {
    CheckEnds();
    CheckHalf();
    CheckRounding();
    CheckRangeAndProperties();
    CheckScreen();
    Screenshot(L"gallery-progress", Shared().window, {270, 0, kGalleryWidth, 165});
}

}  // namespace gallery
