#include "shred/QueuedFile.h"

#include "win/Paths.h"
#include "win/SafeFile.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Whether final, the system's path for an open object, is the one that `wanted` (extended form) names.
// The letters alone decide in nearly every case, at no cost. Otherwise the path may still be the same
// object written another way: short names (PROGRA~1), or a drive that is a substitute for a folder or a
// mapped share, whose final path starts at what the drive stands for.
bool FinalPathIs(const std::wstring& final, const std::wstring& wanted) {
    if (win::SamePath(final, wanted))
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
        std::wstring rootFinal = root ? win::FinalPathOf(root.get()) : std::wstring();
        if (!rootFinal.empty()) {
            if (rootFinal.back() != L'\\')
                rootFinal += L'\\';
            expected = rootFinal + expected.substr(kDriveRoot);
        }
    }
    return win::SamePath(final, expected);
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
    const std::wstring final = win::FinalPathOf(object);
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
    const DWORD attributes = win::AttributesOf(file_.get());
    attributes_ = attributes;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error_ = ::GetLastError();
        identity_ = FileIdentity::CannotOpen;
        file_.reset();
        return;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        identity_ = FileIdentity::Folder;
        file_.reset();
        return;
    }
    const std::wstring final = win::FinalPathOf(file_.get());
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
        identity_ = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? FileIdentity::LinkItself : FileIdentity::Itself;
    }
}

bool QueuedFile::clearReadOnly() {
    // Most files are not read-only: what the open already read spares a query per file.
    if (!(attributes_ & FILE_ATTRIBUTE_READONLY))
        return true;
    FILE_BASIC_INFO basic = {};
    if (!win::GetFileInfo(file_.get(), FileBasicInfo, &basic, sizeof(basic)))
        return false;
    if (!(basic.FileAttributes & FILE_ATTRIBUTE_READONLY))
        return true;
    const DWORD kept = basic.FileAttributes & kKeptAttributes;
    FILE_BASIC_INFO change = {};  // times left at 0: unchanged
    change.FileAttributes = kept ? kept : FILE_ATTRIBUTE_NORMAL;
    return win::SetFileInfo(file_.get(), FileBasicInfo, &change, sizeof(change));
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
    if (!win::SetFileInfo(file_.get(), FileRenameInfo, info, static_cast<DWORD>(bytes))) {
        error_ = ::GetLastError();
        return false;
    }
    path_ = target;
    return true;
}

bool QueuedFile::remove() {
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    const bool marked = win::SetFileInfo(file_.get(), FileDispositionInfo, &disposition, sizeof(disposition));
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
