// Big buttons: the classic faces (normal, hot, pressed, focused, disabled), the themed states chosen for
// each look, and the switch between themed and classic faces at run time.
#include "tests/gallery/Gallery.h"

#include "controls/BigButton.h"
#include "controls/Gdi.h"

#include <cwchar>

namespace gallery {

namespace {

constexpr int kWidth = 190;
constexpr int kHeight = 32;

// A theme library stand-in: it paints each state's face in a colour of its own and counts what it is asked.
namespace fake {
bool active = false;
BOOL partiallyTransparent = FALSE;
int opened = 0, closed = 0, parentBackgrounds = 0;

COLORREF StateColor(int state) {
    return RGB(40 * state, 180, 255 - 40 * state);
}
BOOL WINAPI IsThemeActive() {
    return active;
}
HTHEME WINAPI OpenThemeData(HWND, LPCWSTR className) {
    if (std::wcscmp(className, L"Button") != 0)
        return nullptr;
    ++opened;
    return reinterpret_cast<HTHEME>(static_cast<INT_PTR>(0x5150));
}
BOOL WINAPI IsThemeBackgroundPartiallyTransparent(HTHEME, int, int) {
    return partiallyTransparent;
}
HRESULT WINAPI DrawThemeParentBackground(HWND, HDC, const RECT*) {
    ++parentBackgrounds;
    return S_OK;
}
HRESULT WINAPI DrawThemeBackground(HTHEME, HDC dc, int part, int state, const RECT* area, const RECT*) {
    if (part == 1)
        controls::FillSolid(dc, *area, StateColor(state));
    return S_OK;
}
HRESULT WINAPI CloseThemeData(HTHEME) {
    ++closed;
    return S_OK;
}
}  // namespace fake

ThemeApi& FakeTheme() {
    static ThemeApi api = [] {
        ThemeApi table;
        table.isThemeActive = fake::IsThemeActive;
        table.openThemeData = fake::OpenThemeData;
        table.isThemeBackgroundPartiallyTransparent = fake::IsThemeBackgroundPartiallyTransparent;
        table.drawThemeParentBackground = fake::DrawThemeParentBackground;
        table.drawThemeBackground = fake::DrawThemeBackground;
        table.closeThemeData = fake::CloseThemeData;
        return table;
    }();
    return api;
}

class TestButton {
public:
    TestButton(ThemeApi* theme, int x = 800, int y = 450) {
        window_ = BigButton::Create(Shared().window, 4242, x, y, kWidth, kHeight, L"          DÉTRUIRE TOUT!",
                                    Shared().destroyIcon.get(), BigButton::kIconLeft, theme);
    }
    ~TestButton() { ::DestroyWindow(window_); }
    TestButton(const TestButton&) = delete;
    TestButton& operator=(const TestButton&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

void PointerOn(HWND window) {
    RECT place;
    ::GetWindowRect(window, &place);
    ::SetCursorPos((place.left + place.right) / 2, (place.top + place.bottom) / 2);
}

void PointerAway() {
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
}

// The themed state a fake-themed button shows, read from its face; 0 for a classic face.
int ThemedState(HWND button) {
    const COLORREF color = PrintClient(button).at(kWidth - 3, 3);
    for (int state = 1; state <= 5; ++state) {
        if (color == fake::StateColor(state))
            return state;
    }
    return 0;
}

bool Grey(COLORREF color) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    return Between(color, face, light) || Between(color, face, shadow) || Between(color, light, shadow);
}

void CheckClassicLooks() {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF frame = ::GetSysColor(COLOR_WINDOWFRAME);
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    const int w = kWidth, h = kHeight;
    TestButton button(&Shared().noTheme);
    const RECT iconArea = {10, 5, 34, 29};
    const RECT captionArea = {44, 3, w - 4, h - 4};

    const Capture normal = PrintClient(button.get());
    Check(normal.at(w / 2, 0) == light && normal.at(0, h / 2) == light, L"normal: light top and left edges");
    Check(normal.at(w / 2, h - 1) == frame && normal.at(w - 1, h / 2) == frame, L"normal: dark bottom and right edges");
    Check(normal.at(w / 2, h - 2) == shadow && normal.at(w - 2, h / 2) == shadow,
          L"normal: shadow inside the bottom and right edges");
    Check(normal.at(w - 3, 3) == face, L"normal: button face inside");
    Check(normal.all({4, 4, w - 4, 5}, [&](COLORREF c) { return c == face; }), L"normal: no focus rectangle");
    Check(normal.any(iconArea, [](COLORREF c) { return !Grey(c); }), L"normal: the icon is in colour");
    Check(normal.any(captionArea, [&](COLORREF c) { return c == text; }), L"normal: the caption is in text colour");

    // Without visual styles the hot look is the normal look.
    ::SendMessageW(button.get(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    const Capture hot = PrintClient(button.get());
    Check(hot.raw() == normal.raw(), L"hot without visual styles looks normal");
    ::SendMessageW(button.get(), WM_MOUSELEAVE, 0, 0);

    ::SendMessageW(button.get(), BM_SETSTATE, TRUE, 0);
    const Capture pressed = PrintClient(button.get());
    ::SendMessageW(button.get(), BM_SETSTATE, FALSE, 0);
    Check(pressed.at(w / 2, 0) == frame && pressed.at(0, h / 2) == frame && pressed.at(w / 2, h - 1) == frame &&
              pressed.at(w - 1, h / 2) == frame,
          L"pressed: dark outer frame");
    Check(pressed.at(w / 2, 1) == shadow && pressed.at(1, h / 2) == shadow && pressed.at(w / 2, h - 2) == shadow &&
              pressed.at(w - 2, h / 2) == shadow,
          L"pressed: shadow frame inside it");
    Check(pressed.any({5, 4, w - 5, 5}, [&](COLORREF c) { return c != face; }), L"pressed: focus rectangle");
    bool moved = true;
    for (int y = 6; y < h - 8; ++y)
        for (int x = 6; x < w - 8; ++x)
            moved = moved && pressed.at(x + 1, y + 1) == normal.at(x, y);
    Check(moved, L"pressed: icon and caption move one pixel right and down");

    ::SetFocus(button.get());
    const Capture focused = PrintClient(button.get());
    Check(focused.at(w - 1, h / 2) == frame && focused.at(w - 2, h / 2) == frame && focused.at(w / 2, h - 1) == frame &&
              focused.at(w / 2, h - 2) == frame,
          L"focused: doubled dark bottom and right edges");
    Check(focused.at(w / 2, 1) == light && focused.at(1, h / 2) == light && focused.at(w - 3, h / 2) == shadow &&
              focused.at(w / 2, h - 3) == shadow,
          L"focused: light and shadow inside");
    Check(focused.any({5, 4, w - 5, 5}, [&](COLORREF c) { return c != face; }), L"focused: focus rectangle");
    ::SetFocus(Shared().window);

    ::EnableWindow(button.get(), FALSE);
    const Capture disabled = PrintClient(button.get());
    Check(disabled.at(w / 2, 0) == light && disabled.at(w - 1, h / 2) == frame && disabled.at(w - 2, h / 2) == shadow,
          L"disabled: the normal frame");
    Check(disabled.all(iconArea, Grey) && disabled.any(iconArea, [&](COLORREF c) { return c != face; }),
          L"disabled: the icon is greyed");
    Check(disabled.all(captionArea, Grey), L"disabled: the caption has no text colour");
    Check(disabled.any(captionArea, [&](COLORREF c) { return c == light; }) &&
              disabled.any(captionArea, [&](COLORREF c) { return c == shadow; }),
          L"disabled: the caption is embossed, light under shadow");
}

void CheckThemedStates() {
    ThemeApi& theme = FakeTheme();
    fake::active = true;
    theme.refreshActive();
    TestButton button(&theme);
    Pump();
    Check(ThemedState(button.get()) == 1, L"themed: normal state");

    PointerOn(button.get());
    Check(PumpUntil([&] { return ThemedState(button.get()) == 2; }), L"themed: the pointer on the button gives hot");
    ::EnableWindow(button.get(), FALSE);
    Check(ThemedState(button.get()) == 4, L"themed: disabled under the pointer stays disabled");
    ::EnableWindow(button.get(), TRUE);
    PointerAway();
    Check(PumpUntil([&] { return ThemedState(button.get()) == 1; }), L"themed: leaving the button gives normal");

    ::SetFocus(button.get());
    Check(ThemedState(button.get()) == 5, L"themed: focused without the pointer is defaulted");
    PointerOn(button.get());
    Check(PumpUntil([&] { return ThemedState(button.get()) == 2; }), L"themed: focused under the pointer is hot");
    PointerAway();
    Check(PumpUntil([&] { return ThemedState(button.get()) == 5; }), L"themed: focused after leaving is defaulted");
    ::SetFocus(Shared().window);

    ::SendMessageW(button.get(), BM_SETSTATE, TRUE, 0);
    Check(ThemedState(button.get()) == 3, L"themed: pressed state");
    ::SendMessageW(button.get(), BM_SETSTATE, FALSE, 0);

    fake::partiallyTransparent = TRUE;
    const int before = fake::parentBackgrounds;
    ThemedState(button.get());
    Check(fake::parentBackgrounds == before + 1, L"themed: a partly transparent face gets the parent's background");
    fake::partiallyTransparent = FALSE;
    Pump();
    Check(fake::opened == fake::closed, L"themed: every theme handle opened is closed");
}

// Switching visual styles on and off while the program runs changes every button's face.
void CheckThemeSwitch() {
    ThemeApi& theme = FakeTheme();
    fake::active = false;
    theme.refreshActive();
    TestButton first(&theme, 800, 450);
    TestButton second(&theme, 800, 490);
    Check(ThemedState(first.get()) == 0 && ThemedState(second.get()) == 0, L"visual styles off: classic faces");
    fake::active = true;
    ::SendMessageW(first.get(), WM_THEMECHANGED, 0, 0);
    Check(ThemedState(first.get()) == 1 && ThemedState(second.get()) == 1,
          L"after a theme change every button has the themed face");
    fake::active = false;
    ::SendMessageW(second.get(), WM_SYSCOLORCHANGE, 0, 0);
    Check(ThemedState(first.get()) == 0 && ThemedState(second.get()) == 0,
          L"after visual styles are switched off every button is classic again");
}

void CheckContract() {
    TestButton button(&Shared().noTheme);
    Check(::GetPropW(button.get(), L"BIGEPROPERTIES") != nullptr, L"the button carries BIGEPROPERTIES");
    Shared().commands.clear();
    ::SendMessageW(button.get(), BM_CLICK, 0, 0);
    Pump();
    Check(Shared().commands.size() == 1 && Shared().commands[0] == MAKEWPARAM(4242, BN_CLICKED),
          L"a click arrives as an ordinary button click");

    HWND plain = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_OWNERDRAW, 0, 0, 10, 10, Shared().window, nullptr,
                                   nullptr, nullptr);
    controls::Offscreen picture(10, 10);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = plain;
    item.hDC = picture.dc();
    item.rcItem = {0, 0, 10, 10};
    Check(!BigButton::Draw(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)),
          L"an owner-drawn button that is not a big button is left to its parent");
    ::DestroyWindow(plain);
}

}  // namespace

GALLERY_GROUP("buttons") {
    PointerAway();
    CheckClassicLooks();
    CheckThemedStates();
    CheckThemeSwitch();
    CheckContract();
    Screenshot(L"gallery-buttons", Shared().window, {270, 165, 880, 325});
}

}  // namespace gallery
