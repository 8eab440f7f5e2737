#pragma once

#include <cstddef>
#include <string>

// What a destruction run tells as it goes, in facts: which entry, which pass of how many with which
// pattern, how far the pass is, the renames of the name wipe, how many entries are left. It says nothing
// of how they are shown: the main window words them and keeps the latest values for its timer, the tests
// record them. Every call comes on the run's thread; an implementation must not block it. Each fact has an
// empty default, so that an observer takes only the ones it needs.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    // The run begins with the method the user chose, named by its label.
    virtual void runStarted(const std::wstring& /*methodLabel*/) {}
    // Work begins on the listed entry at this path.
    virtual void entryStarted(const std::wstring& /*path*/) {}
    // Pass `pass` (from 1) of `passes` begins; pattern is the byte it writes, or OverwriteMethod::Random.
    virtual void passStarted(int /*pass*/, int /*passes*/, int /*pattern*/) {}
    // One more block reached the file: the pass is at `position` of `length` bytes, and writtenPercent
    // (0 to 100) of all the passes over the file is written.
    virtual void blockWritten(unsigned long long /*position*/,
                              unsigned long long /*length*/,
                              double /*writtenPercent*/) {}
    // The pass's writes reached the device: the whole pass, unless a quit stopped it half-way.
    virtual void passFlushed(int /*pass*/, int /*passes*/) {}
    // The file's overwrite is over, whatever came of it.
    virtual void overwriteEnded() {}
    // Repetition `repetition` of `repetitions` overwrote the whole file.
    virtual void repetitionDone(int /*repetition*/, int /*repetitions*/) {}
    // Rename `step` of the name wipe's kNameWipeSteps is made.
    virtual void renamed(int /*step*/) {}
    // The name wipe is over, complete or not.
    virtual void nameWipeEnded() {}
    // The entry is done with, destroyed or kept: `left` entries are still to come, `done` of `total` are
    // behind.
    virtual void entryDone(size_t /*left*/, size_t /*done*/, size_t /*total*/) {}
    // The run's summary has been shown: nothing of the run is left to show.
    virtual void runCleared() {}
};

// An observer that takes no fact, for callers that do not watch.
class NoRunObserver final : public RunObserver {};
