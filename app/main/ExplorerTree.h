#pragma once

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <unordered_map>

// The system explorer: a tree of the machine's drives, folders and files. A folder is read each time the
// user opens it, and refresh() reads the open ones again, so the tree shows what is on disk now.
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
    // Reads every open folder again (after a run destroyed files); what is still there stays as it was.
    void refresh();

private:
    struct Node {
        std::wstring path;  // folders end with a backslash
        std::wstring name;
        bool folder = false;
    };

    HTREEITEM insert(HTREEITEM parent,
                     HTREEITEM after,
                     const std::wstring& path,
                     const std::wstring& name,
                     bool folder);
    const Node* nodeOf(HTREEITEM item) const;
    // Brings the item's children in line with the folder as it is now, and the open ones among them too.
    void sync(HTREEITEM item);

    HWND tree_ = nullptr;
    // Item data holds the key of the item's node; a node goes when its item is deleted.
    std::unordered_map<LPARAM, Node> nodes_;
    LPARAM nextKey_ = 1;
};
