#pragma once

#include "controls/GadgetCommands.h"

#include <windows.h>

#include <functional>
#include <string>

// A task pane: a vertical, scrollable column of collapsible groups. Each group has a gradient header
// (caption, large picture, expand/collapse chevron) followed by its entries: links with a small picture,
// plain text labels, separators, and embedded containers into which the program places ordinary controls.
// A click on a link reaches the top-level window as WM_COMMAND with the link's command number, like a menu
// command.
//
// The control is a scrolling container (ScrollArea) whose page it draws entirely. Its record is the window
// property "nxEXPLORERBAR_PROP" of the outer window, and the item operations are the process-wide table
// "nx_GadgetCommandsVT" (GadgetCommands.h), so that the program's generic add-item call fills it too.
namespace ExplorerBar {

enum ItemType : int {
    kHeader = 1,       // group header: gradient bar, 48 x 48 picture, caption, chevron; clicking toggles
    kFixedHeader = 2,  // group header without chevron that stays expanded; not clickable
    kLink = 3,         // group entry: 16 x 16 picture and caption; clicking sends its command
    kLabel = 4,        // group entry: caption only, not clickable
    kSeparator = 5,    // group entry with a one-pixel line at its bottom
    kContainer = 6,    // group entry: a plain container (Container.h) for ordinary controls
};

// Colour types of GetColor and SetColor.
enum ColorType : int {
    kBackground = 2,      // the column behind the groups (the scrolling container's back colour)
    kHeaderStart = 7,     // header gradient start and corner
    kHeaderText = 8,      // header caption and chevron
    kBody = 9,            // header gradient end, group entries, embedded containers
    kLinkText = 10,       // link captions
    kLabelText = 11,      // label captions
    kSeparatorLine = 12,  // separator lines
    kHot = 13,            // the header or link under the mouse pointer
};
// SetColor with this colour puts a type back to its reset value.
inline constexpr COLORREF kResetColor = 0xFFFFFFFF;

// Colours of a new explorer bar, and those SetColor puts back (they differ), by colour type from
// kHeaderStart to kHot.
inline constexpr COLORREF kInitialBackground = RGB(90, 121, 174);
inline constexpr COLORREF kInitialColors[kHot - kHeaderStart + 1] = {
    RGB(255, 255, 255), RGB(68, 94, 138),   RGB(68, 94, 138),  RGB(238, 241, 242),
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(147, 167, 202)};
inline constexpr COLORREF kResetBackground = 0xFD8782;
inline constexpr COLORREF kResetColors[kHot - kHeaderStart + 1] = {0xFFFFFF, 0xB3120A, RGB(214, 223, 247), 0xC43507, 0,
                                                                   0xFFFFFF, 0xFCB8A0};

// Events of the notification procedure, called as (control id, event, a, b).
enum Event : int {
    kWidthChanged = 1,  // the usable width changed: a = old width, b = new width (group widths)
    kExpanded = 2,      // a = header index
    kCollapsed = 3,     // a = header index
};
using Notify = std::function<void(int control, int event, int a, int b)>;

// Creates the explorer bar: a scrolling container with a sunken edge at (x, y), width x height. Returns its
// outer window, or null.
HWND Create(HWND parent, int id, int x, int y, int width, int height, Notify notify = nullptr);

// The operations of the table, also callable directly. A picture is any bitmap (32-bit bitmaps with
// premultiplied alpha are blended); the control keeps a copy of it for headers and links.
INT_PTR AddItem(HWND bar, int position, const wchar_t* caption, HBITMAP picture, const ItemDescriptor* item);
int ClearItems(HWND bar);
int CountItems(HWND bar);
int ControlKind(HWND bar);  // 3
// 1: group width; 2: margin (10 at 96 DPI); 3: gap between groups (15 at 96 DPI); in the bar's pixels.
INT_PTR GetAttribute(HWND bar, int attribute);
COLORREF GetColor(HWND bar, int colorType);
// 1: height (at 96 DPI); 2: type; 3: the embedded container's window (containers only).
INT_PTR GetItemAttribute(HWND bar, int index, int attribute);
INT_PTR GetItemData(HWND bar, int index);  // headers only
int GetItemState(HWND bar, int index);     // headers only: 1 collapsed, 0 expanded
std::wstring GetItemText(HWND bar, int index);
int RemoveItem(HWND bar, int index);
int SetColor(HWND bar, int colorType, COLORREF color);
// Attribute 1 with a value >= 0 sets the item's height.
int SetItemAttribute(HWND bar, int index, int attribute, INT_PTR value);
int SetItemData(HWND bar, int index, INT_PTR value);
// Headers only; state 1 collapses, 0 expands, and the notification procedure hears of it.
int SetItemState(HWND bar, int index, int state);
int SetItemText(HWND bar, int index, const wchar_t* caption);

// The screen scale the bar lays out and draws at, taken from its parent's DPI at creation: its margins and
// gaps, the items' heights (given in pixels at 96 DPI), pictures, chevrons and its own fonts are scaled by
// dpi / 96. The owner tells it when its window moves to a screen of another scale, and gives it the
// pictures and fonts of that scale.
void SetDpi(HWND bar, UINT dpi);
UINT Dpi(HWND bar);
// A header's or a link's picture (the control keeps a copy), or an item's font (null: the bar's own).
int SetItemPicture(HWND bar, int index, HBITMAP picture);
int SetItemFont(HWND bar, int index, HFONT font);
// The bar's own fonts at a DPI: the headers' captions, and the captions of links and labels given none.
HFONT HeaderFont(UINT dpi);
HFONT EntryFont(UINT dpi);
// The room the painter gives an item's caption in a page pageWidth pixels wide at a DPI: a header's one line
// (right of its picture when it has one), a link's or a label's lines within the item's height (given at
// 96 DPI). A longer caption loses its end.
SIZE CaptionRoom(ItemType type, int height, bool picture, int pageWidth, UINT dpi);

// Adds an embedded container (an item of type kContainer) and returns its window, or null.
inline HWND AddContainer(HWND bar, int position, int height) {
    const ItemDescriptor item = {kContainer, height, 0, nullptr};
    return reinterpret_cast<HWND>(AddItem(bar, position, L"", nullptr, &item));
}

}  // namespace ExplorerBar
