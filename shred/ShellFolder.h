#pragma once

#include <string>

// A well-known folder, named by its index 1 to 36 in the Explorer's "Shell Folders" key.
enum ShellFolder : int {
    AdministrativeTools = 1,
    AppData = 2,
    InternetCache = 3,
    CdBurning = 4,
    Cookies = 5,
    Desktop = 6,
    Favorites = 7,
    Fonts = 8,
    History = 9,
    LocalAppData = 10,
    LocalSettings = 11,
    MyMusic = 12,
    MyPictures = 13,
    MyVideo = 14,
    NetHood = 15,
    Personal = 16,
    PrintHood = 17,
    Programs = 18,
    Recent = 19,
    SendTo = 20,
    StartMenu = 21,
    Startup = 22,
    Templates = 23,
    CommonAdministrativeTools = 24,
    CommonAppData = 25,
    CommonDesktop = 26,
    CommonDocuments = 27,
    CommonFavorites = 28,
    CommonPrograms = 29,
    CommonStartMenu = 30,
    CommonStartup = 31,
    CommonTemplates = 32,
    CommonMusic = 33,
    CommonPictures = 34,
    CommonVideo = 35,
    QuickLaunch = 36,
};
inline constexpr int kShellFolderLast = QuickLaunch;

// The folder's path with a trailing backslash; empty when the value cannot be read (or does not fit the
// 255-byte buffer the program has always used); "PAS DE CLE\" when the key itself cannot be opened.
// Safe to call from any thread.
std::wstring ShellFolderPath(ShellFolder folder);

// The same lookup under another key of the same roots; lets tests name a key that does not exist.
std::wstring ShellFolderPathUnder(const wchar_t* subKey, ShellFolder folder);

inline constexpr wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
