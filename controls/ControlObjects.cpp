#include "controls/ControlObjects.h"

#include "controls/Accessible.h"

#include <commctrl.h>

#include <cmath>
#include <string>

namespace controls {

namespace {

// The percentage last told, offset so that no percentage is stored as zero (the value of no property), kept
// on the bar until ForgetProgress.
constexpr wchar_t kToldPercent[] = L"AccessiblePercent";
constexpr long kToldOffset = 0x10000;

class ButtonObject : public Accessible {
public:
    explicit ButtonObject(HWND button) : Accessible(button) {}

private:
    bool Describe(long, AccessibleInfo& info) const override {
        HWND button = window();
        info.role = ROLE_SYSTEM_PUSHBUTTON;
        info.name = WindowName(button);
        info.state = WindowStates(button, true);
        const LRESULT look = ::SendMessageW(button, BM_GETSTATE, 0, 0);
        if (look & BST_PUSHED)
            info.state |= STATE_SYSTEM_PRESSED;
        if (look & BST_HOT)
            info.state |= STATE_SYSTEM_HOTTRACKED;
        info.screen = ScreenRect(button);
        info.action = kActionPress;
        return true;
    }

    // What Enter on the focused button does, posted: the command may open a box that waits for the user.
    HRESULT DoAction(long) override {
        HWND button = window();
        const WPARAM command = MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED);
        return ::PostMessageW(::GetParent(button), WM_COMMAND, command, reinterpret_cast<LPARAM>(button))
                   ? S_OK
                   : HRESULT_FROM_WIN32(::GetLastError());
    }
};

// The percentage the bar writes on itself.
long Percent(HWND bar) {
    const int position = static_cast<int>(::SendMessageW(bar, PBM_GETPOS, 0, 0));
    PBRANGE range = {};
    ::SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const double ratio =
        range.iHigh > range.iLow ? static_cast<double>(position - range.iLow) / (range.iHigh - range.iLow) : 0.0;
    return std::lround(ratio * 100.0);
}

class ProgressObject : public Accessible {
public:
    explicit ProgressObject(HWND bar) : Accessible(bar) {}

private:
    bool Describe(long, AccessibleInfo& info) const override {
        HWND bar = window();
        info.role = ROLE_SYSTEM_PROGRESSBAR;
        info.name = WindowName(bar);
        info.value = std::to_wstring(Percent(bar)) + L"%";
        info.state = WindowStates(bar, false) | STATE_SYSTEM_READONLY;
        info.screen = ScreenRect(bar);
        return true;
    }
};

class PictureObject : public Accessible {
public:
    PictureObject(HWND picture, bool animated) : Accessible(picture), animated_(animated) {}

private:
    bool Describe(long, AccessibleInfo& info) const override {
        HWND picture = window();
        info.role = ROLE_SYSTEM_GRAPHIC;
        info.name = WindowName(picture);
        info.state = WindowStates(picture, false) | STATE_SYSTEM_READONLY | (animated_ ? STATE_SYSTEM_ANIMATED : 0);
        info.screen = ScreenRect(picture);
        return true;
    }

    bool animated_;
};

}  // namespace

LRESULT AnswerButton(HWND button, WPARAM wParam) {
    return AnswerGetObject(MakeAccessible<ButtonObject>(button), wParam);
}

LRESULT AnswerProgress(HWND bar, WPARAM wParam) {
    return AnswerGetObject(MakeAccessible<ProgressObject>(bar), wParam);
}

void ProgressChanged(HWND bar) {
    const auto told = reinterpret_cast<UINT_PTR>(::GetPropW(bar, kToldPercent));
    const auto now = static_cast<UINT_PTR>(Percent(bar) + kToldOffset);
    if (told == now)
        return;
    // Without the property every change is told, which costs an event and nothing else.
    ::SetPropW(bar, kToldPercent, reinterpret_cast<HANDLE>(now));
    NotifyValueChange(bar);
}

void ForgetProgress(HWND bar) {
    ::RemovePropW(bar, kToldPercent);
}

LRESULT AnswerPicture(HWND picture, WPARAM wParam, bool animated) {
    return AnswerGetObject(MakeAccessible<PictureObject>(picture, animated), wParam);
}

}  // namespace controls
