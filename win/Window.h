#pragma once

#include <windows.h>

namespace win {

// The C++ object behind a window created with that object as its creation parameter: stored at
// WM_NCCREATE, forgotten at WM_NCDESTROY (the object still gets that last message). Null before
// WM_NCCREATE, for the few messages a window receives earlier.
template <class T>
T* WindowObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        void* object = reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    }
    auto* object = reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY)
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return object;
}

// Registers a window class of the program's usual kind (arrow cursor, dialog-coloured background) unless
// it is registered already, as it is from a window's second opening on.
inline bool RegisterWindowClass(HINSTANCE instance,
                                const wchar_t* name,
                                WNDPROC proc,
                                HICON icon = nullptr,
                                HICON smallIcon = nullptr) {
    WNDCLASSEXW type = {};
    type.cbSize = sizeof(type);
    if (::GetClassInfoExW(instance, name, &type))
        return true;
    type.lpfnWndProc = proc;
    type.hInstance = instance;
    type.hIcon = icon;
    type.hIconSm = smallIcon;
    type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    type.lpszClassName = name;
    return ::RegisterClassExW(&type) != 0;
}

// Where a window of this client size and style stands, frame included, centred on the screen the system
// reports.
struct Placement {
    int x;
    int y;
    int width;
    int height;
};
inline Placement CentredPlacement(int clientWidth, int clientHeight, DWORD style, DWORD exStyle = 0) {
    RECT frame = {0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    return {(::GetSystemMetrics(SM_CXSCREEN) - width) / 2, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width,
            height};
}

}  // namespace win
