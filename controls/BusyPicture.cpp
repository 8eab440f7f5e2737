#include "controls/BusyPicture.h"

#include "controls/Accessible.h"
#include "controls/ControlObjects.h"
#include "controls/Gdi.h"
#include "win/Handle.h"
#include "win/Window.h"

namespace BusyPicture {

namespace {

constexpr wchar_t kClassName[] = L"KestavelBusyPicture";
constexpr UINT_PTR kFrameTimer = 1;

// Window extra bytes.
enum Slot : int { kStrip = 0, kBack = 1, kFrame = 2, kAnimating = 3, kSlots = 4 };

LONG_PTR Get(HWND window, Slot slot) {
    return ::GetWindowLongPtrW(window, slot * static_cast<int>(sizeof(LONG_PTR)));
}
void Set(HWND window, Slot slot, LONG_PTR value) {
    ::SetWindowLongPtrW(window, slot * static_cast<int>(sizeof(LONG_PTR)), value);
}

int FrameCount(HBITMAP strip) {
    BITMAP info = {};
    if (!strip || !::GetObjectW(strip, sizeof(info), &info) || info.bmHeight <= 0)
        return 0;
    return info.bmWidth / info.bmHeight;
}

void Paint(HWND window, HDC dc) {
    RECT client;
    ::GetClientRect(window, &client);
    controls::FillSolid(dc, client, static_cast<COLORREF>(Get(window, kBack)));
    auto strip = reinterpret_cast<HBITMAP>(Get(window, kStrip));
    BITMAP info = {};
    if (!strip || !::GetObjectW(strip, sizeof(info), &info))
        return;
    const int size = info.bmHeight;
    const int frame = static_cast<int>(Get(window, kFrame));
    win::UniqueMemoryDc source(::CreateCompatibleDC(dc));
    win::SelectGuard select(source.get(), strip);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(dc, 0, 0, size, size, source.get(), frame * size, 0, size, size, blend);
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETOBJECT:
            if (controls::AsksForClient(lParam))
                return controls::AnswerPicture(window, wParam, Get(window, kAnimating) != 0);
            break;
        case WM_SETTEXT: {
            const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
            controls::NotifyNameChange(window);
            return result;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            controls::PaintScope paint(window);
            Paint(window, paint.dc());
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(window, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kFrameTimer) {
                const int frames = FrameCount(reinterpret_cast<HBITMAP>(Get(window, kStrip)));
                if (frames > 1) {
                    Set(window, kFrame, (Get(window, kFrame) + 1) % frames);
                    ::InvalidateRect(window, nullptr, FALSE);
                }
                return 0;
            }
            break;
        case WM_DESTROY:
            ::KillTimer(window, kFrameTimer);
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void Register(HINSTANCE instance) {
    win::RegisterPaintedClass(instance, kClassName, Proc, kSlots * sizeof(LONG_PTR));
}

}  // namespace

HWND Create(HWND parent, int id, const RECT& place, HBITMAP strip, COLORREF back, const wchar_t* text) {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    Register(instance);
    HWND picture = ::CreateWindowExW(0, kClassName, text, WS_CHILD | WS_VISIBLE, place.left, place.top,
                                     place.right - place.left, place.bottom - place.top, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (picture) {
        Set(picture, kBack, static_cast<LONG_PTR>(back));
        Set(picture, kStrip, reinterpret_cast<LONG_PTR>(strip));
    }
    return picture;
}

void SetPicture(HWND picture, HBITMAP strip, const wchar_t* text) {
    Set(picture, kStrip, reinterpret_cast<LONG_PTR>(strip));
    Set(picture, kFrame, 0);
    ::SetWindowTextW(picture, text);
    ::InvalidateRect(picture, nullptr, FALSE);
}

void SetBusy(HWND picture, bool on, UINT frameMs) {
    if (on == (Get(picture, kAnimating) != 0))
        return;
    Set(picture, kAnimating, on);
    if (on) {
        Set(picture, kFrame, 0);
        ::SetTimer(picture, kFrameTimer, frameMs, nullptr);
        ::ShowWindow(picture, SW_SHOWNA);
    } else {
        ::KillTimer(picture, kFrameTimer);
        ::ShowWindow(picture, SW_HIDE);
    }
}

}  // namespace BusyPicture
