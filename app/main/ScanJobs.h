#pragma once

#include "shred/FolderScan.h"
#include "win/Mailbox.h"
#include "win/StopToken.h"
#include "win/Thread.h"

#include <windows.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

class ShredList;

// The folder scans under way, each on a worker of its own: the worker collects the folder, appends the
// batch to the list and recomputes the total (the list marks its view dirty, which the window repaints on
// its timer), then posts its end, with what the user must be told, to a mailbox that wakes the window
// with `wakeMessage`. The window then takes the ends with takeEnded() on its own thread.
class ScanJobs {
public:
    explicit ScanJobs(ShredList& list) : list_(list) {}
    ~ScanJobs();
    ScanJobs(const ScanJobs&) = delete;
    ScanJobs& operator=(const ScanJobs&) = delete;

    // The window woken, with a message without parameters, when a scan has ended.
    void attach(HWND window, UINT wakeMessage) { ended_.attach(window, wakeMessage); }
    bool start(ScanKind kind, const std::wstring& target);
    bool active() const { return !jobs_.empty(); }
    // The scans that have ended since the last call, their workers joined and forgotten: for each, what
    // the user must be told.
    std::vector<std::vector<ScanNotice>> takeEnded();
    // At exit: asks every scan to stop and waits up to timeoutMs for them. True when none is left running.
    bool stopAndWait(DWORD timeoutMs);

private:
    struct Job {
        int number = 0;
        win::Worker worker;
    };
    struct Ended {
        int number = 0;
        std::vector<ScanNotice> notices;
    };

    ShredList& list_;
    win::StopToken stop_;
    win::Mailbox<Ended> ended_;
    int nextNumber_ = 1;
    std::list<std::unique_ptr<Job>> jobs_;  // last: every worker is joined before the rest goes
};
