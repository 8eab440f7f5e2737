#include "controls/PictureBox.h"

#include "controls/Accessible.h"
#include "controls/ControlObjects.h"
#include "win/Handle.h"
#include "win/Window.h"

namespace PictureBox {

namespace {

constexpr wchar_t kClassName[] = L"KestavelPictureBox";

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETOBJECT:
            if (controls::AsksForClient(lParam))
                return controls::AnswerPicture(window, wParam, false);
            break;
        case WM_SETTEXT: {
            const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
            controls::NotifyNameChange(window);
            return result;
        }
        case WM_ERASEBKGND:
            return 1;  // the picture covers the whole box: no flicker
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            RECT client;
            ::GetClientRect(window, &client);
            auto picture = reinterpret_cast<HBITMAP>(::GetWindowLongPtrW(window, 0));
            BITMAP info = {};
            if (picture && ::GetObjectW(picture, sizeof(info), &info)) {
                win::UniqueMemoryDc source(::CreateCompatibleDC(dc));
                win::SelectGuard select(source.get(), picture);
                ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
                ::ExcludeClipRect(dc, 0, 0, info.bmWidth, info.bmHeight);
            }
            ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
            ::EndPaint(window, &paint);
            return 0;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void Register(HINSTANCE instance) {
    win::RegisterPaintedClass(instance, kClassName, Proc, sizeof(LONG_PTR));
}

}  // namespace

HWND Create(HWND parent, int x, int y, int width, int height, HBITMAP picture, const wchar_t* text) {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    Register(instance);
    HWND box = ::CreateWindowExW(0, kClassName, text, WS_CHILD | WS_VISIBLE, x, y, width, height, parent, nullptr,
                                 instance, nullptr);
    SetPicture(box, picture);
    return box;
}

void SetPicture(HWND box, HBITMAP picture) {
    ::SetWindowLongPtrW(box, 0, reinterpret_cast<LONG_PTR>(picture));
    ::InvalidateRect(box, nullptr, FALSE);
}

}  // namespace PictureBox
