#include "win/Thread.h"

#include <memory>
#include <utility>

namespace win {

namespace {

struct Task {
    std::function<void()> work;
    Worker::End end;
};

DWORD WINAPI RunTask(LPVOID parameter) {
    std::unique_ptr<Task> task(static_cast<Task*>(parameter));
    bool completed = true;
    try {
        task->work();
    } catch (...) {
        completed = false;
    }
    if (task->end) {
        // The end is the owner's only news of the thread: nothing it throws may take the process down.
        try {
            task->end(completed);
        } catch (...) {
        }
    }
    return 0;
}

}  // namespace

bool Worker::start(std::function<void()> work, End end) {
    if (thread_ || !work)
        return false;
    std::unique_ptr<Task> task;
    try {
        task = std::make_unique<Task>(Task{std::move(work), std::move(end)});
    } catch (...) {
        return false;
    }
    thread_.reset(::CreateThread(nullptr, 0, RunTask, task.get(), 0, nullptr));
    if (!thread_)
        return false;
    task.release();  // the thread owns it now
    return true;
}

bool Worker::ended() const {
    return !thread_ || ::WaitForSingleObject(thread_.get(), 0) == WAIT_OBJECT_0;
}

bool Worker::join(DWORD timeoutMs) {
    if (!thread_)
        return true;
    if (::WaitForSingleObject(thread_.get(), timeoutMs) != WAIT_OBJECT_0)
        return false;
    thread_.reset();
    return true;
}

bool StartDetached(std::function<void()> work, Worker::End end) {
    Worker worker;
    if (!worker.start(std::move(work), std::move(end)))
        return false;
    worker.detach();
    return true;
}

}  // namespace win
