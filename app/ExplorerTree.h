#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// The system explorer: a tree of the machine's drives, folders and files, filled as the user opens its
// branches. The main window asks it what is selected when the user right-clicks it.
class ExplorerTree {
public:
    struct Selection {
        enum Kind { None, File, Folder } kind = None;
        std::wstring path;  // a folder's path ends with a backslash
        std::wstring name;  // the last component, as the tree shows it
    };

    HWND create(HWND parent, int id, int x, int y, int width, int height);
    HWND window() const { return tree_; }

    // TVN_ITEMEXPANDINGW and TVN_DELETEITEMW from the tree; true when handled.
    bool onNotify(const NMHDR& header);
    // Selects the entry under the screen point (a right click aims at it) and returns the selection.
    Selection selectAt(POINT screen);
    Selection selection() const;

private:
    HTREEITEM insert(HTREEITEM parent, const std::wstring& path, const std::wstring& name, bool folder);
    void fill(HTREEITEM item);

    HWND tree_ = nullptr;
    // Per item: its full path (folders end with a backslash) and whether it is a folder. Item data holds
    // the index.
    struct Node {
        std::wstring path;
        std::wstring name;
        bool folder = false;
        bool filled = false;
    };
    std::vector<Node> nodes_;
};
