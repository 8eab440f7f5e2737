#pragma once

#include "win/Handle.h"

#include <windows.h>

#include <functional>

namespace win {

// One system thread running one piece of work, owned by whoever started it. Every thread of the program
// starts here. Whatever the work does, returning or throwing, the end callback then runs on the worker's
// own thread, told whether the work completed: it is where a worker posts its last news to its window,
// so that the window always learns of the end. The owner joins the thread (the destructor does, without
// limit), or lets it go on alone with detach() where the work may outlive its owner.
//
// A system thread rather than a std::thread: under Wine, a detached thread of the POSIX threads library
// that ends while another is being started can spin for ever in that library's end-of-thread clean-up,
// holding the loader's lock, so that no thread of the process can start or end again.
class Worker {
public:
    using End = std::function<void(bool completed)>;

    Worker() = default;
    ~Worker() { join(INFINITE); }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Starts the work on a new thread. False, with nothing started and `end` never called, when the
    // system cannot make the thread or a thread of this worker has not been joined or detached yet.
    bool start(std::function<void()> work, End end = nullptr);
    // A thread has been started and neither joined nor detached.
    bool started() const { return static_cast<bool>(thread_); }
    // Its thread has ended, end callback included (true when there is none).
    bool ended() const;
    // Waits at most timeoutMs for the thread's end; true when it ended (or there was none), and the
    // worker may then start again.
    bool join(DWORD timeoutMs = INFINITE);
    // Lets the thread run on alone: nobody waits for it. Its work must own everything it uses.
    void detach() { thread_.reset(); }

private:
    UniqueHandle thread_;
};

// Starts work on a thread nobody waits for (a Worker detached at once); false when nothing started.
bool StartDetached(std::function<void()> work, Worker::End end = nullptr);

}  // namespace win
