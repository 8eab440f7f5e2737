#include "tools/Companions.h"

#include "win/Files.h"

#include <windows.h>

void DeleteCompanionsAtExit(const std::wstring& configFolder) {
    if (configFolder.empty())
        return;
    for (const wchar_t* name :
         {L"defrag64.exe", L"mrt64.exe", L"msconfig64.exe", L"compmgmt_msc64.exe", L"rstrui64.exe"}) {
        const std::wstring path = configFolder + name;
        if (win::IsFile(path))
            ::DeleteFileW(path.c_str());
    }
}
