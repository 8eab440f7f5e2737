#include "controls/TipWidth.h"

#include "win/Handle.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kSubclassId = 0x7419;

// How many pixels the tooltip is widened by, for its font.
int Spare(HWND tip) {
    // Half an average letter: more than the glyphs of a line reach past its measured width here, and less
    // than a balloon's inner margin. A balloon keeps the outline of the size it asked for, and its text box
    // grows with the window: much more, and its lines would be wrapped wider than its outline.
    win::WindowDc dc(tip);
    win::SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(tip, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmAveCharWidth / 2 + 1;
}

LRESULT CALLBACK WidthProc(HWND tip, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_WINDOWPOSCHANGING) {
        auto* place = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(place->flags & SWP_NOSIZE) && place->cx > 0)
            place->cx += Spare(tip);
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(tip, WidthProc, kSubclassId);
    }
    return ::DefSubclassProc(tip, message, wParam, lParam);
}

}  // namespace

void KeepTipTextWhole(HWND tip) {
    if (tip)
        ::SetWindowSubclass(tip, WidthProc, kSubclassId, 0);
}
