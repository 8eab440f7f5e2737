#include "app/main/ExplorerTree.h"

#include "app/main/MainWindowLayout.h"
#include "win/Handle.h"
#include "win/Paths.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

namespace {

int SystemIconIndex(const std::wstring& path, bool folder) {
    SHFILEINFOW info = {};
    // By attributes only: asking the file itself for its icon would be slow on a whole folder.
    ::SHGetFileInfoW(path.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                     SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    return info.iIcon;
}

bool NameLess(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
}

// The folder's entries as the tree shows them: its folders, then its files, each sorted by name. On a
// listing worker; ends early, with what it has, once a stop is requested.
std::vector<std::pair<std::wstring, bool>> ListFolder(const std::wstring& folder, const win::StopToken& stop) {
    std::vector<std::wstring> folders, files;
    WIN32_FIND_DATAW entry;
    win::UniqueFind find(::FindFirstFileW(win::ExtendedPath(folder + L"*").c_str(), &entry));
    if (find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? folders : files).push_back(name);
        } while (!stop.stopRequested() && ::FindNextFileW(find.get(), &entry));
    }
    std::sort(folders.begin(), folders.end(), NameLess);
    std::sort(files.begin(), files.end(), NameLess);
    std::vector<std::pair<std::wstring, bool>> entries;
    for (const std::wstring& name : folders)
        entries.emplace_back(name, true);
    for (const std::wstring& name : files)
        entries.emplace_back(name, false);
    return entries;
}

}  // namespace

HWND ExplorerTree::create(HWND parent, int id, int x, int y, int width, int height) {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    tree_ = ::CreateWindowExW(
        0, WC_TREEVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, x, y,
        width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    TreeView_SetBkColor(tree_, mainwin::layout::kColumnBody);
    TreeView_SetTextColor(tree_, mainwin::layout::kTreeText);
    TreeView_SetLineColor(tree_, mainwin::layout::kTreeLines);
    SHFILEINFOW info = {};
    auto images = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    TreeView_SetImageList(tree_, images, TVSIL_NORMAL);

    wchar_t drives[512] = {};
    const DWORD length = ::GetLogicalDriveStringsW(static_cast<DWORD>(std::size(drives)), drives);
    for (const wchar_t* drive = drives; drive < drives + length && *drive; drive += wcslen(drive) + 1)
        insert(TVI_ROOT, TVI_LAST, drive, drive, true);
    return tree_;
}

HTREEITEM ExplorerTree::insert(HTREEITEM parent,
                               HTREEITEM after,
                               const std::wstring& path,
                               const std::wstring& name,
                               bool folder) {
    const LPARAM key = nextKey_++;
    Node& node = nodes_[key];
    node.path = path;
    node.name = name;
    node.folder = folder;
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<wchar_t*>(name.c_str());
    insert.item.lParam = key;
    insert.item.iImage = insert.item.iSelectedImage = SystemIconIndex(path, folder);
    insert.item.cChildren = folder ? 1 : 0;  // a folder shows its button until it is opened
    HTREEITEM item = TreeView_InsertItem(tree_, &insert);
    if (item)
        node.item = item;
    else
        nodes_.erase(key);
    return item;
}

LPARAM ExplorerTree::keyOf(HTREEITEM item) const {
    TVITEMW data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    return TreeView_GetItem(tree_, &data) ? data.lParam : 0;
}

const ExplorerTree::Node* ExplorerTree::nodeOf(HTREEITEM item) const {
    auto found = nodes_.find(keyOf(item));
    return found == nodes_.end() ? nullptr : &found->second;
}

void ExplorerTree::requestListing(HTREEITEM item, bool open) {
    const LPARAM key = keyOf(item);
    auto found = nodes_.find(key);
    if (found == nodes_.end() || !found->second.folder)
        return;
    Node& node = found->second;
    node.listing = nextListing_++;
    node.openWhenListed = node.openWhenListed || open;
    const unsigned number = node.listing;
    const std::wstring folder = node.path;
    auto worker = std::make_unique<win::Worker>();
    auto work = [this, key, number, folder] { listings_.post({key, number, ListFolder(folder, stop_)}); };
    if (worker->start(work)) {
        workers_.push_back(std::move(worker));
        return;
    }
    // No thread to be had: the folder is read here rather than not at all.
    listings_.post({key, number, ListFolder(folder, stop_)});
}

void ExplorerTree::takeListings() {
    for (const Listing& listing : listings_.take()) {
        // The item may have gone (its folder closed with a reset, or itself gone from its parent), or a
        // newer listing may be on its way.
        auto found = nodes_.find(listing.key);
        if (found == nodes_.end() || found->second.listing != listing.number)
            continue;
        HTREEITEM item = found->second.item;
        const bool open = std::exchange(found->second.openWhenListed, false);
        apply(item, listing.entries);
        if (open) {
            opening_ = true;
            TreeView_Expand(tree_, item, TVE_EXPAND);
            opening_ = false;
        }
    }
    workers_.remove_if([](const std::unique_ptr<win::Worker>& worker) { return worker->ended(); });
}

void ExplorerTree::stopListings() {
    stop_.stop();
    workers_.clear();  // each joins its thread
}

void ExplorerTree::apply(HTREEITEM item, const Entries& wanted) {
    const Node* node = nodeOf(item);
    if (!node || !node->folder)
        return;
    const std::wstring folder = node->path;

    // The items already there keep their place, selection and open state; the gone ones go.
    std::vector<HTREEITEM> kept;
    std::set<std::pair<std::wstring, bool>> present(wanted.begin(), wanted.end());
    for (HTREEITEM child = TreeView_GetChild(tree_, item); child;) {
        HTREEITEM next = TreeView_GetNextSibling(tree_, child);
        const Node* shown = nodeOf(child);
        if (shown && present.count({shown->name, shown->folder}))
            kept.push_back(child);
        else
            TreeView_DeleteItem(tree_, child);
        child = next;
    }
    // Both lists are in the same order: walk them together and insert what is new in its place.
    HTREEITEM previous = TVI_FIRST;
    size_t k = 0;
    for (const auto& [name, isFolder] : wanted) {
        const Node* shown = k < kept.size() ? nodeOf(kept[k]) : nullptr;
        if (shown && shown->name == name && shown->folder == isFolder) {
            previous = kept[k++];
            if (isFolder && (TreeView_GetItemState(tree_, previous, TVIS_EXPANDED) & TVIS_EXPANDED))
                requestListing(previous, false);
        } else {
            previous = insert(item, previous, folder + name + (isFolder ? L"\\" : L""), name, isFolder);
        }
    }
    TVITEMW data = {};
    data.mask = TVIF_CHILDREN;
    data.hItem = item;
    data.cChildren = wanted.empty() ? 0 : 1;
    TreeView_SetItem(tree_, &data);
}

bool ExplorerTree::onNotify(const NMHDR& header, LRESULT* result) {
    if (header.hwndFrom != tree_)
        return false;
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    if (header.code == TVN_DELETEITEMW) {
        nodes_.erase(change.itemOld.lParam);
        return true;
    }
    if (header.code != TVN_ITEMEXPANDINGW)
        return false;
    // A folder opens once a worker has read it: the tree is told to wait, and to open it when the listing
    // arrives (takeListings), which brings this notification again.
    *result = FALSE;
    if ((change.action & TVE_EXPAND) && !opening_) {
        requestListing(change.itemNew.hItem, true);
        *result = TRUE;
    }
    return true;
}

void ExplorerTree::refresh() {
    for (HTREEITEM root = TreeView_GetRoot(tree_); root; root = TreeView_GetNextSibling(tree_, root)) {
        if (TreeView_GetItemState(tree_, root, TVIS_EXPANDED) & TVIS_EXPANDED)
            requestListing(root, false);
    }
}

ExplorerTree::Selection ExplorerTree::selectAt(POINT screen) {
    TVHITTESTINFO hit = {};
    hit.pt = screen;
    ::ScreenToClient(tree_, &hit.pt);
    if (HTREEITEM item = TreeView_HitTest(tree_, &hit))
        TreeView_SelectItem(tree_, item);
    return selection();
}

ExplorerTree::Selection ExplorerTree::selection() const {
    Selection selected;
    const Node* node = nodeOf(TreeView_GetSelection(tree_));
    if (!node)
        return selected;
    selected.kind = node->folder ? Selection::Folder : Selection::File;
    selected.path = node->path;
    selected.name = node->name;
    return selected;
}
