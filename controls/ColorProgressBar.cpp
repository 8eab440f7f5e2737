#include "controls/ColorProgressBar.h"

#include "controls/Accessible.h"
#include "controls/ControlObjects.h"
#include "controls/Gdi.h"

#include <commctrl.h>

#include <cmath>
#include <string>

namespace ColorProgressBar {

namespace {

constexpr wchar_t kBackColor[] = L"BackColor";
constexpr wchar_t kBarColor[] = L"BarColor";
constexpr wchar_t kTextColor[] = L"TextColor";
constexpr wchar_t kTextColor2[] = L"TextColor2";
constexpr wchar_t kOldProc[] = L"OldProc";
constexpr wchar_t kFont[] = L"Font";  // the percentage's, given by WM_SETFONT

COLORREF ColorProperty(HWND bar, const wchar_t* name) {
    return static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(::GetPropW(bar, name)));
}

void SetColorProperty(HWND bar, const wchar_t* name, COLORREF color) {
    ::SetPropW(bar, name, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(color)));
}

COLORREF OrSystemColor(COLORREF color, int systemColor) {
    return color == kSystemColor ? ::GetSysColor(systemColor) : color;
}

// Fills a picture with one colour and writes the percentage on it.
void DrawFace(HDC dc, int width, int height, COLORREF fill, COLORREF textColor, const std::wstring& text, POINT at) {
    controls::FillSolid(dc, 0, 0, width, height, fill);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, textColor);
    ::TextOutW(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
}

// The face is composed off screen: picture A is the full bar with the text in TextColor, picture B the empty
// bar with the text in TextColor2; the filled width of A is copied over B, and B goes to the screen in one
// copy, so that a moving bar never flickers.
void Paint(HWND bar, HDC target) {
    RECT client;
    ::GetClientRect(bar, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0)
        return;

    const int position = static_cast<int>(::SendMessageW(bar, PBM_GETPOS, 0, 0));
    PBRANGE range = {};
    ::SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const double ratio =
        range.iHigh > range.iLow ? static_cast<double>(position - range.iLow) / (range.iHigh - range.iLow) : 0.0;
    const double filled = width * ratio;
    // The text rounds to the nearest percent, the fill to the nearest pixel: at 99.5 % the text already
    // reads 100% while the bar is not full.
    const std::wstring text = std::to_wstring(std::lround(ratio * 100.0)) + L"%";

    controls::Offscreen full(width, height);
    controls::Offscreen empty(width, height);
    if (!full || !empty)
        return;
    auto font = static_cast<HFONT>(::GetPropW(bar, kFont));
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    win::SelectGuard fullFont(full.dc(), font);
    win::SelectGuard emptyFont(empty.dc(), font);
    SIZE extent = {};
    ::GetTextExtentPoint32W(full.dc(), text.c_str(), static_cast<int>(text.size()), &extent);
    const POINT at = {width / 2 - static_cast<int>(std::lround(0.5 * extent.cx)),
                      height / 2 - static_cast<int>(std::lround(0.5 * extent.cy))};

    DrawFace(full.dc(), width, height, ColorProperty(bar, kBarColor), ColorProperty(bar, kTextColor), text, at);
    DrawFace(empty.dc(), width, height, ColorProperty(bar, kBackColor), ColorProperty(bar, kTextColor2), text, at);
    const int copied = static_cast<int>(std::lround(filled));
    if (copied > 0)
        ::BitBlt(empty.dc(), 0, 0, copied, height, full.dc(), 0, 0, SRCCOPY);
    ::BitBlt(target, 0, 0, width, height, empty.dc(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK Proc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(::GetPropW(bar, kOldProc));
    switch (message) {
        case WM_PAINT:
            if (wParam) {
                Paint(bar, reinterpret_cast<HDC>(wParam));
            } else {
                controls::PaintScope paint(bar);
                Paint(bar, paint.dc());
            }
            return 0;
        case WM_PRINTCLIENT:
            Paint(bar, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the face covers the whole client area
        case WM_GETOBJECT:
            if (controls::AsksForClient(lParam))
                return controls::AnswerProgress(bar, wParam);
            break;
        case PBM_SETPOS:
        case PBM_DELTAPOS:
        case PBM_STEPIT:
        case PBM_SETRANGE:
        case PBM_SETRANGE32: {
            if (!previous)
                break;
            const LRESULT result = ::CallWindowProcW(previous, bar, message, wParam, lParam);
            controls::ProgressChanged(bar);
            return result;
        }
        case WM_SETFONT:
            ::SetPropW(bar, kFont, reinterpret_cast<HANDLE>(wParam));
            if (LOWORD(lParam))
                ::InvalidateRect(bar, nullptr, FALSE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(::GetPropW(bar, kFont));
        case WM_NCDESTROY:
            controls::ForgetProgress(bar);
            for (const wchar_t* name : {kBackColor, kBarColor, kTextColor, kTextColor2, kFont, kOldProc})
                ::RemovePropW(bar, name);
            break;
    }
    return previous ? ::CallWindowProcW(previous, bar, message, wParam, lParam)
                    : ::DefWindowProcW(bar, message, wParam, lParam);
}

}  // namespace

HWND Create(HWND parent,
            int id,
            int x,
            int y,
            int width,
            int height,
            int minimum,
            int maximum,
            COLORREF textColor2,
            COLORREF textColor,
            COLORREF barColor,
            COLORREF backColor) {
    textColor2 = OrSystemColor(textColor2, COLOR_WINDOWTEXT);
    textColor = OrSystemColor(textColor, COLOR_HIGHLIGHTTEXT);
    barColor = OrSystemColor(barColor, COLOR_HIGHLIGHT);
    backColor = OrSystemColor(backColor, COLOR_BTNFACE);

    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    HWND bar = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!bar)
        return nullptr;
    ::SendMessageW(bar, PBM_SETRANGE32, minimum, maximum);
    SetColorProperty(bar, kBackColor, backColor);
    SetColorProperty(bar, kBarColor, barColor);
    SetColorProperty(bar, kTextColor, textColor);
    SetColorProperty(bar, kTextColor2, textColor2);
    ::SetPropW(bar, kOldProc, reinterpret_cast<HANDLE>(::GetWindowLongPtrW(bar, GWLP_WNDPROC)));
    ::SetWindowLongPtrW(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
    return bar;
}

}  // namespace ColorProgressBar
