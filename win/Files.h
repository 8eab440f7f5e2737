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

}  // namespace win
