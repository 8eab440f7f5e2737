#pragma once

// Helpers shared by the unit tests. They run inside a throwaway Wine prefix, so the registry and the
// folders they touch are the sandbox's own.

#include "win/Handle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace test {

// A fresh, empty folder under the sandbox's temporary folder, removed with its content at scope exit.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }  // ends with a backslash
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }

private:
    std::wstring path_;
};

void RemoveTree(const std::wstring& path);
bool FileExists(const std::wstring& path);  // a file or a folder
void WriteFile(const std::wstring& path, const std::string& bytes);
std::string ReadFile(const std::wstring& path);

// Another process that holds a file open for reading without letting anyone write to it, as an editor or
// a backup tool would, until the object goes. It is this test executable started again: see
// TestSupport.cpp.
class FileHolderProcess {
public:
    explicit FileHolderProcess(const std::wstring& path);
    ~FileHolderProcess();
    FileHolderProcess(const FileHolderProcess&) = delete;
    FileHolderProcess& operator=(const FileHolderProcess&) = delete;
    bool holding() const { return holding_; }

private:
    win::UniqueHandle process_;
    bool holding_ = false;
};

// This test executable standing in for a program that another one starts: while the object lives, a copy of
// the executable started by a child (directly or through the shell) writes its command line and current
// folder into the file and ends at once, before any test runs. See TestSupport.cpp.
class StartedMark {
public:
    explicit StartedMark(const std::wstring& path);
    ~StartedMark();
    StartedMark(const StartedMark&) = delete;
    StartedMark& operator=(const StartedMark&) = delete;
    // Waits until a stand-in has written the file; false after the time.
    bool wait(DWORD timeoutMs = 30000) const;
    bool exists() const;
    std::wstring commandLine() const;
    std::wstring folder() const;  // without a trailing backslash

private:
    std::wstring path_;
};

// Sets a registry string value for the scope of a test and puts the old value (or its absence) back.
class RegistryValueOverride {
public:
    RegistryValueOverride(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& value);
    ~RegistryValueOverride();
    RegistryValueOverride(const RegistryValueOverride&) = delete;
    RegistryValueOverride& operator=(const RegistryValueOverride&) = delete;

private:
    HKEY root_;
    std::wstring subKey_, name_;
    bool existed_ = false;
    DWORD type_ = 0;
    std::wstring old_;
};

// The names in a folder (its path ends with a backslash), sorted; "." and ".." left out.
std::vector<std::wstring> NamesIn(const std::wstring& folder);

// The host's path for a Windows path under Wine (wine_get_unix_file_name); empty elsewhere.
std::string HostPath(const std::wstring& path);
// Runs a shell command on the host, as a process of the host would, and waits for its end; true when it
// ended with code 0. Under Wine only.
bool RunOnHost(const std::string& command);

}  // namespace test
