#include "win/Thread.h"

#include "win/Handle.h"

#include <windows.h>

#include <exception>
#include <memory>

namespace win {

namespace {

DWORD WINAPI RunWork(LPVOID parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    try {
        (*work)();
    } catch (...) {
        std::terminate();
    }
    return 0;
}

}  // namespace

bool StartDetachedThread(std::function<void()> work) {
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    UniqueHandle thread(::CreateThread(nullptr, 0, RunWork, owned.get(), 0, nullptr));
    if (!thread)
        return false;
    owned.release();  // the thread owns it now
    return true;
}

}  // namespace win
