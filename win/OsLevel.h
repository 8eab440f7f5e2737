#pragma once

#include <windows.h>

// The running Windows version as a level code. It needs nothing beyond kernel32, so that the 64-bit
// companion launchers, which carry no C++ library, compute it the same way as the program.
namespace win {

// Level codes: 60 XP, 70 Vista, 80 Windows 7, 100 any later release.
enum OsLevelCode : int { kOsXp = 60, kOsVista = 70, kOsSeven = 80, kOsLater = 100 };
struct OsVersionFacts {
    bool queried = false;  // the version query succeeded
    DWORD platform = 0;    // 1 Windows 9x, 2 NT
    DWORD major = 0;
    DWORD minor = 0;
    bool extended = false;  // the extended query succeeded and productType is valid
    BYTE productType = 0;   // VER_NT_WORKSTATION for a workstation
};
int OsLevel();
int OsLevelFor(const OsVersionFacts& facts);

}  // namespace win
