#include "controls/Container.h"

#include "controls/Gdi.h"
#include "win/Window.h"

namespace Container {

namespace {

constexpr wchar_t kClass[] = L"KestavelContainer";

bool IsContainer(HWND window) {
    wchar_t name[32] = {};
    return window && ::GetClassNameW(window, name, 32) && ::lstrcmpW(name, kClass) == 0;
}

LRESULT CALLBACK Proc(HWND container, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            ::GetClientRect(container, &client);
            controls::FillSolid(reinterpret_cast<HDC>(wParam), client, BackColor(container));
            return 1;
        }
        case WM_PRINTCLIENT: {
            RECT client;
            ::GetClientRect(container, &client);
            controls::FillSolid(reinterpret_cast<HDC>(wParam), client, BackColor(container));
            return 0;
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
            // From a child control (track bar, up-down); the container itself does not scroll.
            if (!lParam)
                break;
            [[fallthrough]];
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: {
            HWND top = ::GetAncestor(container, GA_ROOT);
            if (top && top != container)
                return ::SendMessageW(top, message, wParam, lParam);
            break;
        }
    }
    return ::DefWindowProcW(container, message, wParam, lParam);
}

void Register(HINSTANCE instance) {
    win::RegisterPaintedClass(instance, kClass, Proc, sizeof(LONG_PTR));
}

}  // namespace

HWND Create(HWND parent, int x, int y, int width, int height, COLORREF back) {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    Register(instance);
    HWND container = ::CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height,
                                       parent, nullptr, instance, nullptr);
    if (container)
        ::SetWindowLongPtrW(container, 0, static_cast<LONG_PTR>(back));
    return container;
}

COLORREF BackColor(HWND container) {
    return IsContainer(container) ? static_cast<COLORREF>(::GetWindowLongPtrW(container, 0)) : CLR_INVALID;
}

void SetBackColor(HWND container, COLORREF back) {
    if (!IsContainer(container))
        return;
    ::SetWindowLongPtrW(container, 0, static_cast<LONG_PTR>(back));
    ::InvalidateRect(container, nullptr, TRUE);
}

}  // namespace Container
