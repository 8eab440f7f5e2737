#pragma once

#include "win/StopToken.h"

#include <windows.h>

#include <functional>
#include <string>

// Clearing the journal: its bytes overwritten with zeros, then the file deleted, all through one handle on
// the journal itself, never by name: a link put under the journal's name is left as it is, with its target.
namespace journal {

enum class ClearOutcome {
    Cleared,   // the journal is gone (or, where the system cannot delete through a handle, empty)
    Missing,   // there was no journal
    ReadOnly,  // read-only, and the caller asked to leave such a journal: nothing was done
    Link,      // a link, or reached through one: nothing was done to it or to its target
    Failed,    // not opened, or not emptied: error says why
};

struct ClearResult {
    ClearOutcome outcome = ClearOutcome::Failed;
    DWORD error = ERROR_SUCCESS;
};

// Opens the journal at path once, as itself and without delete sharing (nothing can rename it or take its
// name while the handle is open), clears its read-only attribute through a handle when clearReadOnly,
// marks it for deletion, overwrites its bytes with one pass of zeros flushed to the disk, and closes it. The
// deletion comes first, so that whatever happens next (the overwrite stopped by a quit request between two
// blocks, the process ended) the journal goes whole when the handle closes, never half overwritten. Where
// the system cannot delete through a handle (Windows XP), the journal is cut to nothing once overwritten.
ClearResult ClearJournal(const std::wstring& path, bool clearReadOnly, const win::StopToken& control);

// The clearing worker: one clearing at a time, on a thread of its own that belongs to the process, not to
// the journal window, since a clearing may go on while that window closes.
namespace clearing {

// Starts ClearJournal on the worker. `ended` runs on the worker's thread once it is over, told the
// result, on every path (a clearing that threw is Failed). False, with nothing started and `ended` never
// called, while another clearing goes on or when no thread can be made.
bool Start(std::wstring path, bool clearReadOnly, std::function<void(const ClearResult&)> ended);
bool Running();
// At exit: asks the clearing under way to leave the rest of its overwrite (the journal still goes whole),
// and waits at most timeoutMs for its end. True when none is left.
bool QuitAndWait(DWORD timeoutMs);

}  // namespace clearing

}  // namespace journal
