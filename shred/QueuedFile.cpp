#include "shred/QueuedFile.h"

#include "win/Paths.h"

#include <winternl.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// The object's own name from the system ("\\??\\C:\\..." under Wine), in the "\\\\?\\" form; empty otherwise.
// Wine's GetFinalPathNameByHandleW fails with ERROR_MORE_DATA for any path longer than MAX_PATH, whatever the
// buffer, and builds its answer from this name, which has no such limit.
std::wstring NativeNameOf(HANDLE object) {
    using Query = LONG(NTAPI*)(HANDLE, OBJECT_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
    if (!query)
        return std::wstring();
    constexpr ULONG kBytes = 70000;  // the longest path there is, and the header
    std::vector<std::uint64_t> buffer(kBytes / sizeof(std::uint64_t));
    ULONG returned = 0;
    if (query(object, static_cast<OBJECT_INFORMATION_CLASS>(1) /* ObjectNameInformation */, buffer.data(), kBytes,
              &returned) < 0)
        return std::wstring();
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    const std::wstring text(name->Buffer, name->Length / sizeof(wchar_t));
    if (text.compare(0, 4, L"\\??\\") != 0)
        return std::wstring();
    return L"\\\\?\\" + text.substr(4);
}

// GetFinalPathNameByHandleW's answer for an open object, "\\?\C:\..." for one on a drive; empty when the
// system cannot say.
std::wstring FinalPathOf(HANDLE object) {
    // Windows gives the length needed when the buffer is too small; Wine fails instead, so a failure is
    // tried again once with room for the longest path there is.
    constexpr DWORD kLongest = 32768;
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(object, path.data(), static_cast<DWORD>(path.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length > 0 && length < path.size()) {
            path.resize(length);
            return path;
        }
        if (length == 0 && ::GetLastError() == ERROR_MORE_DATA)
            return NativeNameOf(object);
        if (path.size() >= kLongest)
            return std::wstring();
        path.assign(length > 0 && length < kLongest ? length + 1 : kLongest, L'\0');
    }
}

// The path with the dots and spaces that end its components taken off. Wine's final paths drop them (a
// file "a." is given as "a"), where Windows keeps the name as it is.
std::wstring WithoutTrailingDots(const std::wstring& path) {
    std::wstring trimmed;
    trimmed.reserve(path.size());
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\') {
            const size_t keep = trimmed.find_last_not_of(L". ");
            const size_t component = trimmed.find_last_of(L'\\');
            // Only a component's end: "." and ".." of a "\\?\" prefix never occur, and a name of dots only stays.
            if (keep != std::wstring::npos && (component == std::wstring::npos || keep > component))
                trimmed.resize(keep + 1);
            if (i < path.size())
                trimmed += L'\\';
        } else {
            trimmed += path[i];
        }
    }
    return trimmed;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// Whether final, the system's path for an open object, is the one that `wanted` (extended form) names.
// The letters alone decide in nearly every case, at no cost. Otherwise the path may still be the same
// object written another way: short names (PROGRA~1), or a drive that is a substitute for a folder or a
// mapped share, whose final path starts at what the drive stands for.
bool FinalPathIs(const std::wstring& final, const std::wstring& wanted) {
    if (SameText(final, wanted))
        return true;
    std::wstring expected = wanted;
    const DWORD length = ::GetLongPathNameW(wanted.c_str(), nullptr, 0);
    if (length > 0) {
        std::wstring longPath(length, L'\0');
        const DWORD written = ::GetLongPathNameW(wanted.c_str(), longPath.data(), length);
        if (written > 0 && written < length) {
            longPath.resize(written);
            expected = longPath;
        }
    }
    // "\\?\X:\": the drive's own final path stands in for it.
    constexpr size_t kDriveRoot = 7;
    if (expected.size() > kDriveRoot && expected.compare(0, 4, L"\\\\?\\") == 0 && expected[5] == L':') {
        win::UniqueFile root(::CreateFileW(expected.substr(0, kDriveRoot).c_str(), FILE_READ_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        std::wstring rootFinal = root ? FinalPathOf(root.get()) : std::wstring();
        if (!rootFinal.empty()) {
            if (rootFinal.back() != L'\\')
                rootFinal += L'\\';
            expected = rootFinal + expected.substr(kDriveRoot);
        }
    }
    return SameText(final, expected) || SameText(final, WithoutTrailingDots(expected));
}

// The attributes that may stay on a file once its read-only flag is gone.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

FILETIME WipedFileTime() {
    // 1 January 2000, 00:00 UTC, in 100-nanosecond steps since 1 January 1601.
    constexpr std::uint64_t kTicks = 0x01BF53EB256D4000ull;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(kTicks);
    time.dwHighDateTime = static_cast<DWORD>(kTicks >> 32);
    return time;
}

bool IsAtPath(HANDLE object, const std::wstring& path) {
    const std::wstring final = FinalPathOf(object);
    return !final.empty() && FinalPathIs(final, win::ExtendedPath(path));
}

QueuedFile::QueuedFile(const std::wstring& path, Purpose purpose) : path_(win::ExtendedPath(path)) {
    // Writers and deleters are kept out for as long as the file is open; readers may stay.
    const DWORD fullAccess = GENERIC_READ | GENERIC_WRITE | (purpose == Purpose::Destroy ? DELETE : 0);
    open(fullAccess, FILE_SHARE_READ);
    if (identity_ == FileIdentity::CannotOpen && error_ == ERROR_ACCESS_DENIED) {
        // Windows refuses write access to a read-only file: the flag is cleared through a handle that needs
        // none, checked first like the other, and the file opened again (and checked again).
        open(FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | DELETE | SYNCHRONIZE,
             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        if (identity_ == FileIdentity::Itself) {
            const bool cleared = clearReadOnly();
            file_.reset();
            identity_ = FileIdentity::CannotOpen;
            error_ = ERROR_ACCESS_DENIED;
            if (cleared)
                open(fullAccess, FILE_SHARE_READ);
        }
    } else if (identity_ == FileIdentity::Itself) {
        // Where write access came anyway (Wine runs programs as administrator), the flag would still stop
        // the deletion.
        clearReadOnly();
    }
}

void QueuedFile::open(DWORD access, DWORD share) {
    file_.reset(
        ::CreateFileW(path_.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file_) {
        error_ = ::GetLastError();
        identity_ = error_ == ERROR_FILE_NOT_FOUND || error_ == ERROR_PATH_NOT_FOUND ? FileIdentity::Missing
                                                                                     : FileIdentity::CannotOpen;
        return;
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(file_.get(), &info)) {
        error_ = ::GetLastError();
        identity_ = FileIdentity::CannotOpen;
        file_.reset();
        return;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        identity_ = FileIdentity::Folder;
        file_.reset();
        return;
    }
    const std::wstring final = FinalPathOf(file_.get());
    if (final.empty()) {
        // Without the system's word on what was opened, nothing may be done to it.
        error_ = ::GetLastError();
        identity_ = FileIdentity::CannotOpen;
        file_.reset();
        return;
    }
    error_ = ERROR_SUCCESS;
    if (!FinalPathIs(final, path_)) {
        identity_ = FileIdentity::Elsewhere;
        file_.reset();
    } else {
        identity_ =
            (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? FileIdentity::LinkItself : FileIdentity::Itself;
    }
}

bool QueuedFile::clearReadOnly() {
    FILE_BASIC_INFO basic = {};
    if (!::GetFileInformationByHandleEx(file_.get(), FileBasicInfo, &basic, sizeof(basic)))
        return false;
    if (!(basic.FileAttributes & FILE_ATTRIBUTE_READONLY))
        return true;
    const DWORD kept = basic.FileAttributes & kKeptAttributes;
    FILE_BASIC_INFO change = {};  // times left at 0: unchanged
    change.FileAttributes = kept ? kept : FILE_ATTRIBUTE_NORMAL;
    return ::SetFileInformationByHandle(file_.get(), FileBasicInfo, &change, sizeof(change)) != FALSE;
}

bool QueuedFile::stampTimes() {
    const FILETIME time = WipedFileTime();
    if (::SetFileTime(file_.get(), &time, &time, &time))
        return true;
    error_ = ::GetLastError();
    return false;
}

bool QueuedFile::renameTo(const std::wstring& to) {
    // The native form of the new name: the system's own "\??\" prefix, which every version reads as is.
    const std::wstring target = win::ExtendedPath(to);
    const std::wstring native = L"\\??\\" + target.substr(4);
    const size_t bytes = sizeof(FILE_RENAME_INFO) + native.size() * sizeof(wchar_t);
    std::vector<std::uint64_t> buffer((bytes + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(native.size() * sizeof(wchar_t));
    std::memcpy(info->FileName, native.c_str(), native.size() * sizeof(wchar_t));
    if (!::SetFileInformationByHandle(file_.get(), FileRenameInfo, info, static_cast<DWORD>(bytes))) {
        error_ = ::GetLastError();
        return false;
    }
    path_ = target;
    return true;
}

bool QueuedFile::remove() {
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    const bool marked =
        ::SetFileInformationByHandle(file_.get(), FileDispositionInfo, &disposition, sizeof(disposition)) != FALSE;
    if (!marked)
        error_ = ::GetLastError();
    file_.reset();
    if (!marked)
        return false;
    if (::GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES) {
        error_ = ERROR_FILE_EXISTS;
        return false;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
