#include "cleaner/FileTraces.h"

#include "win/FolderWalk.h"
#include "win/Handle.h"
#include "win/Paths.h"
#include "win/SafeFile.h"
#include "win/Strings.h"

#include <shellapi.h>

#include <iterator>

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

// One sweep: its age rule (null for a plain sweep) and its tally.
class Sweep : public win::FolderVisitor {
public:
    explicit Sweep(const AgeRuleSource* ages) : ages_(ages) {}

    void enter(const std::wstring& folder, std::size_t) override {
        folderFinal_ = win::FinalFolderPath(folder);
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
        if (!ages_ || !KeepsTempFile(rule_, entry.data.ftCreationTime, entry.data.ftLastWriteTime, today_)) {
            if (win::DeleteFileItself(entry.path(), false, folderFinal_) == win::DeleteOutcome::Deleted)
                ++deleted;
        }
        return false;
    }

    std::size_t deleted = 0;

private:
    const AgeRuleSource* ages_;
    AgeRule rule_ = AgeRule::All;
    SYSTEMTIME today_ = {};
    std::wstring folderFinal_;  // what the files of the folder entered last must be found under
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
    result.deleted = sweep.deleted;
    return result;
}

// Empties each direct sub-folder of its files, then removes it.
class SubFolderRemoval : public win::FolderVisitor {
public:
    void enter(const std::wstring& folder, std::size_t depth) override {
        if (depth == 1)
            folderFinal_ = win::FinalFolderPath(folder);
    }
    bool visit(const win::FolderEntry& entry) override {
        if (entry.depth == 0)
            return entry.isFolder();
        if (entry.isFolder() || entry.isLink())
            return false;
        // The read-only, hidden and system flags are cleared on the file itself, through the handle that
        // deletes it: by name they would be its target's, were the name a link.
        if (win::DeleteFileItself(entry.path(), true, folderFinal_) == win::DeleteOutcome::Deleted)
            ++deleted;
        return false;
    }
    void leave(const std::wstring& folder, std::size_t depth) override {
        if (depth != 1)
            return;
        ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::RemoveDirectoryW(folder.c_str());
    }

    std::size_t deleted = 0;

private:
    std::wstring folderFinal_;
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
