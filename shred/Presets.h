#pragma once

// The presets of the "Répertoires système..." menu: one row each, in menu order, with its label, where it
// sits in the menu, the folder it starts from and the scan that works on it. The main window builds the menu
// by walking the rows; a chosen item's command names its row.

#include "shred/FolderScan.h"
#include "shred/ShellFolder.h"

#include <array>
#include <string>

// The presets, in menu order; each names its row of kPresets.
enum class Preset {
    RecycleBin,
    InternetCache,
    VirtualizedCache,
    Cookies,
    Favorites,
    FirefoxCache,
    History,
    RecentFiles,
    TemporaryFiles,
    CdBurning,
    PrefetchLayouts,
    MediaPlayerCache,
    Templates,
    MyMusic,
    MyPictures,
    MyVideos,
    MyDocuments,
};
inline constexpr int kPresetCount = static_cast<int>(Preset::MyDocuments) + 1;

// Where a preset's folder comes from.
enum class PresetRoot {
    RecycleBin,       // C:\RECYCLER\ before Windows Vista, C:\$Recycle.bin\ from Vista on
    ShellFolder,      // the shell folder, then the subfolder
    WindowsFolder,    // the Windows folder, then the subfolder
    FirefoxProfiles,  // the local Firefox profiles folder, when Firefox keeps one
};

// The picture beside a preset in the menu; the window holds the pictures.
enum class PresetPicture { RecycleBin, Internet, History, Folder, Documents };
inline constexpr int kPresetPictureCount = static_cast<int>(PresetPicture::Documents) + 1;

// What the machine must offer for the menu to enable a preset.
enum class PresetNeeds {
    Nothing,
    VirtualizedCache,  // Windows Vista and later
    Firefox,           // Firefox is installed
};

struct PresetRow {
    Preset preset;
    const wchar_t* submenu;  // null: at the top level of the menu
    const wchar_t* label;
    PresetPicture picture;
    bool separatorAfter;
    PresetNeeds needs;
    PresetRoot root;
    ShellFolder folder;        // for PresetRoot::ShellFolder
    const wchar_t* subfolder;  // under the root, with a trailing backslash; empty: the root itself
    ScanKind scan;
    // The question asked before the scan starts (Yes goes on); a null title: none.
    const wchar_t* confirmTitle;
    const wchar_t* confirmQuestion;
};

extern const std::array<PresetRow, kPresetCount> kPresets;

inline const PresetRow& PresetAt(Preset preset) {
    return kPresets[static_cast<size_t>(preset)];
}

inline ScanKind PresetScanKind(Preset preset) {
    return PresetAt(preset).scan;
}

// The folder a preset starts from, looked up now (ShellFolderPath). Empty when the folder is unknown:
// the window then starts nothing. For FirefoxCache it is the local profiles folder, empty when Firefox
// keeps none (the window then shows "Le répertoire de Firefox n'a pas été trouvé!").
// windowsFolder: WindowsFolderPath(), without a trailing backslash.
std::wstring PresetTarget(Preset preset, int osLevel, const std::wstring& windowsFolder);
