// The gallery window as the user sees it: every control at the sizes, colours and texts the main window
// uses.
#include "tests/gallery/Gallery.h"

#include "controls/BalloonTip.h"
#include "controls/ColorProgressBar.h"

#include <commctrl.h>

namespace gallery {

HWND Caption(HWND parent, int x, int y, int width, int height, const wchar_t* text) {
    HWND caption = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, x, y, width, height,
                                     parent, nullptr, nullptr, nullptr);
    ::SendMessageW(caption, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return caption;
}

namespace {

// A progress bar inside a frame with a thin sunken edge, as the main window places them.
HWND FramedBar(HWND parent,
               int x,
               int y,
               int width,
               int height,
               int position,
               COLORREF textColor2,
               COLORREF textColor,
               COLORREF barColor,
               COLORREF backColor) {
    HWND frame = ::CreateWindowExW(WS_EX_STATICEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE, x, y, width + 2, height + 2,
                                   parent, nullptr, nullptr, nullptr);
    HWND bar =
        ColorProgressBar::Create(frame, 0, 0, 0, width, height, 0, 100, textColor2, textColor, barColor, backColor);
    ::SendMessageW(bar, PBM_SETPOS, position, 0);
    return bar;
}

void BuildProgressBars(Resources& resources) {
    HWND window = resources.window;
    const HICON titleIcon = resources.pictures.icon(IDI_APP);
    Caption(window, 280, 10, 300, 15, L"Progression");
    HWND overall =
        FramedBar(window, 280, 27, 734, 15, 42, RGB(0, 0, 0), RGB(0, 0, 0), RGB(119, 230, 120), RGB(226, 232, 241));
    AttachBalloonTip(nullptr, overall, L"Progression",
                     L"Etat d'avancement général de la destruction en cours, indique le pourcentage d'éléments "
                     L"détruits.",
                     titleIcon);
    Caption(window, 280, 52, 150, 15, L"Avancement pointeur");
    FramedBar(window, 280, 67, 250, 13, 63, RGB(0, 0, 0), RGB(255, 255, 255), RGB(226, 53, 29), RGB(214, 225, 254));
    Caption(window, 280, 87, 150, 15, L"Ecrasement réalisé");
    FramedBar(window, 280, 102, 250, 13, 100, RGB(0, 0, 0), RGB(255, 255, 255), RGB(157, 196, 224), RGB(214, 225, 254));
    Caption(window, 280, 122, 250, 15, L"Ecrasement mémoire du nom");
    FramedBar(window, 280, 137, 245, 15, 18, RGB(0, 0, 0), RGB(255, 255, 255), RGB(235, 183, 29), RGB(214, 225, 254));
    Caption(window, 560, 52, 250, 15, L"Couleurs du système");
    FramedBar(window, 560, 67, 250, 13, 50, ColorProgressBar::kSystemColor, ColorProgressBar::kSystemColor,
              ColorProgressBar::kSystemColor, ColorProgressBar::kSystemColor);
}

}  // namespace

void BuildShowcase(Resources& resources) {
    BuildProgressBars(resources);
}

bool HandleGalleryMessage(HWND, UINT, WPARAM, LPARAM) {
    return false;
}

}  // namespace gallery
