#include "controls/TipWidth.h"

#include "win/Handle.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kSubclassId = 0x7419;

LRESULT CALLBACK WidthProc(HWND tip, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_WINDOWPOSCHANGING) {
        auto* place = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(place->flags & SWP_NOSIZE) && place->cx > 0)
            place->cx += TipWidthSpare(tip);
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(tip, WidthProc, kSubclassId);
    }
    return ::DefSubclassProc(tip, message, wParam, lParam);
}

}  // namespace

int TipWidthSpare(HWND tip) {
    // Half an average letter: more than the glyphs of a line ever reach past its measured width here.
    win::WindowDc dc(tip);
    win::SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(tip, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmAveCharWidth / 2 + 1;
}

void KeepTipTextWhole(HWND tip) {
    if (tip)
        ::SetWindowSubclass(tip, WidthProc, kSubclassId, 0);
}
