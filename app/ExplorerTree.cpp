#include "app/ExplorerTree.h"

#include "win/Handle.h"
#include "win/Paths.h"

#include <shellapi.h>

#include <algorithm>

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

}  // namespace

HWND ExplorerTree::create(HWND parent, int id, int x, int y, int width, int height) {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    tree_ = ::CreateWindowExW(
        0, WC_TREEVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, x, y,
        width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    TreeView_SetBkColor(tree_, RGB(68, 94, 138));
    TreeView_SetTextColor(tree_, RGB(255, 255, 255));
    TreeView_SetLineColor(tree_, RGB(200, 210, 230));
    SHFILEINFOW info = {};
    auto images = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    TreeView_SetImageList(tree_, images, TVSIL_NORMAL);

    wchar_t drives[512] = {};
    const DWORD length = ::GetLogicalDriveStringsW(static_cast<DWORD>(std::size(drives)), drives);
    for (const wchar_t* drive = drives; drive < drives + length && *drive; drive += wcslen(drive) + 1)
        insert(TVI_ROOT, drive, drive, true);
    return tree_;
}

HTREEITEM ExplorerTree::insert(HTREEITEM parent, const std::wstring& path, const std::wstring& name, bool folder) {
    nodes_.push_back({path, name, folder, false});
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<wchar_t*>(name.c_str());
    insert.item.lParam = static_cast<LPARAM>(nodes_.size() - 1);
    insert.item.iImage = insert.item.iSelectedImage = SystemIconIndex(path, folder);
    insert.item.cChildren = folder ? 1 : 0;  // a folder shows its button until it is opened
    return TreeView_InsertItem(tree_, &insert);
}

void ExplorerTree::fill(HTREEITEM item) {
    TVITEMW data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    TreeView_GetItem(tree_, &data);
    const size_t index = static_cast<size_t>(data.lParam);
    if (index >= nodes_.size() || nodes_[index].filled)
        return;
    nodes_[index].filled = true;
    const std::wstring folder = nodes_[index].path;
    std::vector<std::wstring> folders, files;
    WIN32_FIND_DATAW entry;
    win::UniqueFind find(::FindFirstFileW(win::ExtendedPath(folder + L"*").c_str(), &entry));
    if (find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? folders : files).push_back(name);
        } while (::FindNextFileW(find.get(), &entry));
    }
    std::sort(folders.begin(), folders.end(), NameLess);
    std::sort(files.begin(), files.end(), NameLess);
    for (const std::wstring& name : folders)
        insert(item, folder + name + L"\\", name, true);
    for (const std::wstring& name : files)
        insert(item, folder + name, name, false);
    if (folders.empty() && files.empty()) {
        data.mask = TVIF_CHILDREN;
        data.cChildren = 0;
        TreeView_SetItem(tree_, &data);
    }
}

bool ExplorerTree::onNotify(const NMHDR& header) {
    if (header.hwndFrom != tree_ || header.code != TVN_ITEMEXPANDINGW)
        return false;
    const auto& expanding = reinterpret_cast<const NMTREEVIEWW&>(header);
    if (expanding.action & TVE_EXPAND)
        fill(expanding.itemNew.hItem);
    return true;
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
    HTREEITEM item = TreeView_GetSelection(tree_);
    if (!item)
        return selected;
    TVITEMW data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    TreeView_GetItem(tree_, &data);
    const size_t index = static_cast<size_t>(data.lParam);
    if (index >= nodes_.size())
        return selected;
    const Node& node = nodes_[index];
    selected.kind = node.folder ? Selection::Folder : Selection::File;
    selected.path = node.path;
    selected.name = node.name;
    return selected;
}
