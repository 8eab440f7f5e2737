#include "tools/Launch.h"

#include <shellapi.h>

namespace {

// A block from the process heap, freed at scope exit.
class HeapText {
public:
    explicit HeapText(int characters)
        : text_(
              static_cast<wchar_t*>(::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, characters * sizeof(wchar_t)))) {}
    ~HeapText() {
        if (text_)
            ::HeapFree(::GetProcessHeap(), 0, text_);
    }
    HeapText(const HeapText&) = delete;
    HeapText& operator=(const HeapText&) = delete;
    wchar_t* get() const { return text_; }

private:
    wchar_t* text_;
};

bool Empty(const wchar_t* text) {
    return !text || !*text;
}

bool ShellExecuteQuietly(const wchar_t* verb, const wchar_t* path, const wchar_t* arguments, const wchar_t* folder) {
    SHELLEXECUTEINFOW info;
    ::RtlSecureZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    // The launch is complete when the call returns (a companion exits right after it), and a failure is
    // reported by the caller's own message, not by a second box from the shell.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = verb;
    info.lpFile = path;
    info.lpParameters = Empty(arguments) ? nullptr : arguments;
    info.lpDirectory = Empty(folder) ? nullptr : folder;
    info.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExW(&info) != FALSE && reinterpret_cast<INT_PTR>(info.hInstApp) > 32;
}

}  // namespace

bool LaunchProgram(const wchar_t* path, const wchar_t* arguments, const wchar_t* folder) {
    if (Empty(path))
        return false;
    const int pathLength = ::lstrlenW(path);
    const int argumentsLength = Empty(arguments) ? 0 : ::lstrlenW(arguments);
    HeapText commandLine(pathLength + argumentsLength + 4);
    if (!commandLine.get())
        return false;
    wchar_t* out = commandLine.get();
    const bool quoted = path[0] == L'"';
    if (!quoted)
        *out++ = L'"';
    ::lstrcpyW(out, path);
    out += pathLength;
    if (!quoted)
        *out++ = L'"';
    if (argumentsLength) {
        *out++ = L' ';
        ::lstrcpyW(out, arguments);
    }

    STARTUPINFOW startup;
    ::RtlSecureZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process;
    ::RtlSecureZeroMemory(&process, sizeof(process));
    if (::CreateProcessW(nullptr, commandLine.get(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                         Empty(folder) ? nullptr : folder, &startup, &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return true;
    }

    // The shell opens documents; it runs in the path's own folder unless one is given.
    HeapText pathFolder(pathLength + 1);
    if (Empty(folder) && pathFolder.get()) {
        int end = pathLength;
        while (end > 0 && path[end - 1] != L'\\')
            --end;
        for (int i = 0; i < end; ++i)
            pathFolder.get()[i] = path[i];
        folder = pathFolder.get();
    }
    return ShellExecuteQuietly(nullptr, path, arguments, folder);
}

bool ShellOpen(const wchar_t* path) {
    return ShellExecuteQuietly(L"open", path, nullptr, nullptr);
}
