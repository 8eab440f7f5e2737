#pragma once

// Files and folders reached through handles, one name at a time, with ntdll's own calls. Every one of them
// exists from Windows XP on, so nothing here is looked up for a later version: opening a name relative to a
// folder's handle (RootDirectory), renaming within a folder given by its handle, marking for deletion,
// listing a folder through its handle, and asking an object what it is (attributes, link count, index).
//
// A name opened relative to a folder's handle is looked up in that folder only, whatever has become of the
// folder's own name meanwhile. Opened with FILE_OPEN_REPARSE_POINT, a link (junction, symbolic link, mount
// point) is opened as itself on Windows. Under Wine a host symbolic link still leads to its target; the
// final path of what was opened tells it (see EntryWalk).

#include "win/Handle.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace win {

// What a file or folder is, whichever name reached it: the serial number of its volume and its index there.
// Zero serial and index: unknown.
struct ObjectId {
    DWORD volume = 0;
    std::uint64_t index = 0;
    bool known() const { return volume != 0 || index != 0; }
    bool operator==(const ObjectId& other) const { return volume == other.volume && index == other.index; }
    bool operator!=(const ObjectId& other) const { return !(*this == other); }
};

// What to open: a file, a folder, or either.
enum class OpenAs { Any, File, Folder };

// Opens `name` (one component, no backslash) in the folder open as `folder`, as itself (a link is never
// followed on Windows), for `access` (SYNCHRONIZE is added) and `share`. Empty on failure, with the
// system's error in GetLastError (ERROR_FILE_NOT_FOUND, ERROR_SHARING_VIOLATION, ...).
UniqueFile OpenRelative(HANDLE folder, const std::wstring& name, DWORD access, DWORD share, OpenAs as = OpenAs::Any);

// The same, through a reparse point rather than as it: for a volume mounted in a folder, whose root is
// what the folder stands for.
UniqueFile OpenRelativeThrough(HANDLE folder, const std::wstring& name, DWORD access, DWORD share);

// Whether the reparse point open as itself is a volume mounted in a folder (its target a volume's own
// name, "\??\Volume{...}\"), not a junction or a symbolic link to a path.
bool IsVolumeMountPoint(HANDLE reparsePoint);

// The attributes of an open object, and its reparse tag; false when they cannot be read.
bool AttributesAndTag(HANDLE object, DWORD& attributes, DWORD& tag);

// How many names (hard links) the open file has; 0 when it cannot be read.
DWORD LinkCount(HANDLE object);

// The file index of the open object (no volume: see VolumeSerial); 0 when it cannot be read.
std::uint64_t FileIndex(HANDLE object);

// The serial number of the volume that holds the open object; 0 when it cannot be read. Under Wine this
// asks the mount manager and costs several opens: ask it once per volume.
DWORD VolumeSerial(HANDLE object);

// Renames the open object to `name` (one component) inside the folder open as `folder`; never replaces an
// existing name (ERROR_ALREADY_EXISTS then). The object needs DELETE access.
bool RenameInFolder(HANDLE object, HANDLE folder, const std::wstring& name);

// Marks the open object for deletion: it goes when its last handle closes. The object needs DELETE access;
// a folder must be empty by then.
bool MarkForDeletion(HANDLE object);

// Lists the folder open as `folder` (FILE_LIST_DIRECTORY access) from its start: found(name, attributes)
// for each entry but "." and "..", until it answers false. False when the listing failed before its end.
bool ListFolder(HANDLE folder, const std::function<bool(const std::wstring&, DWORD)>& found);

// The name the system gives the open object: "\Device\HarddiskVolume2\..." on Windows, "\??\C:\..." or
// "\??\unix\..." under Wine, where it is the path the object was reached at once every link is resolved. Empty
// when it cannot be asked. One round trip to the Wine server, as GetFinalPathNameByHandleW (which is built on it).
std::wstring ObjectName(HANDLE object);

// Sets the attributes of the open object (FILE_ATTRIBUTE_NORMAL clears them), its times left as they are. The
// object needs FILE_WRITE_ATTRIBUTES.
bool SetAttributes(HANDLE object, DWORD attributes);

}  // namespace win
