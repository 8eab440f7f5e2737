#include "controls/PlainTip.h"

#include "controls/TipWidth.h"

#include <commctrl.h>

namespace PlainTip {

HWND Create(HWND owner) {
    HWND tips = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                                  0, owner, nullptr, nullptr, nullptr);
    KeepTipTextWhole(tips);
    return tips;
}

void AddTool(HWND tips, HWND control, const std::wstring& text) {
    if (!tips || !control)
        return;
    // The version 2 size is understood by every comctl32 from Windows XP on.
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace PlainTip
