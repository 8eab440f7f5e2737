#pragma once

#include <windows.h>

// A child window that shows one picture at its top-left corner. Its window text describes the picture: it is
// the name screen readers read (a new text tells them) and the test driver reads; it is not drawn.
namespace PictureBox {

HWND Create(HWND parent, int x, int y, int width, int height, HBITMAP picture, const wchar_t* text = L"");
void SetPicture(HWND box, HBITMAP picture);

}  // namespace PictureBox
