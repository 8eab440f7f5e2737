// Balloon tooltips: one ownerless balloon per control, 200 pixels wide at most, titled or not.
#include "tests/gallery/Gallery.h"

#include "controls/BalloonTip.h"

#include <commctrl.h>

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
