#include "tests/gallery/Gallery.h"

#include "controls/Gdi.h"
#include "win/Handle.h"
#include "win/Strings.h"

#include <cmath>
#include <cstdio>

namespace gallery {

namespace {
int failures = 0;
}

Resources& Shared() {
    static Resources resources;
    return resources;
}

void Log(const std::wstring& line) {
    const std::string bytes = win::ToUtf8(line) + "\n";
    std::fputs(bytes.c_str(), stdout);
    std::fflush(stdout);
}

void Check(bool condition, const std::wstring& what) {
    if (condition)
        return;
    ++failures;
    Log(L"FAILED: " + what);
}

int FailureCount() {
    return failures;
}

void Pump() {
    // Painting is generated only when the queue is otherwise empty, so loop until nothing is left.
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

bool PumpUntil(bool (*condition)(const void*), const void* context, DWORD boundMs) {
    const ULONGLONG end = ::GetTickCount64() + boundMs;
    for (;;) {
        Pump();
        if (condition(context))
            return true;
        if (::GetTickCount64() >= end)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

COLORREF Capture::at(int x, int y) const {
    if (!inside(x, y))
        return CLR_INVALID;
    const DWORD pixel = pixels_[y * width_ + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

RECT Capture::boundsNot(COLORREF background, RECT area) const {
    RECT bounds = {area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (at(x, y) == background)
                continue;
            bounds.left = std::min<LONG>(bounds.left, x);
            bounds.top = std::min<LONG>(bounds.top, y);
            bounds.right = std::max<LONG>(bounds.right, x + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
        }
    }
    if (bounds.left >= bounds.right)
        return {0, 0, 0, 0};
    return bounds;
}

namespace {

Capture Read(const controls::Offscreen& picture, int width, int height) {
    ::GdiFlush();
    Capture capture(width, height);
    const auto* bits = static_cast<const DWORD*>(picture.bits());
    for (int i = 0; i < width * height; ++i)
        capture.raw()[i] = bits[i] & 0xFFFFFF;
    return capture;
}

SIZE ClientSize(HWND window) {
    RECT client = {};
    ::GetClientRect(window, &client);
    return {client.right, client.bottom};
}

}  // namespace

Capture PrintClient(HWND window) {
    const SIZE size = ClientSize(window);
    controls::Offscreen picture(size.cx, size.cy, 32);
    // A colour no control uses, so that a forgotten pixel shows.
    controls::FillSolid(picture.dc(), 0, 0, size.cx, size.cy, RGB(255, 0, 255));
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.dc()), PRF_CLIENT);
    return Read(picture, size.cx, size.cy);
}

Capture FromScreen(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    const SIZE size = ClientSize(window);
    controls::Offscreen picture(size.cx, size.cy, 32);
    win::WindowDc source(window);
    ::BitBlt(picture.dc(), 0, 0, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
    return Read(picture, size.cx, size.cy);
}

bool Between(COLORREF color, COLORREF a, COLORREF b) {
    const double c[3] = {double(GetRValue(color)), double(GetGValue(color)), double(GetBValue(color))};
    const double p[3] = {double(GetRValue(a)), double(GetGValue(a)), double(GetBValue(a))};
    const double q[3] = {double(GetRValue(b)), double(GetGValue(b)), double(GetBValue(b))};
    double along = 0, length = 0;
    for (int i = 0; i < 3; ++i) {
        along += (c[i] - p[i]) * (q[i] - p[i]);
        length += (q[i] - p[i]) * (q[i] - p[i]);
    }
    double t = length > 0 ? along / length : 0;
    t = std::max(0.0, std::min(1.0, t));
    double distance = 0;
    for (int i = 0; i < 3; ++i) {
        const double d = c[i] - (p[i] + t * (q[i] - p[i]));
        distance += d * d;
    }
    return std::sqrt(distance) <= 6.0;
}

std::wstring ColorText(COLORREF color) {
    wchar_t text[32];
    std::swprintf(text, 32, L"RGB(%u, %u, %u)", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

namespace {

void SaveScreenArea(const std::wstring& name, RECT area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    ::RedrawWindow(nullptr, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();

    win::WindowDc screen(nullptr);
    controls::Offscreen picture(width, height, 24);
    ::BitBlt(picture.dc(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    ::GdiFlush();
    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + stride * height;
    const std::wstring path = L"C:\\screenshots\\" + name + L".bmp";
    win::UniqueFile out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!out) {
        Check(false, L"cannot write " + path);
        return;
    }
    DWORD written = 0;
    ::WriteFile(out.get(), &file, sizeof(file), &written, nullptr);
    ::WriteFile(out.get(), &header, sizeof(header), &written, nullptr);
    // The picture is top-down; BMP files store the bottom row first.
    const auto* rows = static_cast<const BYTE*>(picture.bits());
    for (int y = height - 1; y >= 0; --y)
        ::WriteFile(out.get(), rows + y * stride, stride, &written, nullptr);
    Log(L"screenshot " + name);
}

}  // namespace

void Screenshot(const std::wstring& name, HWND window) {
    RECT area = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (window)
        ::GetWindowRect(window, &area);
    SaveScreenArea(name, area);
}

void Screenshot(const std::wstring& name, HWND window, RECT clientArea) {
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&clientArea), 2);
    SaveScreenArea(name, clientArea);
}

std::vector<Group>& Groups() {
    static std::vector<Group> all;
    return all;
}

}  // namespace gallery
