#pragma once

#include <windows.h>

// A vertically scrolling container: an outer window with a sunken client edge and, inside it, a page window
// of a chosen inner size that moves up and down under the outer window's vertical scroll bar. The bar shows
// only while the page is taller than the outer window; there is no horizontal scrolling. Whatever the page
// does not cover is filled with the container's back colour, which the page also uses for its own
// background unless its owner draws it.
namespace ScrollArea {

// Creates the container with a page of innerWidth x innerHeight; the arrows scroll by `step` pixels.
// Returns the outer window, or null.
HWND Create(HWND parent, int id, int x, int y, int width, int height, int innerWidth, int innerHeight, int step);

// How far the arrows scroll, in pixels (a container moved to a screen of another scale changes it).
void SetStep(HWND area, int step);

// The page window, parent of whatever the container shows.
HWND Page(HWND area);

SIZE InnerSize(HWND area);
// Resizes the page; the scroll bar appears, disappears and keeps its position within the new range.
void SetInnerSize(HWND area, int width, int height);

COLORREF BackColor(HWND area);
void SetBackColor(HWND area, COLORREF color);

// Current scroll position: how far the page is moved up.
int Position(HWND area);
void ScrollTo(HWND area, int position);

}  // namespace ScrollArea
