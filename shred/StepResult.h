#pragma once

#include <windows.h>

// What one step of the engine (an overwrite, a name wipe) came to. The outcome says which of the step's
// documented ends it reached; systemError keeps the system's reason (GetLastError() of the call that was
// refused) where the system refused something, ERROR_SUCCESS otherwise. Callers decide on the outcome; the
// reason is there for whoever has to explain a failure (tests, benchmarks, a later message).
template <typename Outcome>
struct StepResult {
    Outcome outcome;
    DWORD systemError = ERROR_SUCCESS;

    bool is(Outcome expected) const { return outcome == expected; }
};
