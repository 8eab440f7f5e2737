#include "cleaner/FileTraces.h"

#include "win/FolderWalk.h"
#include "win/Handle.h"
#include "win/NtFile.h"
#include "win/Paths.h"
#include "win/Strings.h"

#include <shellapi.h>

#include <iterator>
#include <unordered_set>
#include <utility>

namespace cleaner {

namespace {

// The folder in the form that reaches any name, with a trailing backslash; empty when it is not absolute.
std::wstring SweepRoot(const std::wstring& folder) {
    if (!win::IsAbsolutePath(folder))
        return {};
    return win::WithTrailingBackslash(win::ExtendedPath(folder));
}

// Days since 1 January 1601 of a date, for comparisons in calendar days.
long long DayNumber(const SYSTEMTIME& day) {
    SYSTEMTIME midnight = {};
    midnight.wYear = day.wYear;
    midnight.wMonth = day.wMonth;
    midnight.wDay = day.wDay;
    FILETIME time;
    if (!::SystemTimeToFileTime(&midnight, &time))
        return 0;
    const unsigned long long ticks = (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<long long>(ticks / (10000000ULL * 86400ULL));
}

// The local calendar day of a file time (UTC), with the time-zone rules of that date.
long long LocalDayNumber(const FILETIME& time) {
    SYSTEMTIME utc, local;
    if (!::FileTimeToSystemTime(&time, &utc) || !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return 0;
    return DayNumber(local);
}

// The deletions made in one folder, through a handle on the folder itself.
//
// The folder is opened once, by its path, and kept only when it is where the walk says it is: its object name
// is the root's (the folder the caller names, taken as it is, link or not) followed by the names the walk
// listed on the way down, letter for letter. A folder swapped for a link since it was listed resolves
// elsewhere and is left. Each file is then opened relative to that handle, as itself (a reparse point is
// opened as the link on Windows), marked for deletion through its own handle, and closed; the names are
// confirmed gone by one listing of the folder through the same handle once its files have been handled.
//
// Under Wine a host file symlink reads as a plain file even opened as itself, and what is opened (and
// deleted) through it is its target. The file's object name gives it away: the target's path, not the
// folder's name and the file's. It is compared letter for letter, since a host folder tells case: a link
// "temp\twin.tmp" to "TEMP\twin.tmp", another folder of the host, differs only in case. Measured under
// Wine 8 for a cheaper sign (2 cores, 3,200 files of 100 to a folder; one round trip to the Wine server costs
// about 80 us, a bare DeleteFileW about 250 us, which is two of them):
// - the listing's FileId (FileIdBothDirectoryInformation, FileIdFullDirectoryInformation) is the target's
//   inode, as is FileIndex of the opened handle: Wine stats through the link, so they always agree;
// - attributes, reparse tag, times, link count are the target's too;
// - FileNameInformation gives the target's path without its drive (a target outside every drive reads as a
//   path of the file's own drive, so it cannot be trusted), for the same round trip as ObjectName and
//   GetFinalPathNameByHandleW (about 110 us each on a held handle);
// - a handle opened with FILE_DELETE_ON_CLOSE and checked afterwards saves one round trip (3 in all), but a
//   process ended between the open and the cancel (ExitProcess at close time) would delete the target.
// Every sound sign is a round trip to the server, so a file costs four (open, name, mark, close) against
// DeleteFileW's two: see README, "Performance".
class FolderDeletions {
public:
    // root: the walk's root, in the form the walk gives its folders (with its backslash).
    explicit FolderDeletions(const std::wstring& root) : root_(root) {
        const win::UniqueFile handle = Open(root, true);
        rootName_ = handle ? win::ObjectName(handle.get()) : std::wstring();
    }

    void start(const std::wstring& folder) {
        requested_.clear();
        const bool root = folder.size() <= root_.size();
        handle_ = Open(folder, root);
        name_ = handle_ ? win::ObjectName(handle_.get()) : std::wstring();
        std::wstring expected = rootName_;
        if (!root) {
            std::wstring relative = folder.substr(root_.size());
            if (!relative.empty() && relative.back() == L'\\')
                relative.pop_back();
            expected = win::WithTrailingBackslash(rootName_) + relative;
        }
        DWORD attributes = 0, tag = 0;
        if (name_.empty() || name_ != expected || !win::AttributesAndTag(handle_.get(), attributes, tag) ||
            (!root && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)))
            handle_.reset();
    }
    void remove(const win::FolderEntry& entry, bool clearAttributes) {
        if (!handle_)
            return;
        const std::wstring name = entry.name();
        win::UniqueFile file = win::OpenRelative(
            handle_.get(), name, DELETE | FILE_READ_ATTRIBUTES | (clearAttributes ? FILE_WRITE_ATTRIBUTES : 0),
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, win::OpenAs::File);
        // The listing's attributes stand in for the handle's: a reparse point made under the name since then
        // was opened as the link itself, never its target.
        if (!file || win::ObjectName(file.get()) != win::WithTrailingBackslash(name_) + name)
            return;
        constexpr DWORD kBlocking = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if (clearAttributes && (entry.data.dwFileAttributes & kBlocking))
            win::SetAttributes(file.get(), FILE_ATTRIBUTE_NORMAL);
        if (win::MarkForDeletion(file.get()))
            requested_.insert(name);
    }
    // How many of the names whose deletion the system took are gone (under Wine an immutable file says yes
    // and stays); lets the folder go, so that it can be removed, and starts over.
    std::size_t confirm() {
        win::UniqueFile folder = std::move(handle_);
        if (requested_.empty())
            return 0;
        const bool listed = win::ListFolder(folder.get(), [&](const std::wstring& name, DWORD) {
            requested_.erase(name);
            return !requested_.empty();
        });
        const std::size_t gone = listed ? requested_.size() : 0;
        requested_.clear();
        return gone;
    }

private:
    // Opens a folder for listing; the root as it is, any other folder as itself.
    static win::UniqueFile Open(const std::wstring& folder, bool root) {
        // A trailing backslash is not part of a folder's name, except after a drive ("C:\").
        std::wstring path = folder;
        if (path.size() > 1 && path.back() == L'\\' && path[path.size() - 2] != L':')
            path.pop_back();
        return win::UniqueFile(
            ::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS | (root ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr));
    }

    const std::wstring root_;  // the walk's root, in the form the walk gives its folders
    std::wstring rootName_;    // the root's object name
    win::UniqueFile handle_;   // the folder under way, when it is itself; empty otherwise
    std::wstring name_;        // its object name
    std::unordered_set<std::wstring> requested_;
};

// One sweep: its age rule (null for a plain sweep) and its tally.
class Sweep : public win::FolderVisitor {
public:
    Sweep(const std::wstring& root, const AgeRuleSource* ages) : ages_(ages), deletions_(root) {}

    void enter(const std::wstring& folder, std::size_t) override {
        deleted += deletions_.confirm();
        deletions_.start(folder);
        if (ages_) {
            rule_ = ages_->ageRule();
            ::GetLocalTime(&today_);
        }
    }
    bool visit(const win::FolderEntry& entry) override {
        if (entry.isFolder())
            return true;
        if (entry.isLink())
            return false;
        if (!ages_ || !KeepsTempFile(rule_, entry.data.ftCreationTime, entry.data.ftLastWriteTime, today_))
            deletions_.remove(entry, false);
        return false;
    }
    // Once the walk has ended, stopped or not.
    void finish() { deleted += deletions_.confirm(); }

    std::size_t deleted = 0;

private:
    const AgeRuleSource* ages_;
    AgeRule rule_ = AgeRule::All;
    SYSTEMTIME today_ = {};
    FolderDeletions deletions_;
};

SweepResult RunSweep(const std::wstring& folder,
                     const std::wstring& pattern,
                     const win::StopToken& stop,
                     const AgeRuleSource* ages) {
    SweepResult result;
    const std::wstring root = SweepRoot(folder);
    if (root.empty() || pattern.empty())
        return result;
    Sweep sweep(root, ages);
    result.stopped = win::WalkFolders(root, pattern.c_str(), sweep, stop) == win::WalkEnd::Stopped;
    sweep.finish();
    result.deleted = sweep.deleted;
    return result;
}

// Empties each direct sub-folder of its files, then removes it.
class SubFolderRemoval : public win::FolderVisitor {
public:
    explicit SubFolderRemoval(const std::wstring& root) : deletions_(root) {}
    void enter(const std::wstring& folder, std::size_t depth) override {
        if (depth == 1)
            deletions_.start(folder);
    }
    bool visit(const win::FolderEntry& entry) override {
        if (entry.depth == 0)
            return entry.isFolder();
        if (entry.isFolder() || entry.isLink())
            return false;
        // The read-only, hidden and system flags are cleared on the file itself, through the handle that
        // deletes it: by name they would be its target's, were the name a link.
        deletions_.remove(entry, true);
        return false;
    }
    void leave(const std::wstring& folder, std::size_t depth) override {
        if (depth != 1)
            return;
        deleted += deletions_.confirm();
        ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::RemoveDirectoryW(folder.c_str());
    }

    // Once the walk has ended: a stop comes before the folder under way is left.
    void finish() { deleted += deletions_.confirm(); }

    std::size_t deleted = 0;

private:
    FolderDeletions deletions_;
};

}  // namespace

bool KeepsTempFile(AgeRule rule, const FILETIME& created, const FILETIME& lastWritten, const SYSTEMTIME& today) {
    if (rule == AgeRule::All)
        return false;
    const long long t = DayNumber(today);
    const long long c = LocalDayNumber(created);
    const long long w = LocalDayNumber(lastWritten);
    if (rule == AgeRule::Keep24)
        return c == t || w == t || w == t - 1;
    return c == t || c == t - 1 || w == t || w == t - 1 || w == t - 2;
}

SweepResult SweepFiles(const std::wstring& folder, const std::wstring& pattern, const win::StopToken& stop) {
    return RunSweep(folder, pattern, stop, nullptr);
}

SweepResult SweepTempFiles(const std::wstring& folder,
                           const std::wstring& pattern,
                           const AgeRuleSource& ages,
                           const win::StopToken& stop) {
    return RunSweep(folder, pattern, stop, &ages);
}

SweepResult RemoveSubFolders(const std::wstring& folder, const win::StopToken& stop) {
    SweepResult result;
    const std::wstring root = SweepRoot(folder);
    if (root.empty())
        return result;
    SubFolderRemoval removal(root);
    result.stopped = win::WalkFolders(root, L"*.*", removal, stop) == win::WalkEnd::Stopped;
    removal.finish();
    result.deleted = removal.deleted;
    return result;
}

bool EmptyClipboard() {
    if (!::OpenClipboard(nullptr))
        return false;
    const bool emptied = ::EmptyClipboard() != 0;
    ::CloseClipboard();
    return emptied;
}

bool EmptyRecycleBin(bool confirm) {
    win::UniqueModule shell(::LoadLibraryW(L"shell32.dll"));
    if (!shell)
        return false;
    using EmptyFn = HRESULT(WINAPI*)(HWND, LPCWSTR, DWORD);
    const auto empty =
        reinterpret_cast<EmptyFn>(reinterpret_cast<void*>(::GetProcAddress(shell.get(), "SHEmptyRecycleBinW")));
    if (!empty)
        return false;
    return SUCCEEDED(empty(nullptr, nullptr, confirm ? 0 : SHERB_NOCONFIRMATION));
}

std::wstring UserTempFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(static_cast<DWORD>(std::size(path)), path);
    if (length == 0 || length >= std::size(path))
        return {};
    std::wstring result(path, length);
    const DWORD needed = ::GetLongPathNameW(result.c_str(), nullptr, 0);
    if (needed) {
        std::wstring longForm(needed, L'\0');
        const DWORD written = ::GetLongPathNameW(result.c_str(), longForm.data(), needed);
        if (written && written < needed)
            result.assign(longForm.c_str(), written);
    }
    return win::WithTrailingBackslash(result);
}

}  // namespace cleaner
