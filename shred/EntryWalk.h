#pragma once

// Reaching a queued entry by walking to it, never by handing its whole path to the system.
//
// A whole path is resolved by the system, through whatever links stand in it now: a folder of the queue
// swapped for a junction, or (under Wine) for a host symbolic link, leads every name below it elsewhere. So
// the walk opens the entry's volume root, then each folder on the way relative to the handle before it
// (win::OpenRelative: one name, looked up in that folder only, a link opened as itself), and refuses any
// folder that is a link or is not where its name says:
// - on Windows a link is a reparse point, and shows as one once opened as itself;
// - under Wine a host symbolic link reads as a plain file or folder, and what gives it away is the system's
//   final path for the opened object: its target's. So each object's final path must be its folder's final
//   path plus the name asked, letter for letter (host folders are case-sensitive, and a link to a twin that
//   differs only in case gives the twin's name).
// The folders are kept open, without sharing deletion, for the entries that follow in the same folders, so
// that a program of this system cannot rename or replace them meanwhile.
//
// The links that stand above an entry when it is queued (Documents under Wine, a drive letter over a folder
// of another drive, a mounted folder) are the user's way to it: ResolveQueuedPath replaces them once, at
// queue time, by the place they lead to, and the walk starts from there.

#include "win/Handle.h"
#include "win/NtFile.h"

#include <windows.h>

#include <string>
#include <vector>

// Why an object cannot be acted on.
enum class WalkRefusal {
    None,        // reached: the object itself, at its place
    Missing,     // the name, or a folder on the way, does not exist
    Link,        // a link, or it leads elsewhere through one: never followed
    CannotOpen,  // refused by the system: error() says why
};

// The queued path's place, with the links above its last name resolved: the final path of its folder (in
// the "C:\..." form where a drive letter reaches it, the system's extended form otherwise) plus its name as
// given. A path whose folder cannot be opened is returned as it is; the run then says why.
std::wstring ResolveQueuedPath(const std::wstring& path);

// A folder to scan, resolved whole (the user pointed at it, link or not): its final path, with a trailing
// backslash, so that everything the scan queues lies under a path with no link in it.
std::wstring ResolveScanRoot(const std::wstring& folder);

// What a queued entry was when it was queued: its index on its volume (the volume left unknown); unknown
// (zero) when it could not be opened then.
win::ObjectId IdentityAtQueueTime(const std::wstring& path);

class EntryWalk {
public:
    EntryWalk() = default;
    EntryWalk(const EntryWalk&) = delete;
    EntryWalk& operator=(const EntryWalk&) = delete;

    // The folder that holds path (a full path, extended or not), reached from its volume root; its handle
    // belongs to the walk and stays valid until the next call. Null when refused: refusal() and error() say
    // why. The folders shared with the previous call are not opened again.
    HANDLE folderOf(const std::wstring& path);
    // The system's final path of the folder last reached ("\\?\C:\..."); empty where the system cannot
    // give final paths (Windows XP).
    const std::wstring& folderFinal() const { return chain_.empty() ? rootFinal_ : chain_.back().final; }
    // The serial number of the volume of the folder last reached, asked once per volume.
    DWORD volumeSerial();

    WalkRefusal refusal() const { return refusal_; }
    DWORD error() const { return error_; }

    // Whether the object opened as `name` in the folder last reached is that name's own object: not a link,
    // and at the folder's final path plus the name. attributes: what the object says of itself.
    WalkRefusal check(HANDLE object, const std::wstring& name, DWORD attributes) const;

    // Closes every folder kept open.
    void reset();

private:
    struct Step {
        std::wstring name;
        win::UniqueFile handle;
        std::wstring final;
    };
    bool openRoot(const std::wstring& root);
    HANDLE refuse(WalkRefusal refusal, DWORD error);

    std::wstring root_;  // "\\?\C:\", "\\?\UNC\server\share\", ...
    win::UniqueFile rootHandle_;
    std::wstring rootFinal_;
    DWORD rootSerial_ = 0;
    std::vector<Step> chain_;
    WalkRefusal refusal_ = WalkRefusal::None;
    DWORD error_ = ERROR_SUCCESS;
};

// Whether the object opened as `name` in the folder whose final path is folderFinal is that name's own:
// its final path is the folder's plus the name, letter for letter (Wine drops the dots and spaces that end
// a name). True where the system gives no final paths (Windows XP: the reparse flag alone tells a link).
bool AtItsPlace(HANDLE object, const std::wstring& folderFinal, const std::wstring& name);
