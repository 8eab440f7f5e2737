#pragma once

#include <windows.h>

// A child window that shows one picture at its top-left corner. Its window text describes the picture
// (screen readers and the test driver read it); it is not drawn.
namespace PictureBox {

HWND Create(HWND parent, int x, int y, int width, int height, HBITMAP picture, const wchar_t* text = L"");
void SetPicture(HWND box, HBITMAP picture);

}  // namespace PictureBox
