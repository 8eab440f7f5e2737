#include "cleaner/FileTraces.h"

#include "win/FolderWalk.h"
#include "win/Handle.h"
#include "win/Paths.h"
#include "win/SafeFile.h"
#include "win/Strings.h"

#include <shellapi.h>

#include <iterator>
#include <unordered_set>

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

// The deletions made in one folder. Each file is deleted as itself (win/SafeFile.h), never through a link;
// the names are confirmed gone by one listing of the folder once its files have been handled, since under
// Wine looking up a missing name reads the whole folder: a check per file would read it once per file.
class FolderDeletions {
public:
    void start(const std::wstring& folder) {
        folder_ = folder;
        folderFinal_ = win::FinalFolderPath(folder);
    }
    void remove(const win::FolderEntry& entry, bool clearAttributes) {
        win::DeleteOptions options;
        options.clearAttributes = clearAttributes;
        options.folderFinal = &folderFinal_;
        options.listedAttributes = entry.data.dwFileAttributes;
        options.confirm = false;
        if (win::DeleteFileItself(entry.path(), options) == win::DeleteOutcome::Requested)
            requested_.insert(entry.name());
    }
    // How many of the names whose deletion the system took are gone; starts over.
    std::size_t confirm() {
        if (requested_.empty())
            return 0;
        win::FolderLister lister;
        const bool listed = lister.list(folder_, L"*", [&](const WIN32_FIND_DATAW& data) {
            requested_.erase(data.cFileName);
            return !requested_.empty();
        });
        const DWORD error = ::GetLastError();
        // A folder that cannot be listed any more because it is gone took its files with it; one that cannot
        // be listed for another reason confirms nothing.
        const bool folderGone = !listed && (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND);
        const std::size_t gone = listed || folderGone ? requested_.size() : 0;
        requested_.clear();
        return gone;
    }

private:
    std::wstring folder_;
    std::wstring folderFinal_;  // what the folder's files must be found under, links aside
    std::unordered_set<std::wstring> requested_;
};

// One sweep: its age rule (null for a plain sweep) and its tally.
class Sweep : public win::FolderVisitor {
public:
    explicit Sweep(const AgeRuleSource* ages) : ages_(ages) {}

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
    Sweep sweep(ages);
    result.stopped = win::WalkFolders(root, pattern.c_str(), sweep, stop) == win::WalkEnd::Stopped;
    sweep.finish();
    result.deleted = sweep.deleted;
    return result;
}

// Empties each direct sub-folder of its files, then removes it.
class SubFolderRemoval : public win::FolderVisitor {
public:
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
    SubFolderRemoval removal;
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
