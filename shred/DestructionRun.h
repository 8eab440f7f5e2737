#pragma once

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

// What the run's closing message box shows.
struct RunSummary {
    std::wstring title;
    std::wstring text;
    UINT icon = MB_ICONINFORMATION;  // MB_ICONINFORMATION or MB_ICONWARNING
    int errors = 0;
    bool stopped = false;
};

// Destroys the list's entries from the last to the first: overwrites each file's data once per
// repetition, wipes its name, deletes it; wipes and removes listed folders with what is left in them.
// Every failure is journalled and counted; the run goes on with the next entry. Destroyed entries leave
// the list as they go. A stop request is seen before each repetition; a pause is waited out at safe
// points. Runs on the caller's thread (the window starts it on a worker).
RunSummary DestructionRun(ShredList& list,
                          const RunSettings& settings,
                          const JournalFile& journal,
                          RunDisplay& display,
                          const win::StopToken& control);

// The run's closing steps, once its summary has been shown: the displays go back to idle, the list is
// emptied (also of the entries that failed) and the stop request is cleared.
void EndDestructionRun(ShredList& list, RunDisplay& display, win::StopToken& control);

// The journal line body for an overwrite result other than success.
std::wstring OverwriteFailureMessage(int result, const std::wstring& path);

// Removes a folder with everything inside it, clearing read-only attributes on the way. Links (junctions,
// symbolic links, mount points) are removed themselves and never followed. False when anything is left.
bool RemoveFolderTree(const std::wstring& folder);
