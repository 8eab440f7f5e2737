#include "app/main/ScanJobs.h"

#include "shred/ShredList.h"

#include <utility>

ScanJobs::~ScanJobs() {
    stopAndWait(INFINITE);
}

bool ScanJobs::start(ScanKind kind, const std::wstring& target) {
    auto job = std::make_unique<Job>();
    job->number = nextNumber_++;
    const int number = job->number;
    auto work = [this, kind, target, number] {
        ListStatusLine status(list_);
        ScanResult result = RunScan(kind, target, {stop_, &status});
        std::vector<ScanNotice> notices = result.notices;
        if (!result.stopped) {
            AppendScanResult(list_, std::move(result));
            list_.computeTotalSize();
        }
        ended_.post({number, std::move(notices)});
    };
    auto end = [this, number](bool completed) {
        // The window is told of the end whatever happened; a scan that failed queues nothing more.
        if (!completed) {
            list_.setScanStatus(ScanStatus::None);
            ended_.post({number, {}});
        }
    };
    // Kept before its thread starts: should memory run out, nothing has started yet.
    jobs_.push_back(std::move(job));
    if (!jobs_.back()->worker.start(work, end)) {
        jobs_.pop_back();
        return false;
    }
    return true;
}

std::vector<std::vector<ScanNotice>> ScanJobs::takeEnded() {
    std::vector<std::vector<ScanNotice>> told;
    for (Ended& ended : ended_.take()) {
        for (auto job = jobs_.begin(); job != jobs_.end(); ++job) {
            if ((*job)->number == ended.number) {
                (*job)->worker.join();
                jobs_.erase(job);
                told.push_back(std::move(ended.notices));
                break;
            }
        }
    }
    return told;
}

bool ScanJobs::stopAndWait(DWORD timeoutMs) {
    stop_.stop();
    bool allEnded = true;
    for (const auto& job : jobs_)
        allEnded = job->worker.join(timeoutMs) && allEnded;
    return allEnded;
}
