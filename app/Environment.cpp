#include "app/Environment.h"

#include "win/Files.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <array>

std::wstring CommandInterpreterPath() {
    wchar_t buffer[MAX_PATH * 2] = {};
    DWORD length = ::GetEnvironmentVariableW(L"comspec", buffer, static_cast<DWORD>(std::size(buffer)));
    return length < std::size(buffer) ? std::wstring(buffer, length) : std::wstring();
}

std::wstring SystemFolderPath() {
    wchar_t buffer[MAX_PATH * 2] = {};
    UINT length = ::GetSystemDirectoryW(buffer, static_cast<UINT>(std::size(buffer)));
    return length < std::size(buffer) ? std::wstring(buffer, length) : std::wstring();
}

std::wstring WindowsFolderPath() {
    wchar_t buffer[MAX_PATH * 2] = {};
    UINT length = ::GetWindowsDirectoryW(buffer, static_cast<UINT>(std::size(buffer)));
    return length < std::size(buffer) ? std::wstring(buffer, length) : std::wstring();
}

std::wstring ProfileFolderPath() {
    wchar_t buffer[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        return {};
    return buffer;
}

HICON SmallShellIcon(const std::wstring& path) {
    SHFILEINFOW info = {};
    if (!::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON))
        return nullptr;
    return info.hIcon;
}

std::wstring OsBitnessLabel() {
    return win::IsFolder(L"C:\\Program Files (x86)") ? L"64 bit" : L"32 bit";
}

std::wstring FrenchDateLineFor(const SYSTEMTIME& day) {
    static constexpr std::array<const wchar_t*, 7> kDays = {L"dimanche", L"lundi",    L"mardi", L"mercredi",
                                                            L"jeudi",    L"vendredi", L"samedi"};
    static constexpr std::array<const wchar_t*, 12> kMonths = {L"janvier",   L"février", L"mars",     L"avril",
                                                               L"mai",       L"juin",    L"juillet",  L"août",
                                                               L"septembre", L"octobre", L"novembre", L"décembre"};
    wchar_t number[16];
    std::wstring line = kDays[day.wDayOfWeek % 7];
    line += L" ";
    swprintf(number, std::size(number), L" %02u ", static_cast<unsigned>(day.wDay));
    line += number;
    line += kMonths[(day.wMonth + 11) % 12];
    swprintf(number, std::size(number), L"  %04u", static_cast<unsigned>(day.wYear));
    line += number;
    return line;
}

std::wstring FrenchDateLine() {
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    return FrenchDateLineFor(today);
}

int IsAdministrator() {
    // Connect, create services, enumerate and lock, with the standard rights: only administrators get it.
    constexpr DWORD kFullManagerAccess = 0xF000F;
    SC_HANDLE manager = ::OpenSCManagerW(nullptr, SERVICES_ACTIVE_DATABASEW, kFullManagerAccess);
    if (!manager)
        return 0;
    ::CloseServiceHandle(manager);
    return 1;
}

void SetTaskbarProgressState(HWND window, int state) {
    if (OsLevel() < kOsSeven)
        return;
    HRESULT com = ::CoInitialize(nullptr);
    ITaskbarList3* taskbar = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                     reinterpret_cast<void**>(&taskbar)))) {
        if (SUCCEEDED(taskbar->HrInit()))
            taskbar->SetProgressState(window, static_cast<TBPFLAG>(state));
        taskbar->Release();
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
}
