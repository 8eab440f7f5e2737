#include "win/Paths.h"

#include <windows.h>

#include <cwctype>

namespace win {

std::wstring ExtendedPath(const std::wstring& path) {
    if (path.size() >= 4 && (path.compare(0, 4, L"\\\\?\\") == 0 || path.compare(0, 4, L"\\\\.\\") == 0))
        return path;
    std::wstring normalised = path;
    for (wchar_t& c : normalised) {
        if (c == L'/')
            c = L'\\';
    }
    const bool driveAbsolute = normalised.size() >= 3 && normalised[1] == L':' && normalised[2] == L'\\';
    if (driveAbsolute)
        return L"\\\\?\\" + normalised;
    if (normalised.size() > 2 && normalised.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + normalised.substr(2);
    return path;
}

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring FolderPartOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring LastFolderName(const std::wstring& path) {
    size_t last = path.find_last_of(L"\\/");
    if (last == std::wstring::npos)
        return {};
    size_t previous = last == 0 ? std::wstring::npos : path.find_last_of(L"\\/", last - 1);
    size_t start = previous == std::wstring::npos ? 0 : previous + 1;
    return path.substr(start, last - start);
}

long long FileSizeOrKind(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(ExtendedPath(path).c_str(), GetFileExInfoStandard, &data))
        return kPathMissing;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return kPathIsFolder;
    return static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

bool IsAbsolutePath(const std::wstring& path) {
    if (path.size() >= 3 && std::iswalpha(path[0]) && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/'))
        return true;
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
}

}  // namespace win
