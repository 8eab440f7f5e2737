#pragma once

// The explorer bar's record, shared by its window procedures (ExplorerBar.cpp) and its painting
// (ExplorerBarPaint.cpp). Not part of the control's interface.

#include "controls/ExplorerBar.h"
#include "win/Dpi.h"
#include "win/Handle.h"

#include <memory>
#include <string>
#include <vector>

namespace ExplorerBar::detail {

// At 96 DPI; the bar scales them.
inline constexpr int kMargin = 10;  // around the column of groups
inline constexpr int kGap = 15;     // between two groups

struct Item {
    int type = 0;
    int height = 0;     // at 96 DPI
    int collapsed = 0;  // headers: 1 while the group is collapsed
    std::wstring caption;
    int command = 0;
    HFONT font = nullptr;  // null: the shared default font
    win::UniqueBitmap picture;
    HWND container = nullptr;  // embedded containers only
    INT_PTR data = 0;

    // Where the last layout put the item, in page coordinates.
    bool shown = false;      // false for the entries of a collapsed group
    bool gapBefore = false;  // a header after a group has the gap above it
    int top = 0;
    RECT hit = {};   // the clickable part: the bar right of a header's picture, a link's caption
    RECT text = {};  // links and labels: the caption's block
};

struct Bar {
    int id = 0;
    HWND outer = nullptr;
    HWND page = nullptr;
    std::vector<std::unique_ptr<Item>> items;
    Notify notify;
    int hot = -1;             // item under the mouse pointer
    int pressed = -1;         // item the left button went down on
    bool tracking = false;    // a WM_MOUSELEAVE is requested for the page
    bool laying = false;      // inside Layout: the size messages it causes are its own
    COLORREF colors[7] = {};  // colour types 7 to 13
    win::Scale scale;         // from 96 DPI to the bar's pixels

    COLORREF color(int type) const { return colors[type - kHeaderStart]; }
    void setColor(int type, COLORREF color) { colors[type - kHeaderStart] = color; }
};

// Fonts shared by every explorer bar, made once per DPI and kept until the process ends.
HFONT DefaultHeaderFont(UINT dpi);
HFONT DefaultEntryFont(UINT dpi);
HFONT UnderlinedFont(HFONT font);
// The font itself when the text fits the width in it; otherwise the same face made smaller, a pixel at a
// time down to two thirds of its height, so that a header's caption shows whole rather than cut.
HFONT FittedFont(HDC dc, HFONT font, const std::wstring& text, int width);

inline bool IsHeader(const Item& item) {
    return item.type == kHeader || item.type == kFixedHeader;
}

// ExplorerBarPaint.cpp
// The caption block of a link or label whose top is `top`, in a page `innerWidth` wide.
RECT CaptionBlock(HDC measure, const Bar& bar, const Item& item, int top, int innerWidth);
// Draws the part `area` of the page.
void Paint(const Bar& bar, HDC dc, const RECT& area);

// ExplorerBar.cpp
// The record of a bar's outer window; null once it is gone.
Bar* RecordOf(HWND outer);
// What a completed click on the item does.
void ActivateItem(Bar& bar, int index);

// ExplorerBarAccess.cpp
// The answer to WM_GETOBJECT for the client area of the outer window or of its page.
LRESULT AnswerGetObject(HWND outer, WPARAM wParam);
// The child id of a header's group in the bar's accessible object, for the events about it.
long GroupChildId(const Bar& bar, int header);

}  // namespace ExplorerBar::detail
