#include "app/RoomPlaces.h"

#include "win/Handle.h"

#include <algorithm>
#include <string>

void RoomPlaces::add(HWND control, const RECT& place, std::optional<FontRole> font, Fit fit) {
    if (control)
        placed_.push_back({control, place, font, fit});
}

void RoomPlaces::place(const win::Scale& scale, const Fonts& fonts) const {
    // The box of a check box or option button, and the gap between it and the text.
    const int boxExtra = win::MetricFor(SM_CXMENUCHECK, scale.dpi()) + scale(6);
    for (const Placed& each : placed_) {
        if (each.font)
            ::SendMessageW(each.control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.get(*each.font, scale.dpi())),
                           FALSE);
        const RECT place = scale(each.place);
        int width = place.right - place.left;
        if (each.fit != Fit::None)
            width = std::max(width, TextWidth(each.control) + (each.fit == Fit::Box ? boxExtra : 0));
        ::SetWindowPos(each.control, nullptr, place.left, place.top, width, place.bottom - place.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::InvalidateRect(each.control, nullptr, TRUE);
    }
}

int TextWidth(HWND window, HFONT font, const wchar_t* text) {
    win::WindowDc dc(window);
    win::SelectGuard select(dc.get(), font);
    SIZE size = {};
    ::GetTextExtentPoint32W(dc.get(), text, lstrlenW(text), &size);
    return size.cx;
}

int TextWidth(HWND control) {
    const int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(control, text.data(), length + 1);
    return TextWidth(control, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), text.c_str());
}

void AllowClientArea(HWND window, SIZE client, MINMAXINFO* limits) {
    RECT frame;
    RECT inside;
    if (!::GetWindowRect(window, &frame) || !::GetClientRect(window, &inside))
        return;
    limits->ptMaxTrackSize.x =
        std::max<LONG>(limits->ptMaxTrackSize.x, frame.right - frame.left - inside.right + client.cx);
    limits->ptMaxTrackSize.y =
        std::max<LONG>(limits->ptMaxTrackSize.y, frame.bottom - frame.top - inside.bottom + client.cy);
}

void FitClientArea(HWND window, SIZE client, const RECT* suggested) {
    if (suggested)
        ::SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame as the window now has it, at its new scale.
    RECT frame;
    RECT inside;
    ::GetWindowRect(window, &frame);
    ::GetClientRect(window, &inside);
    const int width = frame.right - frame.left + client.cx - inside.right;
    const int height = frame.bottom - frame.top + client.cy - inside.bottom;
    ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceControl(HWND control, const RECT& place) {
    ::SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetControlFont(HWND control, HFONT font) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}
