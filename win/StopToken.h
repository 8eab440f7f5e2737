#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace win {

// The requests a window makes of a worker's work: stop, pause and resume, quit. The worker is never
// suspended by the system: it reads stopRequested() where it may end early and calls checkpoint() at its
// safe points (between blocks, between renames), where it waits while paused, holding no lock and no
// window. A stop also ends a pause, so that a paused worker can stop; a quit (the program is ending) is a
// stop that also asks the worker to leave the entry under way at its next safe point.
//
// The worker's side is const: routines that only read the requests take a const reference. A routine
// that may be called without anybody to stop it is given Never().
class StopToken {
public:
    StopToken() = default;
    StopToken(const StopToken&) = delete;
    StopToken& operator=(const StopToken&) = delete;

    void pause() {
        std::lock_guard<std::mutex> lock(mutex_);
        paused_ = true;
    }
    void resume() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            paused_ = false;
        }
        changed_.notify_all();
    }
    void stop() {
        stop_ = true;
        resume();
    }
    void quit() {
        quit_ = true;
        stop();
    }
    // Clears every request, for the next piece of work.
    void reset() {
        stop_ = false;
        quit_ = false;
        resume();
    }

    bool stopRequested() const { return stop_; }
    bool quitRequested() const { return quit_; }
    // Waits while paused; returns at once otherwise.
    void checkpoint() const {
        if (!paused_)
            return;
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !paused_; });
    }

    // A token nobody stops, for callers with no stop to give.
    static const StopToken& Never() {
        static const StopToken never;
        return never;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> quit_{false};
    std::atomic<bool> paused_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
};

}  // namespace win
