#pragma once

#include "app/Fonts.h"
#include "app/Pictures.h"
#include "controls/Theme.h"
#include "app/WorkFolders.h"
#include "win/Handle.h"

#include <string>

inline constexpr wchar_t kProgramTitle[] = L"Kestavel Shredder 3.20";
// The main window's class: a second start finds the first one's window by it and the title.
inline constexpr wchar_t kMainWindowClass[] = L"KestavelShredderMain";

// Which presets this machine offers; the others are shown disabled.
struct PresetAvailability {
    bool virtualizedCache = true;  // Windows Vista and later
    bool firefoxCache = true;      // Firefox is installed
};

// What start-up prepares once and the windows read afterwards.
struct App {
    HINSTANCE instance = nullptr;
    int osLevel = 0;
    ThemeApi theme;
    std::wstring programFolder;  // the executable's folder, with a trailing backslash
    WorkFolders folders;
    Fonts fonts;
    Pictures pictures;
    int pointerRange = 100;
    int overallRange = 100;
    int repetitionsRange = 100;
    std::wstring bitnessLabel;
    PresetAvailability presets;
    win::UniqueHandle instanceMutex;
};
