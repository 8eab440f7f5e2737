#pragma once

// The words of the destruction view: what the run's facts read as on screen (the texts and bars kept in a
// RunScreen, the window's LatestRunDisplay), and the message box that closes a run.

#include "app/main/RunController.h"
#include "shred/DestructionRun.h"
#include "shred/RunProgress.h"

#include <windows.h>

#include <string>

// Turns each fact of a run into the texts and bars it changes. Called on the run's thread; the window's
// screen only keeps the latest values, which the window takes on its own timer.
class RunWords final : public RunObserver {
public:
    explicit RunWords(RunScreen& display) : display_(display) {}
    RunWords(const RunWords&) = delete;
    RunWords& operator=(const RunWords&) = delete;

    void runStarted(const std::wstring& methodLabel) override;
    void entryStarted(const std::wstring& path) override;
    void passStarted(int pass, int passes, int pattern) override;
    void blockWritten(unsigned long long position, unsigned long long length, double writtenPercent) override;
    void passFlushed(int pass, int passes) override;
    void overwriteEnded() override;
    void repetitionDone(int repetition, int repetitions) override;
    void renamed(int step) override;
    void nameWipeEnded() override;
    void entryDone(size_t left, size_t done, size_t total) override;
    void runCleared() override;

private:
    RunScreen& display_;
};

// What "Motif écrit:" shows during a pass of a method of `passes` passes writing `pattern` (a byte, or
// OverwriteMethod::Random).
std::wstring PatternText(int passes, int pattern);

// The message box that closes a run.
struct SummaryBox {
    std::wstring title;
    std::wstring text;
    UINT icon = MB_ICONINFORMATION;  // MB_ICONINFORMATION or MB_ICONWARNING
};
SummaryBox SummaryWords(const RunSummary& summary);
