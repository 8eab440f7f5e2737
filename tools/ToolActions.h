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

// What a shortcut of the Windows tools view does; each tools row names one.
enum class ToolAction {
    TaskManager,
    PerformanceAnalyser,
    ResourceMonitor,
    ControlPanel,
    Defragmenter,
    DiskCleanup,
    RunDialog,
    MalwareRemoval,
    SelfExtractingArchive,
    MinimizeAll,
    RestoreWindows,
    LockTaskbar,
    TaskbarProperties,
    StartMenuSettings,
    ClockSettings,
    InternetOptions,
    ShutDownDialog,
    CommandPrompt,
    Services,
    SystemConfiguration,
    DiskManagement,
    RegistryEditor,
    IpConfiguration,
    WindowsVersion,
    SystemInformation,
    ActionCenter,
    Troubleshooting,
    ComputerManagement,
    EventViewer,
    SystemProperties,
    RemoteAssistance,
    ProgramsAndFeatures,
    UserAccountControl,
    SystemRestore,
};

// Runs the action on the main thread and returns at once: the started program is never waited for.
// Failures show the action's own message box; taskbar commands and companion launches report nothing.
void RunToolAction(ToolAction action, const ToolContext& context);

// Sends a command number to the Windows taskbar (the top-level window of class "Shell_TrayWnd"). Its answer
// is not read, and without a taskbar nothing happens. A taskbar that does not answer within two seconds is
// left to itself, so that the program never freezes behind it.
void TaskbarCommand(int number);
