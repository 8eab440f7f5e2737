#pragma once

// Small drawing helpers shared by the custom controls: a paint scope, an off-screen picture and solid fills
// and lines through the device context's own pen and brush (no GDI object to create or free).

#include "win/Handle.h"

#include <windows.h>

namespace controls {

// BeginPaint / EndPaint for the scope.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }
    const RECT& area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC dc_ = nullptr;
};

// A memory device context drawing into a DIB section of its own. The DC is declared after the bitmap so
// that it is deleted first, while the bitmap is still selected into it.
class Offscreen {
public:
    Offscreen(int width, int height, int bitsPerPixel = 24) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width > 0 ? width : 1;
        info.bmiHeader.biHeight = -(height > 0 ? height : 1);  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        dc_.reset(::CreateCompatibleDC(nullptr));
        if (bitmap_ && dc_)
            ::SelectObject(dc_.get(), bitmap_.get());
    }
    Offscreen(const Offscreen&) = delete;
    Offscreen& operator=(const Offscreen&) = delete;

    explicit operator bool() const { return bitmap_ && dc_; }
    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }
    void* bits() const { return bits_; }

private:
    win::UniqueBitmap bitmap_;
    win::UniqueMemoryDc dc_;
    void* bits_ = nullptr;
};

// Fills [left, right) x [top, bottom) with a colour.
inline void FillSolid(HDC dc, const RECT& area, COLORREF color) {
    const COLORREF old = ::SetDCBrushColor(dc, color);
    ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::SetDCBrushColor(dc, old);
}

inline void FillSolid(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
    const RECT area = {left, top, right, bottom};
    FillSolid(dc, area, color);
}

// A one-pixel line from (x1, y1) to (x2, y2), the end point excluded as LineTo does.
inline void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color) {
    win::SelectGuard pen(dc, ::GetStockObject(DC_PEN));
    const COLORREF old = ::SetDCPenColor(dc, color);
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
    ::SetDCPenColor(dc, old);
}

}  // namespace controls
