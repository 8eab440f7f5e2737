#pragma once

#include <windows.h>

// Keeps a tooltip's text whole. Wine sizes a tooltip by measuring its text narrower than the glyphs it
// then draws, so the line that sets the width loses its last pixels. The tooltip window is made a little
// wider than the tooltip asks each time it is sized to show a text; larger margins would not help, since
// the tooltip adds them to its text's box as well as to its window. Windows only gets a wider bubble.
void KeepTipTextWhole(HWND tip);
