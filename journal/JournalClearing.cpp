#include "journal/JournalClearing.h"

#include "win/SafeFile.h"
#include "win/Thread.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace journal {

namespace {

constexpr DWORD kAccess = GENERIC_READ | GENERIC_WRITE | DELETE | FILE_WRITE_ATTRIBUTES;
// Without delete sharing: while the journal is open for its clearing, nobody can rename it or delete it and
// put a link under its name. Read and write sharing let handles already open stay open.
constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kAllShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A writer appending to the journal holds it for a few milliseconds without write sharing; the clearing
// waits for it as an append waits for another holder (JournalFile).
constexpr DWORD kHeldPatienceMs = 500;
constexpr DWORD kRetryPauseMs = 20;
constexpr size_t kBlockBytes = 1 << 20;

win::FileItself OpenJournal(const std::wstring& path) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        win::FileItself file = win::OpenFileItself(path, kAccess, kShare);
        const bool held = file.error == ERROR_SHARING_VIOLATION || file.error == ERROR_LOCK_VIOLATION;
        if (file || file.link || !held || ::GetTickCount() - start >= kHeldPatienceMs)
            return file;
        ::Sleep(kRetryPauseMs);
    }
}

// Clears the read-only attribute of the file opened as itself. Windows XP cannot set attributes through a
// handle; it has no file links either, and the open object has just been checked to be no reparse point,
// so the name is used there, as win::DeleteFileItself does.
bool ClearReadOnly(const win::FileItself& file, const std::wstring& path) {
    DWORD attributes = file.attributes & ~FILE_ATTRIBUTE_READONLY;
    if (attributes == 0)
        attributes = FILE_ATTRIBUTE_NORMAL;  // zero would leave the attributes as they are
    if (win::SetAttributesThroughHandle(file.handle.get(), attributes))
        return true;
    return ::GetLastError() == ERROR_CALL_NOT_IMPLEMENTED && ::SetFileAttributesW(path.c_str(), attributes);
}

// One pass of zeros over the file's bytes, flushed to the disk, given up between two blocks at a quit
// request. The journal goes either way: the pass only keeps its text from staying readable on the disk.
void WriteZeros(HANDLE file, const win::StopToken& control) {
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart <= 0 || !::SetFilePointerEx(file, {}, nullptr, FILE_BEGIN))
        return;
    unsigned long long left = static_cast<unsigned long long>(size.QuadPart);
    const std::vector<char> zeros(static_cast<size_t>(std::min<unsigned long long>(left, kBlockBytes)));
    while (left > 0 && !control.quitRequested()) {
        const auto bytes = static_cast<DWORD>(std::min<unsigned long long>(left, zeros.size()));
        DWORD written = 0;
        if (!::WriteFile(file, zeros.data(), bytes, &written, nullptr) || written == 0)
            break;
        left -= written;
    }
    // At exit the journal goes as the handle closes: no flush of zeros to wait for.
    if (!control.quitRequested())
        ::FlushFileBuffers(file);
}

}  // namespace

ClearResult ClearJournal(const std::wstring& path, bool clearReadOnly, const win::StopToken& control) {
    win::FileItself file = OpenJournal(path);
    if (!file && !file.link && file.error == ERROR_ACCESS_DENIED) {
        // Windows refuses write access to a read-only file: its attribute is read, and cleared when the
        // caller asks for it, through a handle of its own first.
        const win::FileItself attributes =
            win::OpenFileItself(path, clearReadOnly ? FILE_WRITE_ATTRIBUTES : 0, kAllShare);
        if (attributes.link)
            return {ClearOutcome::Link};
        if (attributes && (attributes.attributes & FILE_ATTRIBUTE_READONLY)) {
            if (!clearReadOnly)
                return {ClearOutcome::ReadOnly};
            if (!ClearReadOnly(attributes, path))
                return {ClearOutcome::Failed, ::GetLastError()};
            file = OpenJournal(path);
        }
    }
    if (file.link)
        return {ClearOutcome::Link};
    if (!file) {
        if (file.error == ERROR_FILE_NOT_FOUND || file.error == ERROR_PATH_NOT_FOUND)
            return {ClearOutcome::Missing};
        return {ClearOutcome::Failed, file.error};
    }
    // Wine lets an administrator open a read-only file for writing; it still refuses to delete it.
    if (file.attributes & FILE_ATTRIBUTE_READONLY) {
        if (!clearReadOnly)
            return {ClearOutcome::ReadOnly};
        if (!ClearReadOnly(file, path))
            return {ClearOutcome::Failed, ::GetLastError()};
    }
    const HANDLE handle = file.handle.get();
    // Marked first: from here on the journal goes when this handle closes, however the rest goes.
    const bool deleting = win::DeleteThroughHandle(handle);
    WriteZeros(handle, control);
    if (!deleting) {
        // Not deleted through the handle (Windows XP): emptied through it.
        if (!::SetFilePointerEx(handle, {}, nullptr, FILE_BEGIN) || !::SetEndOfFile(handle))
            return {ClearOutcome::Failed, ::GetLastError()};
        return {ClearOutcome::Cleared};
    }
    file.handle.reset();
    // Some file systems take the deletion and keep the file: the journal is cleared once its name is gone.
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return {ClearOutcome::Failed, ERROR_ACCESS_DENIED};
    return {ClearOutcome::Cleared};
}

namespace clearing {

namespace {

struct Worker {
    std::mutex mutex;
    std::condition_variable ended;
    bool running = false;
    win::StopToken control;  // reset for each clearing, quit at exit
};

// Never destroyed: a clearing may still be ending on its own thread while the process exits.
Worker& TheWorker() {
    alignas(Worker) static unsigned char storage[sizeof(Worker)];
    static Worker* worker = new (storage) Worker();
    return *worker;
}

void MarkEnded() {
    Worker& worker = TheWorker();
    {
        std::lock_guard<std::mutex> lock(worker.mutex);
        worker.running = false;
    }
    worker.ended.notify_all();
}

}  // namespace

bool Start(std::wstring path, bool clearReadOnly, std::function<void(const ClearResult&)> ended) {
    Worker& worker = TheWorker();
    {
        std::lock_guard<std::mutex> lock(worker.mutex);
        if (worker.running)
            return false;
        worker.running = true;
        worker.control.reset();
    }
    bool started = false;
    try {
        auto result = std::make_shared<ClearResult>();
        auto work = [path = std::move(path), clearReadOnly, result] {
            *result = ClearJournal(path, clearReadOnly, TheWorker().control);
        };
        auto end = [result, ended = std::move(ended)](bool completed) {
            if (!completed)
                *result = {ClearOutcome::Failed, ERROR_NOT_ENOUGH_MEMORY};
            try {
                if (ended)
                    ended(*result);
            } catch (...) {
            }
            MarkEnded();
        };
        started = win::StartDetached(std::move(work), std::move(end));
    } catch (...) {
    }
    if (!started)
        MarkEnded();
    return started;
}

bool Running() {
    Worker& worker = TheWorker();
    std::lock_guard<std::mutex> lock(worker.mutex);
    return worker.running;
}

bool QuitAndWait(DWORD timeoutMs) {
    Worker& worker = TheWorker();
    std::unique_lock<std::mutex> lock(worker.mutex);
    if (worker.running)
        worker.control.quit();
    return worker.ended.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !worker.running; });
}

}  // namespace clearing

}  // namespace journal
