#pragma once

#include <windows.h>

// A plain child window filled with a back colour, holding other controls. Their notifications
// (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR...) go on to the top-level window, so that the main
// window handles every control of every panel in one place.
namespace Panel {

// clipChildren: the panel leaves its children's places unpainted (less flicker); without it, it paints
// behind children that draw only part of their place, such as a group frame.
HWND Create(HWND parent, int id, int x, int y, int width, int height, COLORREF back, bool clipChildren = true);
void SetBackColor(HWND panel, COLORREF back);
COLORREF BackColor(HWND panel);

}  // namespace Panel
