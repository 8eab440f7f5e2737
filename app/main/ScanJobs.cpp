#include "app/main/ScanJobs.h"

#include "shred/ShredList.h"

#include <algorithm>
#include <utility>

ScanJobs::~ScanJobs() {
    stopAndWait(INFINITE);
}

bool ScanJobs::start(ScanKind kind, const std::wstring& target) {
    auto job = std::make_unique<Job>();
    job->owner = this;
    job->kind = kind;
    job->target = target;
    job->thread.reset(::CreateThread(nullptr, 0, Worker, job.get(), CREATE_SUSPENDED, nullptr));
    if (!job->thread)
        return false;
    Job* started = job.get();
    jobs_.push_back(std::move(job));
    ::ResumeThread(started->thread.get());
    return true;
}

DWORD WINAPI ScanJobs::Worker(void* parameter) {
    auto* job = static_cast<Job*>(parameter);
    ScanJobs& owner = *job->owner;
    try {
        ListStatusLine status(owner.list_);
        ScanResult result = RunScan(job->kind, job->target, {&owner.stop_, &status});
        job->notices = result.notices;
        if (!result.stopped) {
            AppendScanResult(owner.list_, std::move(result));
            owner.list_.computeTotalSize();
        }
    } catch (...) {
        // The window is told of the end whatever happened; a scan that failed queues nothing more.
        owner.list_.setScanStatus(ScanStatus::None);
    }
    ::PostMessageW(owner.window_, owner.doneMessage_, 0, reinterpret_cast<LPARAM>(job));
    return 0;
}

std::vector<ScanNotice> ScanJobs::finish(LPARAM done) {
    auto found = std::find_if(jobs_.begin(), jobs_.end(), [&](const std::unique_ptr<Job>& job) {
        return reinterpret_cast<LPARAM>(job.get()) == done;
    });
    if (found == jobs_.end())
        return {};
    ::WaitForSingleObject((*found)->thread.get(), INFINITE);
    std::vector<ScanNotice> notices = std::move((*found)->notices);
    jobs_.erase(found);
    return notices;
}

bool ScanJobs::stopAndWait(DWORD timeoutMs) {
    stop_ = true;
    bool allEnded = true;
    for (const auto& job : jobs_)
        allEnded = ::WaitForSingleObject(job->thread.get(), timeoutMs) == WAIT_OBJECT_0 && allEnded;
    return allEnded;
}
