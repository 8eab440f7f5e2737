#pragma once

#include <windows.h>

// Screen scale. The layout tables give every place in pixels at 96 DPI (100 %); a window turns them into its
// own pixels with the Scale of its monitor, so that at 96 DPI every place is exactly the table's.
namespace win {

inline constexpr UINT kBaseDpi = 96;

class Scale {
public:
    constexpr Scale() = default;
    explicit constexpr Scale(UINT dpi) : dpi_(dpi ? dpi : kBaseDpi) {}

    constexpr UINT dpi() const { return dpi_; }
    // A length: rounded to the nearest pixel, so that 1 stays at least 1 from 100 % up.
    constexpr int operator()(int pixels) const {
        const long long scaled = static_cast<long long>(pixels) * dpi_;
        return static_cast<int>(scaled >= 0 ? (scaled + kBaseDpi / 2) / kBaseDpi
                                            : -((-scaled + kBaseDpi / 2) / kBaseDpi));
    }
    // A place: each edge scaled on its own, so that places that touch at 96 DPI still touch.
    constexpr RECT operator()(const RECT& place) const {
        return {(*this)(place.left), (*this)(place.top), (*this)(place.right), (*this)(place.bottom)};
    }
    constexpr SIZE operator()(const SIZE& size) const { return {(*this)(size.cx), (*this)(size.cy)}; }
    constexpr POINT operator()(const POINT& point) const { return {(*this)(point.x), (*this)(point.y)}; }

private:
    UINT dpi_ = kBaseDpi;
};

// The scale the program runs at: per monitor where the system knows it (Windows 10 1703 and later), the
// system's otherwise (Vista to 8), unaware on XP. Asked once at start-up, before the first window; a
// refusal (the process is already aware, as under Wine, or the level is unknown) is quietly accepted.
void DeclareDpiAwareness();

// The DPI of the monitor a window is on (GetDpiForWindow where it exists), the system's otherwise.
UINT DpiOf(HWND window);
// The system's DPI: the screen's LOGPIXELSX.
UINT SystemDpi();
// A system metric at a DPI (GetSystemMetricsForDpi where it exists, the system's value scaled otherwise).
int MetricFor(int index, UINT dpi);
// The system's icon-title font (the list and tree views' own) as Windows gives it at a DPI
// (SystemParametersInfoForDpi where it exists, the system's scaled otherwise).
LOGFONTW IconTitleFont(UINT dpi);
// The window rectangle around a client rectangle, its frame and caption at a DPI (AdjustWindowRectExForDpi
// where it exists, the system's metrics otherwise).
RECT FrameFor(RECT client, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace win
