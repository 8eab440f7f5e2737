#include "cleaner/FileTraces.h"

#include "win/Files.h"
#include "win/Handle.h"
#include "win/Paths.h"
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

// Where the system knows them (Windows 7 on), the basic information level skips the short names and large
// fetches cut the round trips; older systems refuse both and get the classic call.
HANDLE FindFirst(const std::wstring& query, WIN32_FIND_DATAW& data) {
    static std::atomic<bool> basicRefused{false};
    if (!basicRefused.load(std::memory_order_relaxed)) {
        HANDLE find = ::FindFirstFileExW(query.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH);
        if (find != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_INVALID_PARAMETER)
            return find;
        basicRefused.store(true, std::memory_order_relaxed);
    }
    return ::FindFirstFileW(query.c_str(), &data);
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

// One sweep: its pattern, its stop request, its age rule (null for a plain sweep) and its tally.
class Sweep {
public:
    Sweep(const std::wstring& pattern, const win::StopToken& stop, const AgeRuleSource* ages)
        : pattern_(pattern), stop_(stop), ages_(ages) {}

    // folder ends with a backslash. Each level keeps its own listing open while it recurses.
    void walk(const std::wstring& folder) {
        AgeRule rule = AgeRule::All;
        SYSTEMTIME today = {};
        if (ages_) {
            rule = ages_->ageRule();
            ::GetLocalTime(&today);
        }
        WIN32_FIND_DATAW data;
        win::UniqueFind find(FindFirst(folder + pattern_, data));
        if (!find)
            return;
        do {
            if (stop_.stopRequested()) {
                result_.stopped = true;
                return;
            }
            if (win::IsDots(data.cFileName))
                continue;
            if (win::IsFolder(data)) {
                if (win::IsLink(data))
                    continue;
                walk(folder + data.cFileName + L"\\");
                if (result_.stopped)
                    return;
            } else if (!ages_ || !KeepsTempFile(rule, data.ftCreationTime, data.ftLastWriteTime, today)) {
                if (::DeleteFileW((folder + data.cFileName).c_str()))
                    ++result_.deleted;
            }
        } while (::FindNextFileW(find.get(), &data));
    }

    const SweepResult& result() const { return result_; }

private:
    const std::wstring& pattern_;
    const win::StopToken& stop_;
    const AgeRuleSource* ages_;
    SweepResult result_;
};

SweepResult RunSweep(const std::wstring& folder,
                     const std::wstring& pattern,
                     const win::StopToken& stop,
                     const AgeRuleSource* ages) {
    Sweep sweep(pattern, stop, ages);
    const std::wstring root = SweepRoot(folder);
    if (!root.empty() && !pattern.empty())
        sweep.walk(root);
    return sweep.result();
}

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
    WIN32_FIND_DATAW data;
    win::UniqueFind find(FindFirst(root + L"*.*", data));
    if (!find)
        return result;
    do {
        if (stop.stopRequested()) {
            result.stopped = true;
            return result;
        }
        if (win::IsDots(data.cFileName) || !win::IsFolder(data) || win::IsLink(data))
            continue;
        const std::wstring sub = root + data.cFileName + L"\\";
        WIN32_FIND_DATAW entry;
        win::UniqueFind files(FindFirst(sub + L"*.*", entry));
        if (files) {
            do {
                if (stop.stopRequested()) {
                    result.stopped = true;
                    return result;
                }
                if (win::IsFolder(entry))
                    continue;
                const std::wstring file = sub + entry.cFileName;
                // A file link is deleted as it is: its attributes would be its target's.
                if (!win::IsLink(entry))
                    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (::DeleteFileW(file.c_str()))
                    ++result.deleted;
            } while (::FindNextFileW(files.get(), &entry));
        }
        files.reset();
        ::SetFileAttributesW(sub.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::RemoveDirectoryW(sub.c_str());
    } while (::FindNextFileW(find.get(), &data));
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
