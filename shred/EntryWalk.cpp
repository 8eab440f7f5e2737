#include "shred/EntryWalk.h"

#include "win/Paths.h"
#include "win/SafeFile.h"
#include "win/Strings.h"

namespace {

constexpr DWORD kFolderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES;
// Readers and writers inside may stay; nobody may rename or remove a folder of the walk while it is held.
constexpr DWORD kFolderShare = FILE_SHARE_READ | FILE_SHARE_WRITE;

// The name without the dots and spaces that end it: Wine's final paths drop them ("a." is given as "a").
std::wstring WithoutTrailingDots(const std::wstring& name) {
    const size_t keep = name.find_last_not_of(L". ");
    return keep == std::wstring::npos ? name : name.substr(0, keep + 1);
}

// The path as the user reads it: "C:\..." and "\\server\share\..." where the extended form is not needed.
std::wstring Readable(const std::wstring& final) {
    if (final.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return L"\\" + final.substr(7);
    if (final.size() >= 6 && final.compare(0, 4, L"\\\\?\\") == 0 && final[5] == L':' && final.size() < MAX_PATH)
        return final.substr(4);
    return final;
}

// The root of an extended path ("\\?\C:\", "\\?\UNC\server\share\", "\\?\unix\") and its components
// after it. False for a path with no root the walk knows.
bool SplitRooted(const std::wstring& extendedPath, std::wstring& root, std::vector<std::wstring>& components) {
    const std::wstring& path = extendedPath;
    size_t rest = 0;
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
        const size_t server = path.find(L'\\', 8);
        const size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        if (server == std::wstring::npos || server == 8 || share == server + 1)
            return false;
        root = share == std::wstring::npos ? path + L'\\' : path.substr(0, share + 1);
        rest = share == std::wstring::npos ? path.size() : share + 1;
    } else if (path.size() >= 7 && path.compare(0, 4, L"\\\\?\\") == 0 && path[5] == L':' && path[6] == L'\\') {
        root = path.substr(0, 7);
        rest = 7;
    } else if (path.size() >= 6 && path.compare(0, 4, L"\\\\?\\") == 0 && path[5] == L':') {
        root = path.substr(0, 6) + L'\\';
        rest = 6;
    } else if (path.compare(0, 4, L"\\\\?\\") == 0 && path.find(L'\\', 4) != std::wstring::npos) {
        // Another name space of the system ("\\?\unix\" under Wine, "\\?\Volume{...}\").
        const size_t end = path.find(L'\\', 4);
        root = path.substr(0, end + 1);
        rest = end + 1;
    } else {
        return false;
    }
    components.clear();
    for (size_t start = rest; start < path.size();) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        if (end > start)
            components.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

}  // namespace

namespace {

bool FinalIsAtItsPlace(const std::wstring& final, const std::wstring& folderFinal, const std::wstring& name) {
    if (final == win::WithTrailingBackslash(folderFinal) + name)
        return true;
    return win::UnderWine() && final == win::WithTrailingBackslash(folderFinal) + WithoutTrailingDots(name);
}

}  // namespace

bool AtItsPlace(HANDLE object, const std::wstring& folderFinal, const std::wstring& name) {
    if (!win::FinalPathsKnown())
        return true;
    const std::wstring final = win::FinalPathOf(object);
    return !final.empty() && FinalIsAtItsPlace(final, folderFinal, name);
}

std::wstring ResolveQueuedPath(const std::wstring& path) {
    const std::wstring extended = win::ExtendedPath(path);
    std::wstring folder = win::FolderPartOf(extended);
    const std::wstring name = win::FileNameOf(extended);
    if (name.empty() || folder.empty() || !win::FinalPathsKnown())
        return path;
    const std::wstring folderFinal = win::FinalFolderPath(folder);
    if (folderFinal.empty())
        return path;
    std::wstring resolved = Readable(win::WithTrailingBackslash(folderFinal) + name);
    // The path as given when nothing stood in it: the user's own spelling of the drive is kept.
    return win::SamePath(win::ExtendedPath(resolved), extended) ? path : resolved;
}

std::wstring ResolveScanRoot(const std::wstring& folder) {
    if (!win::FinalPathsKnown())
        return folder;
    const std::wstring final = win::FinalFolderPath(win::ExtendedPath(folder));
    if (final.empty())
        return folder;
    const std::wstring resolved = win::WithTrailingBackslash(Readable(final));
    return win::SamePath(win::ExtendedPath(resolved), win::ExtendedPath(win::WithTrailingBackslash(folder))) ? folder
                                                                                                             : resolved;
}

win::ObjectId IdentityAtQueueTime(const std::wstring& path) {
    // The object itself, never what a link under the name points at. Its volume is not asked here (under
    // Wine that costs several opens per file): the walk reaches it from the same root at run time.
    win::ObjectId id;
    const win::UniqueFile object(::CreateFileW(
        win::ExtendedPath(path).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (object)
        id.index = win::FileIndex(object.get());
    return id;
}

HANDLE EntryWalk::refuse(WalkRefusal refusal, DWORD error) {
    refusal_ = refusal;
    error_ = error;
    return nullptr;
}

void EntryWalk::reset() {
    chain_.clear();
    rootHandle_.reset();
    root_.clear();
    rootFinal_.clear();
    rootSerial_ = 0;
}

bool EntryWalk::openRoot(const std::wstring& root) {
    reset();
    rootHandle_.reset(::CreateFileW(root.c_str(), kFolderAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!rootHandle_)
        return false;
    root_ = root;
    if (win::FinalPathsKnown()) {
        rootFinal_ = win::FinalPathOf(rootHandle_.get());
        if (rootFinal_.empty()) {
            // Without the system's word on where the root is, nothing below it can be checked.
            rootHandle_.reset();
            root_.clear();
            return false;
        }
    }
    return true;
}

DWORD EntryWalk::volumeSerial() {
    if (!rootSerial_ && rootHandle_)
        rootSerial_ = win::VolumeSerial(rootHandle_.get());
    return rootSerial_;
}

WalkRefusal EntryWalk::check(HANDLE object, const std::wstring& name, DWORD attributes) const {
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return WalkRefusal::Link;
    if (!win::FinalPathsKnown())
        return WalkRefusal::None;
    const std::wstring final = win::FinalPathOf(object);
    if (final.empty())
        return WalkRefusal::CannotOpen;
    return FinalIsAtItsPlace(final, folderFinal(), name) ? WalkRefusal::None : WalkRefusal::Link;
}

HANDLE EntryWalk::folderOf(const std::wstring& path) {
    refusal_ = WalkRefusal::None;
    error_ = ERROR_SUCCESS;
    std::wstring root;
    std::vector<std::wstring> components;
    if (!SplitRooted(win::ExtendedPath(path), root, components) || components.empty())
        return refuse(WalkRefusal::CannotOpen, ERROR_BAD_PATHNAME);
    components.pop_back();  // the entry's own name
    if (root != root_ || !rootHandle_) {
        if (!openRoot(root)) {
            const DWORD error = ::GetLastError();
            const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
            return refuse(missing ? WalkRefusal::Missing : WalkRefusal::CannotOpen, error);
        }
    }
    // The folders shared with the last walk stay open; the others are closed, deepest first.
    size_t shared = 0;
    while (shared < chain_.size() && shared < components.size() && chain_[shared].name == components[shared])
        ++shared;
    while (chain_.size() > shared)
        chain_.pop_back();
    for (size_t i = shared; i < components.size(); ++i) {
        const HANDLE parent = chain_.empty() ? rootHandle_.get() : chain_.back().handle.get();
        Step step;
        step.name = components[i];
        step.handle = win::OpenRelative(parent, step.name, kFolderAccess, kFolderShare, win::OpenAs::Folder);
        if (!step.handle) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return refuse(WalkRefusal::Missing, error);
            // A file where a folder should be leads nowhere either.
            if (error == ERROR_DIRECTORY)
                return refuse(WalkRefusal::Missing, ERROR_PATH_NOT_FOUND);
            return refuse(WalkRefusal::CannotOpen, error);
        }
        DWORD attributes = 0, tag = 0;
        if (!win::AttributesAndTag(step.handle.get(), attributes, tag))
            return refuse(WalkRefusal::CannotOpen, ::GetLastError());
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && tag == IO_REPARSE_TAG_MOUNT_POINT) {
            // A volume mounted in a folder is the user's own way on, as a drive letter is; a junction to a
            // path is a link. Under Wine, whose host links never show a reparse flag once opened, the flag
            // marks a mount point of the host (another file system mounted there).
            if (win::UnderWine()) {
                attributes &= ~FILE_ATTRIBUTE_REPARSE_POINT;
            } else if (win::IsVolumeMountPoint(step.handle.get())) {
                step.handle = win::OpenRelativeThrough(parent, step.name, kFolderAccess, kFolderShare);
                if (!step.handle)
                    return refuse(WalkRefusal::CannotOpen, ::GetLastError());
                attributes &= ~FILE_ATTRIBUTE_REPARSE_POINT;
            }
        }
        const WalkRefusal refusal = check(step.handle.get(), step.name, attributes);
        if (refusal != WalkRefusal::None)
            return refuse(refusal, refusal == WalkRefusal::CannotOpen ? ::GetLastError() : ERROR_SUCCESS);
        if (win::FinalPathsKnown())
            step.final = win::WithTrailingBackslash(folderFinal()) + step.name;
        chain_.push_back(std::move(step));
    }
    return chain_.empty() ? rootHandle_.get() : chain_.back().handle.get();
}
