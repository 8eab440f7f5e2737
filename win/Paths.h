#pragma once

#include <string>

namespace win {

// The path in the form that reaches any name the file system can hold: "\\?\C:\..." or
// "\\?\UNC\server\share\...". It lifts the 260-character limit and keeps names that the ordinary form
// would alter or refuse (trailing dots and spaces, CON, NUL...). Other paths are returned as they are.
std::wstring ExtendedPath(const std::wstring& path);

// "C:\..." or "\\server\share\...". Anything else would be resolved against the current folder or drive, so
// a folder built from an unknown shell folder ("" or "PAS DE CLE\") and a sub-folder name is not absolute.
bool IsAbsolutePath(const std::wstring& path);

// The last component of the path (after the last backslash or slash).
std::wstring FileNameOf(const std::wstring& path);
// Everything up to and including the last backslash or slash; empty when there is none.
std::wstring FolderPartOf(const std::wstring& path);
// Name of the last folder of the path's folder part: C:\Users\Jean\ gives Jean, C:\Data\a.txt gives Data,
// C:\ gives C:.
std::wstring LastFolderName(const std::wstring& path);

// 64-bit size of a file: -1 when the path does not exist, -2 when it is a folder or a drive root.
long long FileSizeOrKind(const std::wstring& path);
constexpr long long kPathMissing = -1;
constexpr long long kPathIsFolder = -2;

}  // namespace win
