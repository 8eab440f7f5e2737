#pragma once

#include <windows.h>

// The Windows tools view: a white container with a sunken edge, holding a tab panel of three tabs
// ("Utilitaires", "Outils avancés", "Aide et maintenance"), each a page with its introduction and its
// shortcuts (ToolItems.h): icon, link, description, tooltip. A click on a link reaches the top-level window
// as WM_COMMAND with the link's control number (kToolLinkFirst + item number), as a button's would.
namespace ToolsView {

// The view's places and sizes are its tables' (ToolItems.h) times the scale of the window it is made in;
// the links' font and the pictures are given for that scale, the view makes its dialog-face texts itself.
struct Pictures {
    HFONT linkFont = nullptr;  // "Arial" 9 pt bold italic, at the window's scale
    // 24 square icons (16 x 16 at 96 DPI) side by side, premultiplied alpha: items 1 to 23 each their own,
    // then the one that every "Aide et maintenance" item shows. Icons of another size than the scale's are
    // drawn to it.
    HBITMAP itemIcons = nullptr;
    HBITMAP tabIcons = nullptr;  // 3 square pictures side by side, the size of the tabs' icons
};

// Created hidden.
HWND Create(HWND parent, int id, int x, int y, int width, int height, const Pictures& pictures);

// The control numbers of the tab panel and of the three pages.
constexpr int kTabsId = 1190;
constexpr int kPageFirstId = 1191;       // 1191 to 1193, in tab order
constexpr int kIntroFirstId = 1195;      // the introduction of each page, 1195 to 1197
constexpr int kDescriptionOffset = 100;  // description of item n: kToolLinkFirst + kDescriptionOffset + n

}  // namespace ToolsView
