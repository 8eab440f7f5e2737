#pragma once

#include <functional>

namespace win {

// Runs work on a new system thread that nobody waits for (the thread's handle is closed at once). False,
// with nothing started, when the system cannot make the thread. Work that throws ends the program, as it
// would on a std::thread.
//
// A system thread rather than a detached std::thread: under Wine, a detached thread of the POSIX threads
// library that ends while another is being started can spin for ever in that library's end-of-thread
// clean-up, holding the loader's lock, so that no thread of the process can start or end again.
bool StartDetachedThread(std::function<void()> work);

}  // namespace win
