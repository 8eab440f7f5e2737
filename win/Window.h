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

// Registers the class unless it is registered already, as it is from a window's second opening on.
inline bool RegisterClassOnce(const WNDCLASSEXW& type) {
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(type.hInstance, type.lpszClassName, &existing))
        return true;
    return ::RegisterClassExW(&type) != 0;
}

// A window class of the program's usual kind: arrow cursor, dialog-coloured background.
inline bool RegisterWindowClass(HINSTANCE instance,
                                const wchar_t* name,
                                WNDPROC proc,
                                HICON icon = nullptr,
                                HICON smallIcon = nullptr) {
    WNDCLASSEXW type = {};
    type.cbSize = sizeof(type);
    type.lpfnWndProc = proc;
    type.hInstance = instance;
    type.hIcon = icon;
    type.hIconSm = smallIcon;
    type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    type.lpszClassName = name;
    return RegisterClassOnce(type);
}

// The class of a control that paints its whole surface itself (no background brush, arrow cursor), with
// extraBytes of window memory.
inline bool RegisterPaintedClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, int extraBytes = 0) {
    WNDCLASSEXW type = {};
    type.cbSize = sizeof(type);
    type.lpfnWndProc = proc;
    type.cbWndExtra = extraBytes;
    type.hInstance = instance;
    type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    type.lpszClassName = name;
    return RegisterClassOnce(type);
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
