#include "shred/QueuedFile.h"

#include "win/Paths.h"
#include "win/SafeFile.h"

#include <cstdint>

namespace {

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

QueuedFile::QueuedFile(const std::wstring& path, Purpose purpose)
    : ownWalk_(std::make_unique<EntryWalk>()),
      walk_(*ownWalk_),
      path_(win::ExtendedPath(path)),
      name_(win::FileNameOf(path_)) {
    start(purpose);
}

QueuedFile::QueuedFile(EntryWalk& walk, const std::wstring& path, Purpose purpose, const win::ObjectId& expected)
    : walk_(walk), path_(win::ExtendedPath(path)), name_(win::FileNameOf(path_)), expected_(expected) {
    start(purpose);
}

void QueuedFile::start(Purpose purpose) {
    // Writers and deleters are kept out for as long as the file is open; readers may stay.
    const DWORD fullAccess = GENERIC_READ | GENERIC_WRITE | (purpose == Purpose::Destroy ? DELETE : 0);
    open(fullAccess, FILE_SHARE_READ);
    if (identity_ == FileIdentity::CannotOpen && error_ == ERROR_ACCESS_DENIED) {
        // Windows refuses write access to a read-only file: the flag is cleared through a handle that needs
        // none, checked first like the other, and the file opened again (and checked again).
        open(FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | DELETE,
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
    file_.reset();
    folder_ = walk_.folderOf(path_);
    if (!folder_) {
        error_ = walk_.error();
        switch (walk_.refusal()) {
            case WalkRefusal::Missing:
                identity_ = FileIdentity::Missing;
                break;
            case WalkRefusal::Link:
                identity_ = FileIdentity::Elsewhere;
                break;
            case WalkRefusal::None:
            case WalkRefusal::CannotOpen:
                identity_ = FileIdentity::CannotOpen;
                break;
        }
        return;
    }
    file_ = win::OpenRelative(folder_, name_, access | FILE_READ_ATTRIBUTES, share);
    if (!file_) {
        error_ = ::GetLastError();
        identity_ = error_ == ERROR_FILE_NOT_FOUND || error_ == ERROR_PATH_NOT_FOUND ? FileIdentity::Missing
                                                                                     : FileIdentity::CannotOpen;
        return;
    }
    DWORD tag = 0;
    if (!win::AttributesAndTag(file_.get(), attributes_, tag)) {
        error_ = ::GetLastError();
        identity_ = FileIdentity::CannotOpen;
        file_.reset();
        return;
    }
    if (attributes_ & FILE_ATTRIBUTE_DIRECTORY) {
        // A folder, or a junction or folder link: not the file that was queued.
        identity_ = FileIdentity::Folder;
        file_.reset();
        return;
    }
    error_ = ERROR_SUCCESS;
    if (attributes_ & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A file link opened as itself (Windows): removing it reaches only the link.
        identity_ = FileIdentity::LinkItself;
        return;
    }
    const WalkRefusal refusal = walk_.check(file_.get(), name_, attributes_);
    if (refusal != WalkRefusal::None) {
        // Without the system's word on what was opened, nothing may be done to it.
        error_ = refusal == WalkRefusal::CannotOpen ? ::GetLastError() : ERROR_SUCCESS;
        identity_ = refusal == WalkRefusal::CannotOpen ? FileIdentity::CannotOpen : FileIdentity::Elsewhere;
        file_.reset();
        return;
    }
    if (expected_.known() && (win::FileIndex(file_.get()) != expected_.index ||
                              (expected_.volume && walk_.volumeSerial() != expected_.volume))) {
        identity_ = FileIdentity::Replaced;
        file_.reset();
        return;
    }
    linkCount_ = win::LinkCount(file_.get());
    if (linkCount_ == 0)
        linkCount_ = 1;  // not told: the file system keeps one name a file
    identity_ = FileIdentity::Itself;
}

bool QueuedFile::clearReadOnly() {
    // Most files are not read-only: what the open already read spares a query per file.
    if (!(attributes_ & FILE_ATTRIBUTE_READONLY))
        return true;
    const DWORD kept = attributes_ & kKeptAttributes;
    return win::SetAttributesThroughHandle(file_.get(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
}

bool QueuedFile::stampTimes() {
    const FILETIME time = WipedFileTime();
    if (::SetFileTime(file_.get(), &time, &time, &time))
        return true;
    error_ = ::GetLastError();
    return false;
}

bool QueuedFile::renameTo(const std::wstring& name) {
    if (!win::RenameInFolder(file_.get(), folder_, name)) {
        error_ = ::GetLastError();
        return false;
    }
    path_ = win::FolderPartOf(path_) + name;
    name_ = name;
    return true;
}

bool QueuedFile::remove() {
    const bool marked = win::MarkForDeletion(file_.get());
    if (!marked)
        error_ = ::GetLastError();
    file_.reset();
    if (!marked)
        return false;
    // The name looked up again in the same folder, exactly as it is written.
    const win::UniqueFile left =
        win::OpenRelative(folder_, name_, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (left) {
        error_ = ERROR_FILE_EXISTS;
        return false;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
