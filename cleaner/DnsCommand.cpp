// The DNS cache commands: ipconfig run through the command interpreter, its output read from a pipe.

#include "cleaner/FileTraces.h"

#include "win/Handle.h"

#include <mutex>
#include <string>

namespace cleaner {

namespace {

constexpr DWORD kPollMs = 20;  // how often a quiet pipe is looked at again while the command runs
constexpr DWORD kEndedByTimeout = ERROR_TIMEOUT;
constexpr DWORD kEndedByStop = ERROR_CANCELLED;

// The write end of the pipe is made inheritable only for the moment of the start, under this lock, so that
// a command started at the same time from another thread does not inherit it and hold the pipe open.
std::mutex& StartMutex() {
    static std::mutex mutex;
    return mutex;
}

// Splits the bytes read into lines (LF or CR LF ends one) and hands each to the sink. The tools write in
// the console's OEM code page.
class LineSplitter {
public:
    explicit LineSplitter(LineSink& sink) : sink_(sink) {}
    void add(const char* bytes, DWORD count) {
        for (DWORD i = 0; i < count; ++i) {
            if (bytes[i] == '\n') {
                flush();
            } else {
                pending_ += bytes[i];
            }
        }
    }
    // The last line, when the output does not end with a line end.
    void finish() {
        if (!pending_.empty())
            flush();
    }

private:
    void flush() {
        if (!pending_.empty() && pending_.back() == '\r')
            pending_.pop_back();
        std::wstring text;
        if (!pending_.empty()) {
            const int length =
                ::MultiByteToWideChar(CP_OEMCP, 0, pending_.data(), static_cast<int>(pending_.size()), nullptr, 0);
            text.resize(static_cast<size_t>(length));
            ::MultiByteToWideChar(CP_OEMCP, 0, pending_.data(), static_cast<int>(pending_.size()), text.data(), length);
        }
        pending_.clear();
        sink_.line(text);
    }

    LineSink& sink_;
    std::string pending_;
};

// Reads what the pipe holds now; false once the pipe is closed at the other end.
bool ReadAvailable(HANDLE pipe, LineSplitter& lines) {
    char buffer[4096];
    for (;;) {
        DWORD available = 0;
        if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr))
            return false;
        if (available == 0)
            return true;
        DWORD read = 0;
        if (!::ReadFile(pipe, buffer, available < sizeof(buffer) ? available : sizeof(buffer), &read, nullptr))
            return false;
        lines.add(buffer, read);
    }
}

DnsCommandResult RunDnsCommand(const std::wstring& interpreter,
                               const wchar_t* tool,
                               LineSink& sink,
                               const win::StopToken& stop,
                               DWORD timeoutMs) {
    DnsCommandResult result;
    if (interpreter.empty())
        return result;
    // "/c": the interpreter ends with the tool. With "/k" it would wait for input on its console for ever,
    // and the reader with it.
    std::wstring commandLine = L"\"" + interpreter + L"\" /c %windir%\\system32\\ipconfig.exe " + tool;

    win::UniqueHandle readEnd, writeEnd;
    if (!::CreatePipe(readEnd.put(), writeEnd.put(), nullptr, 0))
        return result;
    // Everything the command starts belongs to this job, so that a command that has to be ended goes with
    // its children, and none outlives the program. Where jobs cannot be nested (a program already in a job
    // on Windows 7 and earlier) the interpreter alone is ended.
    win::UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        ::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    }

    PROCESS_INFORMATION info = {};
    {
        std::lock_guard<std::mutex> lock(StartMutex());
        ::SetHandleInformation(writeEnd.get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        startup.hStdInput = nullptr;
        startup.hStdOutput = writeEnd.get();
        startup.hStdError = nullptr;
        const BOOL started = ::CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                              CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &info);
        ::SetHandleInformation(writeEnd.get(), HANDLE_FLAG_INHERIT, 0);
        if (!started)
            return result;
    }
    win::UniqueHandle process(info.hProcess);
    win::UniqueHandle thread(info.hThread);
    const bool inJob = job && ::AssignProcessToJobObject(job.get(), process.get());
    ::ResumeThread(thread.get());
    thread.reset();
    writeEnd.reset();  // the pipe now ends when the command and its children have closed it
    result.started = true;

    LineSplitter lines(sink);
    // GetTickCount rather than its 64-bit form, which Windows XP lacks; differences survive its wrap.
    const DWORD startedAt = ::GetTickCount();
    bool open = true;     // the pipe has not been closed by every holder
    bool exited = false;  // the interpreter has ended
    while (open || !exited) {
        if (open)
            open = ReadAvailable(readEnd.get(), lines);
        if (!exited)
            exited = ::WaitForSingleObject(process.get(), kPollMs) == WAIT_OBJECT_0;
        else if (open)
            ::Sleep(kPollMs);  // a child of the interpreter still holds the pipe
        if (!open && exited)
            break;
        const bool stopped = stop.stopRequested();
        if (stopped || ::GetTickCount() - startedAt >= timeoutMs) {
            const DWORD code = stopped ? kEndedByStop : kEndedByTimeout;
            if (inJob)
                ::TerminateJobObject(job.get(), code);
            if (!exited)
                ::TerminateProcess(process.get(), code);
            ::WaitForSingleObject(process.get(), 5000);
            result.ended = exited;
            if (open)
                ReadAvailable(readEnd.get(), lines);
            break;
        }
    }
    lines.finish();
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    result.exitCode = code;
    sink.exitCode(code);
    return result;
}

}  // namespace

DnsCommandResult ShowDnsCache(const std::wstring& interpreter,
                              LineSink& sink,
                              const win::StopToken& stop,
                              DWORD timeoutMs) {
    return RunDnsCommand(interpreter, L"/displaydns", sink, stop, timeoutMs);
}

DnsCommandResult FlushDnsCache(const std::wstring& interpreter,
                               LineSink& sink,
                               const win::StopToken& stop,
                               DWORD timeoutMs) {
    return RunDnsCommand(interpreter, L"/flushdns", sink, stop, timeoutMs);
}

}  // namespace cleaner
