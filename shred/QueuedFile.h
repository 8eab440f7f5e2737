#pragma once

// A queued file, opened once as itself for the whole of its destruction.
//
// A link's data belongs to its target, which the user did not queue; so does the data of a file that has
// other names (hard links). The file is reached by walking to it from its volume's root (EntryWalk: no
// folder on the way may be a link or lead elsewhere), opened in its folder as itself, without sharing with
// writers or deleters, and checked: not a link, at its folder's final path plus its name (under Wine a host
// symbolic link reads as a plain file and only its final path tells), and the object seen at queue time when
// its identity was taken then. It is then overwritten, dated, renamed within its folder and deleted through
// that same handle: nothing can be put under the name between the check and the act.

#include "shred/EntryWalk.h"
#include "win/Handle.h"
#include "win/NtFile.h"

#include <windows.h>

#include <memory>
#include <string>

enum class FileIdentity {
    Itself,      // the queued file, open for writing, renaming and deleting
    Missing,     // nothing under the name
    Folder,      // a folder under the name
    LinkItself,  // a reparse point at the queued path, open as itself (Windows): removing it reaches only the link
    Elsewhere,   // the name, or a folder on the way to it, leads to another object: left alone
    Replaced,    // another object than the one queued stands under the name: left alone
    CannotOpen,  // refused (in use, no access, no final path to check it by): error() says why
};

// The date a destroyed file bears before its name is wiped: 1 January 2000, 00:00 UTC.
FILETIME WipedFileTime();

class QueuedFile {
public:
    // What the file is opened for: writing only (readers that do not share deletion, such as a viewer, may
    // stay), or the whole destruction (writing, renaming and deleting).
    enum class Purpose { Overwrite, Destroy };

    // Opens the file at path (a full path, extended or not) as itself, reached through walk (whose folders
    // must stay open while the file is). expected: the identity the entry had when queued, if known. A
    // read-only flag is cleared through the checked handle, so that a link's target never loses its own.
    QueuedFile(EntryWalk& walk,
               const std::wstring& path,
               Purpose purpose = Purpose::Destroy,
               const win::ObjectId& expected = win::ObjectId());
    // The same with a walk of its own.
    explicit QueuedFile(const std::wstring& path, Purpose purpose = Purpose::Destroy);
    QueuedFile(const QueuedFile&) = delete;
    QueuedFile& operator=(const QueuedFile&) = delete;

    FileIdentity identity() const { return identity_; }
    DWORD error() const { return error_; }
    HANDLE handle() const { return file_.get(); }
    // How many names the file has; above 1 its data is not the queued name's alone.
    DWORD linkCount() const { return linkCount_; }
    // Where the file is now (extended form): the queued path, then each name the wipe gave it.
    const std::wstring& path() const { return path_; }

    // Sets the creation, last-access and last-write times to WipedFileTime().
    bool stampTimes();
    // Renames the file within its folder to `name`; never replaces an existing name (ERROR_ALREADY_EXISTS).
    bool renameTo(const std::wstring& name);
    // Marks the file for deletion and closes it; true once its name is gone (a file that the system keeps
    // despite a yes, an immutable one, is not reported gone).
    bool remove();

private:
    void start(Purpose purpose);
    void open(DWORD access, DWORD share);
    bool clearReadOnly();

    std::unique_ptr<EntryWalk> ownWalk_;
    EntryWalk& walk_;
    HANDLE folder_ = nullptr;  // the walk's, open while the file is
    std::wstring path_;
    std::wstring name_;
    win::ObjectId expected_;
    win::UniqueFile file_;
    FileIdentity identity_ = FileIdentity::CannotOpen;
    DWORD error_ = ERROR_SUCCESS;
    DWORD attributes_ = 0;  // of the file as it was opened
    DWORD linkCount_ = 1;
};
