#pragma once

#include "cleaner/CleanerRun.h"
#include "cleaner/RegistryTraces.h"
#include "win/Mailbox.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <string>
#include <vector>

namespace cleaner {

// What stands between the Fast Cleaner dialog and the run it starts, on both threads. The dialog publishes
// the ticks and the age option here as the user changes them, and the run reads them when it gets to them.
// The reports of the run, of the DNS commands and of the M.R.U. work are queued in its mailbox, which
// wakes the dialog; the dialog takes them on its own thread, and once it has gone (detach) they are
// dropped. Each worker keeps the relay alive as long as it needs it, so a dialog may close during a run.
class CleanerRelay final : public CleanerChoices, public CleanerObserver, public LineSink {
public:
    struct Report {
        enum class Kind {
            Busy,
            ItemStarted,
            ItemDone,
            Finished,
            DnsLine,
            DnsExitCode,
            Ended,
            DnsCommandEnded,
            MruListed
        };
        Kind kind;
        // Busy: 0 or 1; ItemStarted, ItemDone: the item; DnsExitCode: the code's bits; Ended: the CleanerEnd
        int value = 0;
        std::wstring text;
        std::vector<MruRow> rows;  // MruListed: the M.R.U. list as it now stands
    };

    CleanerRelay();

    // The window thread's side. attach: the dialog woken, with a message without parameters, by reports.
    void attach(HWND window, UINT wakeMessage) { reports_.attach(window, wakeMessage); }
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
    // The M.R.U. work of a button is done; the list as it now stands.
    void mruListed(std::vector<MruRow> rows);

private:
    void push(Report report);

    std::array<std::atomic<bool>, kCleanerItemCount> ticked_;
    std::atomic<AgeRule> ageRule_;
    win::Mailbox<Report> reports_;
};

}  // namespace cleaner
