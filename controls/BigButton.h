#pragma once

#include "controls/Theme.h"
#include "win/Dpi.h"

#include <windows.h>

#include <string>

// A push button with an icon and a caption that the program draws itself: with the Windows visual style
// (the "Button" class, push-button part) while visual styles are active, with a classic three-dimensional
// frame otherwise. It lights up under the mouse pointer, shows pressed, focused and disabled looks and
// follows theme changes at run time. Clicks, enabling and disabling are the standard button's.
//
// The button keeps its record in the window property "BIGEPROPERTIES" from creation to WM_NCDESTROY.
// Because the button is owner-drawn, Windows asks its parent to draw it: the parent passes its messages
// to BigButton::Draw.
namespace BigButton {

// Where the icon goes relative to the caption.
enum Layout : int {
    kIconAbove = 0,  // icon above, caption below
    kIconRight = 1,  // caption left, icon right
    kIconBelow = 2,  // caption above, icon below
    kIconLeft = 3,   // icon left, caption right
};

// Creates a visible, tab-stop button in the GUI font. The icon is drawn at its own size and is not copied:
// it must outlive the button (the program's pictures live until exit). theme is the program's table of
// theme functions, shared by all buttons; a button refreshes its themes-active flag when Windows reports a
// theme or colour change, so that every button switches face at its next repaint. A null theme, or a
// table without functions, gives classic faces. Returns the button, or null.
HWND Create(HWND parent,
            int id,
            int x,
            int y,
            int width,
            int height,
            const std::wstring& caption,
            HICON icon,
            Layout layout,
            ThemeApi* theme);

// The icon of a screen scale and the scale itself, whose DPI sizes the margins around the icon and the
// caption (a button starts with its parent's DPI); the owner gives both when its window changes scale. The
// icon is not copied, as at creation.
void SetIcon(HWND button, HICON icon, UINT dpi);

// The width a caption has beside (or above, or below) an icon iconWidth pixels wide in a button
// buttonWidth pixels wide at a DPI: what is left between the margins the painter keeps.
int CaptionRoom(Layout layout, int buttonWidth, int iconWidth, UINT dpi);

// For the parent's window procedure (or a hook that sees its messages): draws a big button when the message
// is its WM_DRAWITEM and returns true (the parent then answers TRUE); returns false for every other
// message, which the parent handles as usual.
bool Draw(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace BigButton
