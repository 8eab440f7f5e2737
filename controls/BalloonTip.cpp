#include "controls/BalloonTip.h"

#include "controls/TipWidth.h"
#include "win/Dpi.h"

#include <commctrl.h>

namespace {

// Long texts wrap at this width (at 96 DPI, and as much more as the control's scale) instead of widening
// the balloon.
constexpr int kMaxWidth = 200;

}  // namespace

void ScaleBalloonTip(HWND tip, UINT dpi) {
    ::SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, win::Scale(dpi)(kMaxWidth));
}

HWND AttachBalloonTip(HWND parent, HWND control, const std::wstring& title, const std::wstring& text, HICON titleIcon) {
    HWND tip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_BALLOON | TTS_NOPREFIX, 0, 0, 0, 0, parent,
                                 nullptr, nullptr, nullptr);
    if (!tip)
        return nullptr;
    ::SendMessageW(tip, TTM_SETTIPTEXTCOLOR, ::GetSysColor(COLOR_INFOTEXT), 0);
    ::SendMessageW(tip, TTM_SETTIPBKCOLOR, ::GetSysColor(COLOR_INFOBK), 0);
    ScaleBalloonTip(tip, win::DpiOf(control));
    KeepTipTextWhole(tip);

    // The version 2 size is understood by every comctl32 from Windows XP on; the full structure of the
    // Windows 7 headers is refused by the older ones.
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = control;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));

    if (!title.empty())
        ::SendMessageW(tip, TTM_SETTITLEW, reinterpret_cast<WPARAM>(titleIcon),
                       reinterpret_cast<LPARAM>(title.c_str()));
    return tip;
}
