#pragma once

// A queued file, opened once as itself for the whole of its destruction.
//
// A link's data belongs to its target, which the user did not queue. On Windows a file symbolic link is a
// reparse point, and FILE_FLAG_OPEN_REPARSE_POINT opens the link itself. Under Wine a host symbolic link
// reads as a plain file (attributes 0x20, reparse tag 0) and every open, attribute change, move and delete
// by name reaches its target. A junction or directory link on the way to the file (a queued folder swapped
// for one) leads every name below it elsewhere, on both systems. What tells all of these apart is the path
// the system gives for the opened object (GetFinalPathNameByHandleW): the target's ("\\?\unix\..." outside
// every drive under Wine, or another "\\?\C:\..." path), not the queued one.
//
// So the file is opened once, without sharing with writers or deleters, checked to be the object that the
// queued path names, and then overwritten, dated, renamed and deleted through that same handle: nothing can
// be put under the name between the check and the act. (Measured under Wine 8: renames and deletion through
// the handle, FileRenameInfo and FileDispositionInfo, and SetFileTime all work there.)

#include "win/Handle.h"

#include <windows.h>

#include <string>

enum class FileIdentity {
    Itself,      // the queued file, open for writing, renaming and deleting
    Missing,     // nothing under the name
    Folder,      // a folder under the name
    LinkItself,  // a reparse point at the queued path, open as itself (Windows): removing it reaches only the link
    Elsewhere,   // the name, or a folder on the way to it, leads to another object: left alone
    CannotOpen,  // refused (in use, no access, no final path to check it by): error() says why
};

// The date a destroyed file bears before its name is wiped: 1 January 2000, 00:00 UTC.
FILETIME WipedFileTime();

// Whether the system's final path for an open object is the one that path names (a full path, extended or
// not): the same letters but for case, or the same once short names are made long and a substituted drive
// is followed to its folder.
bool IsAtPath(HANDLE object, const std::wstring& path);

class QueuedFile {
public:
    // What the file is opened for: writing only (readers that do not share deletion, such as a viewer, may
    // stay), or the whole destruction (writing, renaming and deleting).
    enum class Purpose { Overwrite, Destroy };

    // Opens the file at path (a full path, extended or not) as itself. A read-only flag is cleared through
    // a handle that has been checked the same way, so that a link's target never loses its own.
    explicit QueuedFile(const std::wstring& path, Purpose purpose = Purpose::Destroy);
    QueuedFile(const QueuedFile&) = delete;
    QueuedFile& operator=(const QueuedFile&) = delete;

    FileIdentity identity() const { return identity_; }
    DWORD error() const { return error_; }
    HANDLE handle() const { return file_.get(); }
    // Where the file is now (extended form): the queued path, then each name the wipe gave it.
    const std::wstring& path() const { return path_; }

    // Sets the creation, last-access and last-write times to WipedFileTime().
    bool stampTimes();
    // Renames the file within its folder to the full path `to`; never replaces an existing name.
    bool renameTo(const std::wstring& to);
    // Marks the file for deletion and closes it; true once its name is gone (a file that the system keeps
    // despite a yes, an immutable one, is not reported gone).
    bool remove();

private:
    void open(DWORD access, DWORD share);
    bool clearReadOnly();

    std::wstring path_;
    win::UniqueFile file_;
    FileIdentity identity_ = FileIdentity::CannotOpen;
    DWORD error_ = ERROR_SUCCESS;
    DWORD attributes_ = 0;  // of the file as it was opened
};
