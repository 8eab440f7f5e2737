#pragma once

#include <windows.h>

// The main window's panels: containers of the controls library (a back colour, and their controls'
// notifications passed on to the top-level window), under a control number of their own.
namespace Panel {

// clipChildren: the panel leaves its children's places unpainted (less flicker); without it, it paints
// behind children that draw only part of their place, such as a group frame.
HWND Create(HWND parent, int id, int x, int y, int width, int height, COLORREF back, bool clipChildren = true);
void SetBackColor(HWND panel, COLORREF back);
COLORREF BackColor(HWND panel);

}  // namespace Panel
