#pragma once

#include <windows.h>

#include <string>

// The program's generic item operations (add, count, remove, read and change items) as a table of
// functions that a control attaches to its window under the property "nx_GadgetCommandsVT". The generic
// add-item call that fills a list also fills such a control: it looks the table up and calls its slot,
// and falls back to the control's ordinary behaviour when the table or the slot is missing.
//
// Every operation first checks that the window is a control of the table's kind and answers 0 otherwise;
// item indexes outside 0 ... count - 1 are ignored and answer 0.

// What the caller says about an item it adds.
struct ItemDescriptor {
    int type = 0;          // the control's item type; 0 is refused
    int height = 0;        // pixels; a negative height counts as 0
    int command = 0;       // sent as WM_COMMAND when a clickable item is clicked; 0 sends nothing
    HFONT font = nullptr;  // null: the control's default font for the item
};

struct GadgetCommands {
    // position -1 adds at the end. Answers the new item count, or for an item that is itself a window
    // (an embedded container) that window's handle; 0 when nothing was added.
    INT_PTR(*addItem)
    (HWND control, int position, const wchar_t* caption, HBITMAP picture, const ItemDescriptor* item) = nullptr;
    int (*clearItems)(HWND control) = nullptr;
    int (*countItems)(HWND control) = nullptr;
    int (*controlKind)(HWND control) = nullptr;
    INT_PTR (*getAttribute)(HWND control, int attribute) = nullptr;
    COLORREF (*getColor)(HWND control, int colorType) = nullptr;
    INT_PTR (*getItemAttribute)(HWND control, int index, int attribute) = nullptr;
    INT_PTR (*getItemData)(HWND control, int index) = nullptr;
    int (*getItemState)(HWND control, int index) = nullptr;
    std::wstring (*getItemText)(HWND control, int index) = nullptr;
    int (*removeItem)(HWND control, int index) = nullptr;
    int (*setColor)(HWND control, int colorType, COLORREF color) = nullptr;
    int (*setItemAttribute)(HWND control, int index, int attribute, INT_PTR value) = nullptr;
    int (*setItemData)(HWND control, int index, INT_PTR value) = nullptr;
    int (*setItemState)(HWND control, int index, int state) = nullptr;
    int (*setItemText)(HWND control, int index, const wchar_t* caption) = nullptr;
};

// The table a control carries, or null.
inline const GadgetCommands* GadgetCommandsOf(HWND control) {
    return control ? static_cast<const GadgetCommands*>(::GetPropW(control, L"nx_GadgetCommandsVT")) : nullptr;
}
