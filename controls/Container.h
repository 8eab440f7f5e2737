#pragma once

#include <windows.h>

// A plain container: a child window filled with a back colour, into which the program places ordinary
// controls. The notifications of those controls (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, the
// scroll messages of track bars and up-downs, and the WM_CTLCOLOR... requests) are passed to the top-level
// window, so that they reach the program's window procedure as if the controls were its own children; the
// top-level window also chooses their colours.
namespace Container {

HWND Create(HWND parent, int x, int y, int width, int height, COLORREF back);

COLORREF BackColor(HWND container);
void SetBackColor(HWND container, COLORREF back);

}  // namespace Container
