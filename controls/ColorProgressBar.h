#pragma once

#include <windows.h>

// A standard progress bar that draws itself flat, in chosen colours, with its percentage written in the
// middle. The text is drawn in one colour where it lies over the filled part and in another over the empty
// part, so that it stays readable as the bar passes under it. Position and range are set and read with the
// ordinary PBM_ messages; every paint reads them back from the bar.
//
// The colours live on the bar's window as the properties "BackColor", "BarColor", "TextColor" and
// "TextColor2", and the bar's original window procedure as "OldProc"; the percentage is written in the font
// given by WM_SETFONT (property "Font"), the default GUI font without one; all six go at WM_NCDESTROY. Screen
// readers read the bar as a progress bar named by its window text (not drawn) whose value is the percentage.
namespace ColorProgressBar {

// A colour argument with this value takes the matching system colour instead, read once at creation:
// TextColor2 -> COLOR_WINDOWTEXT, TextColor -> COLOR_HIGHLIGHTTEXT, BarColor -> COLOR_HIGHLIGHT,
// BackColor -> COLOR_BTNFACE.
inline constexpr COLORREF kSystemColor = 0xFFFF0001;

// textColor2: text over the empty part; textColor: text over the filled part; barColor: the filled part;
// backColor: the empty part. Returns the bar's window, or null when it could not be created.
HWND Create(HWND parent,
            int id,
            int x,
            int y,
            int width,
            int height,
            int minimum,
            int maximum,
            COLORREF textColor2,
            COLORREF textColor,
            COLORREF barColor,
            COLORREF backColor);

}  // namespace ColorProgressBar
