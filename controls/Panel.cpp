#include "controls/Panel.h"

#include "controls/Container.h"

namespace Panel {

HWND Create(HWND parent, int id, int x, int y, int width, int height, COLORREF back, bool clipChildren) {
    HWND panel = Container::Create(parent, x, y, width, height, back);
    if (!panel)
        return nullptr;
    ::SetWindowLongPtrW(panel, GWLP_ID, id);
    if (!clipChildren)
        ::SetWindowLongPtrW(panel, GWL_STYLE, ::GetWindowLongPtrW(panel, GWL_STYLE) & ~WS_CLIPCHILDREN);
    return panel;
}

void SetBackColor(HWND panel, COLORREF back) {
    Container::SetBackColor(panel, back);
}

COLORREF BackColor(HWND panel) {
    return Container::BackColor(panel);
}

}  // namespace Panel
