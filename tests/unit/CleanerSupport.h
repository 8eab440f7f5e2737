#pragma once

// Helpers shared by the tests of the cleaner's engine.

#include "tests/unit/ScanSupport.h"
#include "tests/unit/TestSupport.h"

#include <windows.h>
#include <shellapi.h>

#include <set>
#include <string>

namespace test {

// Every file and folder under root, as paths relative to it (folders with a trailing backslash). Links are
// listed, not entered.
inline void CollectUnder(const std::wstring& root, const std::wstring& relative, std::set<std::wstring>& out) {
    WIN32_FIND_DATAW data;
    win::UniqueFind find(::FindFirstFileW((root + relative + L"*").c_str(), &data));
    if (!find)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.insert(relative + name + L"\\");
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                CollectUnder(root, relative + name + L"\\", out);
        } else {
            out.insert(relative + name);
        }
    } while (::FindNextFileW(find.get(), &data));
}
inline std::set<std::wstring> Under(const std::wstring& root) {
    std::set<std::wstring> out;
    CollectUnder(root, L"", out);
    return out;
}

// Noon, local time, `days` calendar days before today, as a file time.
inline FILETIME NoonDaysAgo(int days) {
    SYSTEMTIME local;
    ::GetLocalTime(&local);
    local.wHour = 12;
    local.wMinute = local.wSecond = local.wMilliseconds = 0;
    FILETIME time;
    ::SystemTimeToFileTime(&local, &time);
    ULARGE_INTEGER ticks = {{time.dwLowDateTime, time.dwHighDateTime}};
    ticks.QuadPart -= static_cast<ULONGLONG>(days) * 864000000000ULL;
    time = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME utc;
    ::FileTimeToSystemTime(&time, &local);
    ::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
    ::SystemTimeToFileTime(&utc, &time);
    return time;
}

inline void SetWrittenDaysAgo(const std::wstring& path, int days) {
    const FILETIME time = NoonDaysAgo(days);
    win::UniqueFile file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    ::SetFileTime(file.get(), nullptr, nullptr, &time);
}

// Sends a file to the recycle bin, as Explorer's Delete key does.
inline bool Recycle(const std::wstring& path) {
    std::wstring from = path + L'\0';  // the list ends with two zeros
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return ::SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

inline long long RecycleBinItems() {
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof(info);
    if (FAILED(::SHQueryRecycleBinW(nullptr, &info)))
        return -1;
    return info.i64NumItems;
}

}  // namespace test
