#include "tests/unit/TestSupport.h"

#include "win/Files.h"
#include "win/Strings.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

namespace test {

namespace {

constexpr wchar_t kHoldVariable[] = L"KESTAVEL_TEST_HOLD_FILE";
constexpr wchar_t kHoldingEvent[] = L"KestavelTestHoldingFile";

// Started as a file holder, the executable never reaches the tests: it opens the file, says so and waits
// to be ended.
const bool kStartedAsHolder = [] {
    wchar_t path[MAX_PATH * 4] = {};
    if (!::GetEnvironmentVariableW(kHoldVariable, path, static_cast<DWORD>(std::size(path))))
        return false;
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        ::ExitProcess(3);
    if (HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, kHoldingEvent))
        ::SetEvent(ready);
    ::Sleep(INFINITE);
    return true;
}();

constexpr wchar_t kMarkVariable[] = L"KESTAVEL_TEST_STARTED_MARK";

// Started as a stand-in, the executable writes its command line and folder, one per line, and ends.
const bool kStartedAsStandIn = [] {
    wchar_t mark[MAX_PATH * 2] = {};
    if (!::GetEnvironmentVariableW(kMarkVariable, mark, static_cast<DWORD>(std::size(mark))))
        return false;
    wchar_t folder[MAX_PATH * 2] = {};
    ::GetCurrentDirectoryW(static_cast<DWORD>(std::size(folder)), folder);
    WriteFile(mark, win::ToUtf8(std::wstring(::GetCommandLineW()) + L"\n" + folder));
    ::ExitProcess(0);
    return true;
}();

}  // namespace

StartedMark::StartedMark(const std::wstring& path) : path_(path) {
    ::DeleteFileW(path_.c_str());
    ::SetEnvironmentVariableW(kMarkVariable, path_.c_str());
}

StartedMark::~StartedMark() {
    ::SetEnvironmentVariableW(kMarkVariable, nullptr);
}

bool StartedMark::exists() const {
    return FileExists(path_);
}

bool StartedMark::wait(DWORD timeoutMs) const {
    for (DWORD waited = 0; !exists(); waited += 50) {
        if (waited >= timeoutMs)
            return false;
        ::Sleep(50);
    }
    // The stand-in writes the whole text at once; wait until it has closed the file.
    for (DWORD waited = 0; ReadFile(path_).find('\n') == std::string::npos && waited < timeoutMs; waited += 50)
        ::Sleep(50);
    return true;
}

std::wstring StartedMark::commandLine() const {
    const std::string text = ReadFile(path_);
    return win::FromUtf8(text.substr(0, text.find('\n')));
}

std::wstring StartedMark::folder() const {
    const std::string text = ReadFile(path_);
    const size_t newline = text.find('\n');
    return newline == std::string::npos ? std::wstring() : win::FromUtf8(text.substr(newline + 1));
}

FileHolderProcess::FileHolderProcess(const std::wstring& path) {
    win::UniqueHandle ready(::CreateEventW(nullptr, TRUE, FALSE, kHoldingEvent));
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ::SetEnvironmentVariableW(kHoldVariable, path.c_str());
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\"";
    const bool started =
        ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
    ::SetEnvironmentVariableW(kHoldVariable, nullptr);
    if (!started)
        return;
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    const HANDLE waits[] = {ready.get(), process_.get()};
    holding_ = ::WaitForMultipleObjects(2, waits, FALSE, 10000) == WAIT_OBJECT_0;
}

FileHolderProcess::~FileHolderProcess() {
    if (process_) {
        ::TerminateProcess(process_.get(), 0);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

TempFolder::TempFolder(const std::wstring& name) {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"kestavel-test-" + name + L"\\";
    RemoveTree(path_);
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

void RemoveTree(const std::wstring& path) {
    std::wstring folder = path;
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(folder.c_str());
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW entry;
        win::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
        if (find) {
            do {
                std::wstring name = entry.cFileName;
                if (name != L"." && name != L"..")
                    RemoveTree(folder + L"\\" + name);
            } while (::FindNextFileW(find.get(), &entry));
        }
    }
    ::RemoveDirectoryW(folder.c_str());
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file && !bytes.empty())
        ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadFile(const std::wstring& path) {
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    if (!file)
        return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

RegistryValueOverride::RegistryValueOverride(HKEY root,
                                             const std::wstring& subKey,
                                             const std::wstring& name,
                                             const std::wstring& value)
    : root_(root), subKey_(subKey), name_(name) {
    win::UniqueRegKey key;
    ::RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr);
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type_, reinterpret_cast<BYTE*>(buffer.data()), &size);
        old_ = buffer.data();
        existed_ = true;
    }
    ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

RegistryValueOverride::~RegistryValueOverride() {
    win::UniqueRegKey key;
    if (::RegOpenKeyExW(root_, subKey_.c_str(), 0, KEY_WRITE, key.put()) != ERROR_SUCCESS)
        return;
    if (existed_)
        ::RegSetValueExW(key.get(), name_.c_str(), 0, type_, reinterpret_cast<const BYTE*>(old_.c_str()),
                         static_cast<DWORD>((old_.size() + 1) * sizeof(wchar_t)));
    else
        ::RegDeleteValueW(key.get(), name_.c_str());
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    win::UniqueFind find(::FindFirstFileW((folder + L"*").c_str(), &data));
    if (find) {
        do {
            if (!win::IsDots(data.cFileName))
                names.push_back(data.cFileName);
        } while (::FindNextFileW(find.get(), &data));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string HostPath(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = toUnix ? toUnix(path.c_str()) : nullptr;
    if (!name)
        return std::string();
    std::string host = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return host;
}

bool RunOnHost(const std::string& command) {
    // Wine starts a host executable as it starts a Windows one (the host's root is "\\?\unix\"), but the
    // handle it gives does not follow the host process: the command leaves its exit code in a file, which is
    // waited for.
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring mark = std::wstring(folder) + L"kestavel-host-" + std::to_wstring(::GetTickCount()) + L".code";
    const std::string hostMark = HostPath(mark);
    if (hostMark.empty())
        return false;
    std::wstring line = L"\\\\?\\unix\\bin\\sh -c \"(" + win::FromUtf8(command) + L"); echo $? > '" +
                        win::FromUtf8(hostMark) + L".part' && mv '" + win::FromUtf8(hostMark) + L".part' '" +
                        win::FromUtf8(hostMark) + L"'\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(L"\\\\?\\unix\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        std::fprintf(stderr, "RunOnHost: CreateProcessW failed: %lu\n", ::GetLastError());
        return false;
    }
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    for (int waited = 0; !FileExists(mark); ++waited) {
        if (waited > 60000)
            return false;
        ::Sleep(1);
    }
    const std::string code = ReadFile(mark);
    ::DeleteFileW(mark.c_str());
    if (code.compare(0, 1, "0") != 0)
        std::fprintf(stderr, "RunOnHost: the command ended with code %s", code.c_str());
    return code.compare(0, 1, "0") == 0;
}

}  // namespace test
