#include "shred/ShellFolder.h"

#include "win/Handle.h"
#include "win/Strings.h"

#include <iterator>
#include <vector>

namespace {

// Value names by index; index 36 reads "AppData" and appends the Quick Launch folder.
constexpr const wchar_t* kValueNames[] = {
    nullptr,
    L"Administrative Tools",
    L"AppData",
    L"Cache",
    L"CD Burning",
    L"Cookies",
    L"Desktop",
    L"Favorites",
    L"Fonts",
    L"History",
    L"Local AppData",
    L"Local Settings",
    L"My Music",
    L"My Pictures",
    L"My Video",
    L"NetHood",
    L"Personal",
    L"PrintHood",
    L"Programs",
    L"Recent",
    L"SendTo",
    L"Start Menu",
    L"Startup",
    L"Templates",
    L"Common Administrative Tools",
    L"Common AppData",
    L"Common Desktop",
    L"Common Documents",
    L"Common Favorites",
    L"Common Programs",
    L"Common Start Menu",
    L"Common Startup",
    L"Common Templates",
    L"CommonMusic",
    L"CommonPictures",
    L"CommonVideo",
    L"AppData",
};
static_assert(std::size(kValueNames) == kShellFolderLast + 1, "one value name per ShellFolder, from index 0");

// The historical lookup read ANSI text into a buffer of this size, terminating zero included; longer
// values gave the empty text, and callers rely on that.
constexpr size_t kValueBufferBytes = 255;

HKEY RootFor(ShellFolder folder) {
    return (folder < CommonAdministrativeTools || folder == QuickLaunch) ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// Reads a string value; the empty text when it is missing, not a string or too long for the buffer.
std::wstring ReadValue(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return {};
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = size;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &read) != ERROR_SUCCESS)
        return {};
    std::wstring value(buffer.data());  // stops at the first terminating zero
    if (win::AnsiByteLength(value) + 1 > kValueBufferBytes)
        return {};
    return value;
}

}  // namespace

std::wstring ShellFolderPathUnder(const wchar_t* subKey, ShellFolder folder) {
    // A number outside the table reads the key's default value.
    const int index = static_cast<int>(folder);
    const wchar_t* name = (index >= 1 && index <= kShellFolderLast) ? kValueNames[index] : L"";
    std::wstring path;
    win::UniqueRegKey key;
    if (::RegOpenKeyExW(RootFor(folder), subKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        path = L"PAS DE CLE";
    } else {
        path = ReadValue(key.get(), name);
        key.reset();
    }
    if (folder == QuickLaunch)
        path += L"\\Microsoft\\Internet Explorer\\Quick Launch";
    return win::WithTrailingBackslash(path);
}

std::wstring ShellFolderPath(ShellFolder folder) {
    return ShellFolderPathUnder(kShellFoldersKey, folder);
}
