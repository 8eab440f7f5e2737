#include "app/WorkFolders.h"

#include "win/Files.h"

#include <windows.h>

WorkFolders PrepareWorkFolders(const std::wstring& localAppData) {
    const std::wstring work = localAppData + L"Kestavel\\";
    if (!win::Exists(work))
        ::CreateDirectoryW(work.c_str(), nullptr);
    if (!win::IsFolder(work))
        return {};  // a file named Kestavel stands in the way: create nothing
    WorkFolders folders{work, work + L"ShredderTemp\\", work + L"ShredderConfig\\"};
    for (const std::wstring* folder : {&folders.temp, &folders.config}) {
        if (!win::Exists(*folder))
            ::CreateDirectoryW(folder->c_str(), nullptr);
    }
    return folders;
}
