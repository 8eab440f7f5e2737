#include "app/SingleInstance.h"

bool SingleInstanceGuard(const wchar_t* title, win::UniqueHandle& mutex) {
    ::SetLastError(ERROR_SUCCESS);
    win::UniqueHandle created(::CreateMutexW(nullptr, FALSE, title));
    const DWORD error = ::GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED) {
        mutex = std::move(created);
        return true;
    }
    created.reset();
    if (HWND first = ::FindWindowW(nullptr, title)) {
        ::ShowWindow(first, SW_SHOWNORMAL);
        ::SetForegroundWindow(first);
    }
    return false;
}
