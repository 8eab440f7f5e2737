#pragma once

#include "win/Mailbox.h"
#include "win/StopToken.h"
#include "win/Thread.h"

#include <windows.h>
#include <commctrl.h>

#include <list>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// The system explorer: a tree of the machine's drives, folders and files. A folder is read each time the
// user opens it, and refresh() reads the open ones again, so the tree shows what is on disk now. The
// reading is done by workers: a folder opens once its listing has arrived (takeListings(), when the
// window is woken), and a refreshed folder changes then.
class ExplorerTree {
public:
    struct Selection {
        enum Kind { None, File, Folder } kind = None;
        std::wstring path;  // a folder's path ends with a backslash
        std::wstring name;  // the last component, as the tree shows it
    };

    ExplorerTree() = default;
    ~ExplorerTree() { stopListings(); }
    ExplorerTree(const ExplorerTree&) = delete;
    ExplorerTree& operator=(const ExplorerTree&) = delete;

    HWND create(HWND parent, int id, int x, int y, int width, int height);
    HWND window() const { return tree_; }
    // The window woken, with a message without parameters, when a listing has arrived.
    void attach(HWND window, UINT wakeMessage) { listings_.attach(window, wakeMessage); }

    // TVN_ITEMEXPANDINGW and TVN_DELETEITEMW from the tree; true when handled, with the answer in result.
    bool onNotify(const NMHDR& header, LRESULT* result);
    // Selects the entry under the screen point (a right click aims at it) and returns the selection.
    Selection selectAt(POINT screen);
    Selection selection() const;
    // Reads every open folder again (after a run destroyed files); what is still there stays as it was.
    void refresh();
    // On the window thread: brings the folders whose listings have arrived in line with them.
    void takeListings();
    // At exit: the listings under way end before their next entry; waits for their workers.
    void stopListings();

private:
    using Entries = std::vector<std::pair<std::wstring, bool>>;  // name, folder: in the order the tree shows them
    struct Node {
        std::wstring path;  // folders end with a backslash
        std::wstring name;
        bool folder = false;
        HTREEITEM item = nullptr;
        unsigned listing = 0;         // the last listing asked for; an older one that arrives later is ignored
        bool openWhenListed = false;  // the user opened it: the tree shows it open once it is listed
    };
    struct Listing {
        LPARAM key = 0;
        unsigned number = 0;
        Entries entries;
    };

    HTREEITEM insert(HTREEITEM parent,
                     HTREEITEM after,
                     const std::wstring& path,
                     const std::wstring& name,
                     bool folder);
    LPARAM keyOf(HTREEITEM item) const;  // 0 for no item
    const Node* nodeOf(HTREEITEM item) const;
    // Asks a worker for the folder's listing; open: show the item open once it has arrived.
    void requestListing(HTREEITEM item, bool open);
    // Brings the item's children in line with the listing, and asks for the open ones among them again.
    void apply(HTREEITEM item, const Entries& wanted);

    HWND tree_ = nullptr;
    // Item data holds the key of the item's node; a node goes when its item is deleted.
    std::unordered_map<LPARAM, Node> nodes_;
    LPARAM nextKey_ = 1;
    unsigned nextListing_ = 1;
    bool opening_ = false;  // the tree is being told to open an item whose listing has arrived
    win::StopToken stop_;
    win::Mailbox<Listing> listings_;
    std::list<std::unique_ptr<win::Worker>> workers_;  // last: joined before what they use goes
};
