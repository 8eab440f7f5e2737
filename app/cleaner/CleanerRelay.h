#pragma once

#include "cleaner/CleanerRun.h"

#include <array>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace cleaner {

// What stands between the Fast Cleaner dialog and the run it starts, on both threads. The dialog publishes
// the ticks and the age option here as the user changes them, and the run reads them when it gets to them.
// The run's reports are queued here and the dialog takes them on its own thread; once the dialog has gone
// (detach) they are dropped. The run keeps the relay alive as long as it needs it, so a dialog may close
// during a run.
class CleanerRelay final : public CleanerChoices, public CleanerObserver, public LineSink {
public:
    struct Report {
        enum class Kind { Busy, ItemStarted, ItemDone, Finished, DnsLine, DnsExitCode, Ended, DnsCommandEnded };
        Kind kind;
        // Busy: 0 or 1; ItemStarted, ItemDone: the item; DnsExitCode: the code's bits; Ended: the CleanerEnd
        int value = 0;
        std::wstring text;
    };

    CleanerRelay();

    // The window thread's side.
    void setTicked(CleanerItem item, bool on);
    void setAgeRule(AgeRule rule);
    std::vector<Report> take();
    void detach();

    // The run's side.
    bool ticked(CleanerItem item) const override;
    AgeRule ageRule() const override;
    void busy(bool on) override;
    void itemStarted(CleanerItem item) override;
    void itemDone(CleanerItem item) override;
    void finished() override;
    void dnsLine(const std::wstring& text) override;
    void dnsExitCode(DWORD code) override;
    void ended(CleanerEnd end) override;
    // As a line sink: the output of a DNS command started from the "Cache DNS" tab.
    void line(const std::wstring& text) override { dnsLine(text); }
    void exitCode(DWORD code) override { dnsExitCode(code); }
    // The DNS command of the tab has ended (its last line given).
    void dnsCommandEnded();

private:
    void push(Report report);

    std::array<std::atomic<bool>, kCleanerItemCount> ticked_;
    std::atomic<AgeRule> ageRule_;
    std::mutex mutex_;
    std::vector<Report> reports_;
    bool attached_ = true;
};

}  // namespace cleaner
