#pragma once

#include "win/Handle.h"

#include <string>
#include <vector>

// How a start goes on once it has looked for a running instance.
enum class InstanceStart {
    First,        // no other instance runs: this one claimed the mark and opens its window
    HandedOver,   // another instance runs and has taken this start's paths (if any): exit with code 0
    NotAnswered,  // another instance runs but never took the paths: the caller says so and exits with 1
    Refused,      // another instance runs and refused the paths for want of room: its window says so; exit with 1
    Elevated,     // another instance runs with higher rights, and Windows keeps this start's message from it
};

// Claims the named mutex that marks a running instance; on success it is kept in `mutex` for the process's
// life. When another instance holds it:
//  - without paths, restores that instance's window (also from the taskbar when minimised) and brings it
//    forward, as the program always did;
//  - with paths, hands them to that instance's main window (see HandedPaths.h), then brings it forward.
//    Explorer's verb starts one process per selected item, all at once, so many starts race the first
//    one's: the main window may not exist yet, or not take paths yet. The hand-over is tried again until
//    it is taken or refused, until the first instance has ended (this start then becomes the first), or for
//    kHandOverMs at most.
InstanceStart ClaimOrHandOver(const wchar_t* title,
                              const wchar_t* windowClass,
                              const std::vector<std::wstring>& paths,
                              win::UniqueHandle& mutex);

inline constexpr unsigned long kHandOverMs = 30000;
