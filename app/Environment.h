#pragma once

#include "win/OsLevel.h"
#include "win/Paths.h"

#include <windows.h>

#include <string>

// Small questions about the machine that several parts of the program ask. All are synchronous and
// callable from any thread.

// The command interpreter (environment variable "comspec").
std::wstring CommandInterpreterPath();
// The Windows system folder and the Windows folder, without a trailing backslash.
std::wstring SystemFolderPath();
std::wstring WindowsFolderPath();
// The user's profile folder (C:\Users\Name), without a trailing backslash.
std::wstring ProfileFolderPath();

// Name of the last folder of the path's folder part (C:\Users\Jean\ gives Jean). It lives with the path
// helpers in win/ because the shredding engine needs it too and must not depend on the application.
using win::LastFolderName;

// The shell's small icon for a file or folder, or null. The caller owns the icon.
HICON SmallShellIcon(const std::wstring& path);

// "64 bit" when "C:\Program Files (x86)" is a folder, otherwise "32 bit".
std::wstring OsBitnessLabel();

// Today's date in French, e.g. "Dimanche  06 Décembre  2026".
std::wstring FrenchDateLine();
std::wstring FrenchDateLineFor(const SYSTEMTIME& day);

// OsLevel and its level codes live in win/ because the companion launchers compute it too.
using win::kOsLater;
using win::kOsSeven;
using win::kOsVista;
using win::kOsXp;
using win::OsLevel;
using win::OsLevelFor;
using win::OsVersionFacts;

// 1 when the service manager opens with full access (the user has administrator rights), else 0.
int IsAdministrator();

// Shows a progress state on the window's taskbar button (Windows 7 and later; elsewhere nothing).
void SetTaskbarProgressState(HWND window, int state);
