#pragma once

// Acting on a file itself, never on what a link under its name points at.
//
// On Windows a file symbolic link is a reparse point, and opening it with FILE_FLAG_OPEN_REPARSE_POINT opens
// the link. Under Wine a host symbolic link reads as a plain file (no reparse flag, tag 0): every open,
// attribute change, move and delete by name reaches its target, wherever that lies. What tells it apart is
// the path the system gives for the opened object (GetFinalPathNameByHandleW): the target's
// ("\\?\unix\..." outside every drive, or another "\\?\C:\..." path), not the folder's path and the name.
//
// So a file is opened once, checked to be the object that its folder and name stand for, and then changed
// and deleted through that same handle: nothing can be put under the name between the check and the act.
// A link is left as it is (under Wine even its deletion would reach the target).

#include "win/Handle.h"

#include <windows.h>

#include <string>

namespace win {

// The path the system gives for an open file or folder: "\\?\C:\...", "\\?\UNC\...", under Wine
// "\\?\unix\..." for an object outside every drive; the system's own form ("\Device\...") where no drive
// letter reaches it. Empty when it cannot be asked (Windows XP) or answers nothing. Under Wine, which cannot
// give a path longer than MAX_PATH that way, the object's name is asked of the system instead.
std::wstring FinalPathOf(HANDLE handle);

// Whether a final path is the one expected: compared without regard to case, as the file system does, and
// allowing for Wine, whose final paths drop the dots and spaces that end a name.
bool SamePath(const std::wstring& final, const std::wstring& expected);

// FinalPathOf the folder (opened as it is, so a folder the caller names may itself be a link), against which
// the files listed in it are checked. Empty when it cannot be opened or asked.
std::wstring FinalFolderPath(const std::wstring& folder);

// Whether the program runs under Wine (its ntdll exports wine_get_version), where every open, rename and
// removal by a host link's name reaches its target, and a link's own removal too.
bool UnderWine();

// Whether the system can give final paths (Windows Vista on, Wine): without it, the reparse flag alone
// tells a link, which is all that Windows XP has for files.
bool FinalPathsKnown();

// A file opened as itself.
struct FileItself {
    UniqueFile handle;  // open on the object that the path names itself, or empty
    bool link = false;  // the name is a reparse point, or it led to another object: nothing was done to it
    DWORD error = 0;    // the system's error when it could not be opened (handle empty, link false)
    DWORD attributes = 0;
    explicit operator bool() const { return static_cast<bool>(handle); }
};

// Opens path (a file; with the FILE_FLAG_BACKUP_SEMANTICS the caller may add to flags, a folder) with
// FILE_FLAG_OPEN_REPARSE_POINT and keeps the handle only when it is the object itself: not a reparse point,
// and, where the system gives final paths, at folderFinal + its name (folderFinal: FinalFolderPath of its
// folder; empty: computed here). disposition OPEN_EXISTING or CREATE_NEW (a new file is checked too).
// listedAttributes, when a listing has just given them, stand in for a query of the handle: a reparse point
// made under the name since then is opened as the link itself (never its target), so what is done
// through the handle still reaches only the name's own object.
FileItself OpenFileItself(const std::wstring& path,
                          DWORD access,
                          DWORD share,
                          DWORD disposition = OPEN_EXISTING,
                          DWORD flags = 0,
                          const std::wstring& folderFinal = std::wstring(),
                          DWORD listedAttributes = INVALID_FILE_ATTRIBUTES);

// Marks the open file for deletion (it goes when its last handle closes); the handle needs DELETE access.
// False when the system refuses (read-only, a folder that is not empty) or cannot do it on a handle
// (Windows XP).
bool DeleteThroughHandle(HANDLE file);

// Sets the attributes of the open file (FILE_ATTRIBUTE_NORMAL clears them); the handle needs
// FILE_WRITE_ATTRIBUTES. False when refused or not possible on a handle (Windows XP).
bool SetAttributesThroughHandle(HANDLE file, DWORD attributes);

enum class DeleteOutcome {
    Deleted,    // the name is gone
    Requested,  // the system took the deletion; whether the name is gone is for the caller to check
    Link,       // a link: left in place, its target untouched
    Failed,     // not opened, or refused, or still there after the system said yes
};

// How DeleteFileItself goes about one file.
struct DeleteOptions {
    bool clearAttributes = false;  // clear read-only, hidden and system first, through the same handle
    // FinalFolderPath of the file's folder, when the caller keeps it for a whole folder; null: computed here.
    const std::wstring* folderFinal = nullptr;
    DWORD listedAttributes = INVALID_FILE_ATTRIBUTES;  // what a listing has just said of the file, when known
    // Check that the name is gone. Under Wine a name that is missing costs a read of the whole folder (for
    // a name that differs only in case), so a sweep passes false and checks its folder once, by listing it.
    bool confirm = true;
};

// Deletes the file path itself: opened as itself, its flags cleared through the same handle when asked,
// marked for deletion through it, and reported Deleted only once the name is gone (some file systems say yes
// and keep the file: an immutable file under Wine). On Windows XP, which cannot delete through a handle,
// the name is deleted right after the check.
DeleteOutcome DeleteFileItself(const std::wstring& path, const DeleteOptions& options = DeleteOptions());

}  // namespace win
