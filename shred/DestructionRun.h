#pragma once

#include "shred/OverwriteMethod.h"
#include "shred/RunProgress.h"
#include "win/StopToken.h"

#include <windows.h>

#include <string>

class JournalFile;
class ShredList;

struct RunSettings {
    std::wstring methodLabel;  // the selector's text: one of the four method labels
    int repetitions = 1;       // at least 1
};

// How a run ended.
enum class RunEnd {
    Complete,    // every entry was worked on, none failed
    Incomplete,  // every entry was worked on, some failed (see errors)
    Stopped,     // the user stopped it, or the program ended during it
    Failed,      // an unexpected failure ended it (the window's worker says so; the run itself never does)
};

// What the run came to, for the window to tell the user.
struct RunSummary {
    RunEnd end = RunEnd::Complete;
    int errors = 0;            // entries that failed, each journalled
    int repetitions = 1;       // as the settings asked
    std::wstring methodLabel;  // as the settings named it
    int unjournalled = 0;      // journal lines that could not be written
};

// Destroys the list's entries from the last to the first: overwrites each file's data once per
// repetition, wipes its name, deletes it; wipes and removes listed folders with what is left in them.
// Every failure is journalled and counted (a journal line that cannot be written is counted too); the run goes on with
// the next entry. Destroyed entries leave the list as they go. A stop request is seen before each repetition; a pause
// is waited out at safe points. Runs on the caller's thread (the window starts it on a worker).
RunSummary DestructionRun(ShredList& list,
                          const RunSettings& settings,
                          const JournalFile& journal,
                          RunObserver& observer,
                          const win::StopToken& control);

// The run's closing steps, once its summary has been shown: the observer is told the run is cleared, the
// list is emptied (also of the entries that failed) and the stop request is cleared.
void EndDestructionRun(ShredList& list, RunObserver& observer, win::StopToken& control);

// The journal line body for an overwrite outcome other than success.
std::wstring OverwriteFailureMessage(OverwriteOutcome outcome, const std::wstring& path);
