#include "app/SingleInstance.h"

#include "app/HandedPaths.h"

namespace {

bool TryClaim(const wchar_t* title, win::UniqueHandle& mutex) {
    ::SetLastError(ERROR_SUCCESS);
    win::UniqueHandle created(::CreateMutexW(nullptr, FALSE, title));
    const DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED)
        return false;
    mutex = std::move(created);
    return true;
}

void BringForward(HWND window) {
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::SetForegroundWindow(window);
}

}  // namespace

InstanceStart ClaimOrHandOver(const wchar_t* title,
                              const wchar_t* windowClass,
                              const std::vector<std::wstring>& paths,
                              win::UniqueHandle& mutex) {
    if (TryClaim(title, mutex))
        return InstanceStart::First;
    const std::vector<wchar_t> block = PackHandedPaths(paths);
    if (block.empty()) {
        if (HWND first = ::FindWindowW(windowClass, title))
            BringForward(first);
        return InstanceStart::HandedOver;
    }
    COPYDATASTRUCT data = {};
    data.dwData = kHandedPathsFormat;
    data.cbData = static_cast<DWORD>(block.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(block.data());
    if (data.cbData > kMaxHandedBytes)
        return InstanceStart::NotAnswered;
    const DWORD start = ::GetTickCount();
    for (;;) {
        // Found by class and title: a message box of the program carries the same title.
        if (HWND first = ::FindWindowW(windowClass, title)) {
            DWORD_PTR answer = 0;
            ::SetLastError(ERROR_SUCCESS);
            const bool sent = ::SendMessageTimeoutW(first, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                                    SMTO_ABORTIFHUNG, 5000, &answer) != 0;
            if (sent && static_cast<LRESULT>(answer) == kHandedPathsTaken) {
                BringForward(first);
                return InstanceStart::HandedOver;
            }
            // Refused for want of room: trying again would only be refused again while the window is full.
            if (sent && static_cast<LRESULT>(answer) == kHandedPathsRefused) {
                BringForward(first);
                return InstanceStart::Refused;
            }
            // User Interface Privilege Isolation: the window of an instance started "as administrator" takes
            // no WM_COPYDATA from a start with ordinary rights (Explorer's). The program does not open that
            // gate: any process could then fill the list of a program that destroys with those rights.
            if (!sent && ::GetLastError() == ERROR_ACCESS_DENIED)
                return InstanceStart::Elevated;
        }
        if (TryClaim(title, mutex))
            return InstanceStart::First;
        if (::GetTickCount() - start > kHandOverMs)
            return InstanceStart::NotAnswered;
        ::Sleep(20);
    }
}
