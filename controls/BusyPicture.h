#pragma once

#include <windows.h>

// A small picture control (the Fast Cleaner's item states and busy indicator): it shows one frame of a strip of equal
// square frames (a 32-bit picture with premultiplied alpha, as the program decodes its PNG pictures) blended over a
// back colour. With more than one frame it can animate: a timer moves to the next frame while the control is visible
// and animating, and stops when it is hidden, so a hidden indicator costs nothing. Its window text says what the
// picture means; it is not drawn.
namespace BusyPicture {

HWND Create(HWND parent, int id, const RECT& place, HBITMAP strip, COLORREF back, const wchar_t* text);
// Another picture (and its meaning); the frame goes back to the first.
void SetPicture(HWND picture, HBITMAP strip, const wchar_t* text);
// Shows and animates, or stops and hides.
void SetBusy(HWND picture, bool on, UINT frameMs);

}  // namespace BusyPicture
