#pragma once

#include <windows.h>

#include <string>

// What the launch table reads, gathered by the main window at the moment of the click.
struct ToolContext {
    HWND owner = nullptr;             // owner of the message boxes
    int osLevel = 0;                  // OsLevel
    bool windows64 = false;           // OsBitnessLabel gave "64 bit"
    std::wstring systemFolder;        // without a trailing backslash
    std::wstring commandInterpreter;  // "comspec"
    std::wstring appData;             // the "AppData" shell folder, with a trailing backslash, or empty
    std::wstring configFolder;        // with a trailing backslash, or empty
};

// Runs the action of tools item n (1 to 34) on the main thread and returns at once: the started program is
// never waited for. Failures show the item's own message box; taskbar commands and companion launches
// report nothing.
void RunToolAction(int number, const ToolContext& context);

// Sends a command number to the Windows taskbar (the top-level window of class "Shell_TrayWnd"). Its answer
// is not read, and without a taskbar nothing happens. A taskbar that does not answer within two seconds is
// left to itself, so that the program never freezes behind it.
void TaskbarCommand(int number);
