#pragma once

#include <windows.h>

#include <string>

namespace win {

// INVALID_FILE_ATTRIBUTES when the path does not exist or cannot be queried.
DWORD Attributes(const std::wstring& path);
bool Exists(const std::wstring& path);
bool IsFolder(const std::wstring& path);
bool IsFile(const std::wstring& path);

// Full path of the running executable, and its folder with a trailing backslash.
std::wstring ModulePath();
std::wstring FolderOf(const std::wstring& path);

std::wstring CurrentFolder();

// What a folder listing says of one entry.
inline bool IsDots(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}
inline bool IsFolder(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
// A junction, directory symbolic link or mount point (or a file link). What lies behind it is outside the
// folder being listed, so the program never enters it; and under Wine even its removal reaches the target.
inline bool IsLink(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace win
