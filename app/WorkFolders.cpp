#include "app/WorkFolders.h"

#include "win/Files.h"

#include <windows.h>

WorkFolders PrepareWorkFolders(const std::wstring& localAppData) {
    const std::wstring entry = localAppData + L"Kestavel";
    if (win::Exists(entry) && !win::IsFolder(entry))
        return {};  // a file named Kestavel stands in the way: create nothing
    const std::wstring work = entry + L"\\";
    if (!win::Exists(entry))
        ::CreateDirectoryW(entry.c_str(), nullptr);
    WorkFolders folders{work, work + L"ShredderTemp\\", work + L"ShredderConfig\\"};
    for (const std::wstring* folder : {&folders.temp, &folders.config}) {
        if (!win::Exists(*folder))
            ::CreateDirectoryW(folder->c_str(), nullptr);
    }
    return folders;
}
