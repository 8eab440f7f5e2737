#pragma once

// The thirty-four shortcuts of the Windows tools view, on three tabs, in display order. Item numbers run
// from 1 to 34; a link's control number is kToolLinkFirst + its item number.
enum ToolTab : int { kTabUtilities = 0, kTabAdvanced = 1, kTabHelp = 2 };

struct ToolItem {
    int tab;
    const wchar_t* link;
    int width;                   // of the link, in pixels (wider when the text needs it)
    const wchar_t* tooltip;      // null: none
    const wchar_t* description;  // null: none
};

inline constexpr int kToolCount = 34;
inline constexpr int kToolLinkFirst = 1200;  // 1201 to 1234

inline constexpr bool IsToolLink(int id) {
    return id > kToolLinkFirst && id <= kToolLinkFirst + kToolCount;
}

// Item n (1 to 34).
const ToolItem& ToolItemAt(int number);

// Where item n's icon sits on its tab page; the link follows 20 pixels to the right, the description
// (if any) at (70, y + 15).
struct ToolPlace {
    int x;
    int y;
};
ToolPlace ToolItemPlace(int number);
