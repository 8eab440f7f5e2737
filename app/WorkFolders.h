#pragma once

#include <string>

// The program's own folders under the user's local application data. All end with a backslash, or are
// all empty when "Kestavel" there is a file (the program then works from the current folder).
struct WorkFolders {
    std::wstring work;    // <Local AppData>Kestavel\ .
    std::wstring temp;    // work + "ShredderTemp\": whatever is left here is offered for destruction at start
    std::wstring config;  // work + "ShredderConfig\": journal, settings file, companion launchers
};

// Creates the missing folders under localAppData (which ends with a backslash) and returns their paths.
// Creation failures are not reported here: the operations that later use the folders report their own.
WorkFolders PrepareWorkFolders(const std::wstring& localAppData);
