#include "app/main/RunController.h"

#include "journal/JournalFile.h"
#include "shred/ShredList.h"

void LatestRunDisplay::setText(RunText which, const std::wstring& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.texts[static_cast<size_t>(which)] = text;
}

void LatestRunDisplay::setBar(RunBar which, int value) {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.bars[static_cast<size_t>(which)] = value;
}

LatestRunDisplay::Changes LatestRunDisplay::takeChanges() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(pending_, Changes());
}

RunController::~RunController() {
    quitAndWait(INFINITE);
}

bool RunController::start(const RunSettings& settings) {
    if (active())
        return false;
    settings_ = settings;
    control_.reset();
    state_ = State::Running;
    thread_.reset(::CreateThread(nullptr, 0, Worker, this, 0, nullptr));
    if (!thread_) {
        state_ = State::Idle;
        return false;
    }
    return true;
}

DWORD WINAPI RunController::Worker(void* parameter) {
    auto* self = static_cast<RunController*>(parameter);
    try {
        self->summary_ = DestructionRun(self->list_, self->settings_, self->journal_, self->observer_, self->control_);
    } catch (...) {
        // The window must learn of the end whatever happened; an unexpected failure reads as an error.
        self->summary_ = RunSummary();
        self->summary_.end = RunEnd::Failed;
        self->summary_.errors = 1;
    }
    ::PostMessageW(self->window_, self->doneMessage_, 0, 0);
    return 0;
}

void RunController::pause() {
    if (state_ != State::Running && state_ != State::Stopping)
        return;
    control_.pause();
    state_ = State::Paused;
}

void RunController::resume() {
    if (state_ != State::Paused)
        return;
    control_.resume();
    state_ = State::Running;
}

void RunController::stop() {
    if (state_ != State::Running && state_ != State::Paused)
        return;
    // Stopping a paused run lets it go on to its next check, where it ends.
    control_.requestStop();
    state_ = State::Stopping;
}

RunSummary RunController::summary() {
    if (thread_)
        ::WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
    return summary_;
}

void RunController::finish() {
    summary();
    EndDestructionRun(list_, observer_, control_);
    state_ = State::Idle;
}

bool RunController::quitAndWait(DWORD timeoutMs) {
    if (!thread_)
        return true;
    control_.requestQuit();
    return ::WaitForSingleObject(thread_.get(), timeoutMs) == WAIT_OBJECT_0;
}
