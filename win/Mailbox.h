#pragma once

#include <windows.h>

#include <mutex>
#include <utility>
#include <vector>

namespace win {

// How a worker's one-off news (an end, a result) reaches its window. The worker posts an item; the box
// keeps it under its lock and, when it was empty, posts the window its wake-up message, with no
// parameter, after letting go of the lock. The window takes everything on that message (and on its
// timer, should a wake-up be lost), on its own thread, and checks that what an item names still exists
// before it uses it. Values that change all the time (bars, counters) do not come this way: the worker
// keeps the latest ones under a lock, and the window takes them on its timer.
template <typename T>
class Mailbox {
public:
    // The window to wake; until then items wait in the box.
    void attach(HWND window, UINT message) {
        std::lock_guard<std::mutex> lock(mutex_);
        window_ = window;
        message_ = message;
    }
    // The window has gone: what waits is dropped, and so is whatever comes later.
    void detach() {
        std::vector<T> dropped;
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = false;
        window_ = nullptr;
        dropped.swap(items_);
    }
    void post(T item) {
        HWND wake = nullptr;
        UINT message = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!open_)
                return;
            if (items_.empty()) {
                wake = window_;
                message = message_;
            }
            items_.push_back(std::move(item));
        }
        if (wake)
            ::PostMessageW(wake, message, 0, 0);
    }
    std::vector<T> take() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(items_, {});
    }

private:
    std::mutex mutex_;
    std::vector<T> items_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    bool open_ = true;
};

}  // namespace win
