#pragma once

#include "shred/FolderScan.h"
#include "win/Handle.h"

#include <windows.h>

#include <atomic>
#include <list>
#include <memory>
#include <string>
#include <vector>

class ShredList;

// The folder scans under way, each on a worker thread of its own: the worker collects the folder,
// appends the batch to the list, recomputes the total and posts `doneMessage` to the window with the
// job in lParam; the window then calls finish() on its own thread.
class ScanJobs {
public:
    ScanJobs(ShredList& list, UINT doneMessage) : list_(list), doneMessage_(doneMessage) {}
    ~ScanJobs();
    ScanJobs(const ScanJobs&) = delete;
    ScanJobs& operator=(const ScanJobs&) = delete;

    void attach(HWND window) { window_ = window; }
    bool start(ScanKind kind, const std::wstring& target);
    bool active() const { return !jobs_.empty(); }
    // After doneMessage: waits for the worker's end and returns what the user must be told.
    std::vector<ScanNotice> finish(LPARAM job);
    // At exit: asks every scan to stop and waits up to timeoutMs for them. True when none is left running.
    bool stopAndWait(DWORD timeoutMs);

private:
    struct Job {
        ScanJobs* owner = nullptr;
        ScanKind kind = ScanKind::Generic;
        std::wstring target;
        std::vector<ScanNotice> notices;
        win::UniqueHandle thread;
    };
    static DWORD WINAPI Worker(void* job);

    ShredList& list_;
    UINT doneMessage_;
    HWND window_ = nullptr;
    std::atomic<bool> stop_{false};
    std::list<std::unique_ptr<Job>> jobs_;
};
