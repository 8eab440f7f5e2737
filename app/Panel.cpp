#include "app/Panel.h"

namespace Panel {

namespace {

constexpr wchar_t kClassName[] = L"KestavelPanel";
constexpr int kBackSlot = 0;
constexpr int kBrushSlot = sizeof(LONG_PTR);

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CONTEXTMENU:
            return ::SendMessageW(::GetAncestor(window, GA_ROOT), message, wParam, lParam);
        case WM_ERASEBKGND: {
            RECT client;
            ::GetClientRect(window, &client);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client,
                       reinterpret_cast<HBRUSH>(::GetWindowLongPtrW(window, kBrushSlot)));
            return 1;
        }
        case WM_NCDESTROY:
            ::DeleteObject(reinterpret_cast<HBRUSH>(::GetWindowLongPtrW(window, kBrushSlot)));
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND Create(HWND parent, int id, int x, int y, int width, int height, COLORREF back, bool clipChildren) {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    WNDCLASSEXW type = {};
    type.cbSize = sizeof(type);
    if (!::GetClassInfoExW(instance, kClassName, &type)) {
        type.lpfnWndProc = Proc;
        type.cbWndExtra = 2 * sizeof(LONG_PTR);
        type.hInstance = instance;
        type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        type.lpszClassName = kClassName;
        ::RegisterClassExW(&type);
    }
    HWND panel = ::CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"",
                                   WS_CHILD | WS_VISIBLE | (clipChildren ? WS_CLIPCHILDREN : 0), x, y, width, height,
                                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (panel)
        SetBackColor(panel, back);
    return panel;
}

void SetBackColor(HWND panel, COLORREF back) {
    ::SetWindowLongPtrW(panel, kBackSlot, static_cast<LONG_PTR>(back));
    HBRUSH old = reinterpret_cast<HBRUSH>(
        ::SetWindowLongPtrW(panel, kBrushSlot, reinterpret_cast<LONG_PTR>(::CreateSolidBrush(back))));
    if (old)
        ::DeleteObject(old);
    ::InvalidateRect(panel, nullptr, TRUE);
}

COLORREF BackColor(HWND panel) {
    return static_cast<COLORREF>(::GetWindowLongPtrW(panel, kBackSlot));
}

}  // namespace Panel
