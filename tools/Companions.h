#pragma once

#include <string>

// The 64-bit companion launchers that the program writes into its configuration folder on first need.
// At exit five of them go; "ipconfig64.exe" and "Inetcpl64.exe" stay for the next run.
// Only files are deleted; nothing happens without a configuration folder (the names would otherwise
// resolve against whatever the current folder is).
void DeleteCompanionsAtExit(const std::wstring& configFolder);
