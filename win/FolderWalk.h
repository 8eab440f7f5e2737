#pragma once

// Folder listings and walks of whole trees, shared by the scans that queue folders and the sweeps that
// empty them.

#include "win/Files.h"
#include "win/Handle.h"
#include "win/StopToken.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace win {

// Lists folders for one walk. Where the system knows them (Windows 7 on), it asks for the basic information
// level, which skips the short 8.3 names, and for large fetches; older systems refuse both with
// ERROR_INVALID_PARAMETER, and the lister then uses the classic call for the rest of its walk.
class FolderLister {
public:
    // Calls visit(data) for each entry of folder (ending with a backslash, in the form the system is to be
    // given) that matches pattern, "." and ".." excepted, until visit answers false. False when the folder
    // cannot be listed.
    template <typename Visit>
    bool list(const std::wstring& folder, const wchar_t* pattern, Visit&& visit) {
        WIN32_FIND_DATAW data;
        UniqueFind find(open(folder + pattern, data));
        if (!find)
            return false;
        do {
            if (!IsDots(data.cFileName) && !visit(data))
                break;
        } while (::FindNextFileW(find.get(), &data));
        return true;
    }

private:
    HANDLE open(const std::wstring& query, WIN32_FIND_DATAW& data);

    bool basic_ = true;
};

// One entry met by a walk, as its folder's listing gave it.
struct FolderEntry {
    const std::wstring& folder;    // the folder listed, ending with a backslash, in the root's form
    std::size_t depth;             // of that folder: 0 for the root
    const WIN32_FIND_DATAW& data;  // name, attributes, size and times

    const wchar_t* name() const { return data.cFileName; }
    bool isFolder() const { return IsFolder(data); }
    bool isLink() const { return IsLink(data); }
    std::uint64_t size() const { return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow; }
    std::wstring path() const { return folder + data.cFileName; }
};

// What a walk does at each folder and entry. Every call comes on the walking thread.
class FolderVisitor {
public:
    virtual ~FolderVisitor() = default;
    // Before folder is listed (the root first, at depth 0), whether or not it can then be listed.
    virtual void enter(const std::wstring& folder, std::size_t depth);
    // One entry of the folder entered last. For a folder, true asks the walk to enter it; a link is
    // never entered, whatever the answer.
    virtual bool visit(const FolderEntry& entry) = 0;
    // Once folder and everything under it have been walked. Not called after a stop.
    virtual void leave(const std::wstring& folder, std::size_t depth);
};

enum class WalkEnd { Finished, Stopped };

// Walks the tree under root (ending with a backslash, in the form the walk passes to the system: the
// extended form reaches every name) without recursion, so that no depth of tree can exhaust a thread's
// stack. Each folder is listed with pattern, a folder's whole listing is read before the walk enters its
// subfolders, and those are entered in listing order, depth first: folders are entered in the order a
// recursive walk would enter them, and only one listing is open at a time. What lies behind a link is
// outside the tree: links are visited, never entered; only the root is taken as it is, link or not. A
// stop request is read before every folder and every entry: once made, the walk returns at once.
WalkEnd WalkFolders(const std::wstring& root,
                    const wchar_t* pattern,
                    FolderVisitor& visitor,
                    const StopToken& stop = StopToken::Never());

}  // namespace win
