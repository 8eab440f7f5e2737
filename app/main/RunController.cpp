#include "app/main/RunController.h"

#include "journal/JournalFile.h"
#include "shred/ShredList.h"

#include <utility>

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
    auto work = [this] { ended_.post(DestructionRun(list_, settings_, journal_, observer_, control_)); };
    auto end = [this](bool completed) {
        // The window must learn of the end whatever happened; an unexpected failure reads as an error.
        if (!completed) {
            RunSummary failed;
            failed.end = RunEnd::Failed;
            failed.errors = 1;
            ended_.post(failed);
        }
    };
    if (!worker_.start(work, end)) {
        state_ = State::Idle;
        return false;
    }
    return true;
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
    control_.stop();
    state_ = State::Stopping;
}

std::optional<RunSummary> RunController::takeEnd() {
    std::vector<RunSummary> ended = ended_.take();
    if (ended.empty())
        return std::nullopt;
    worker_.join();
    return std::move(ended.back());
}

void RunController::finish() {
    worker_.join();
    EndDestructionRun(list_, observer_, control_);
    state_ = State::Idle;
}

bool RunController::quitAndWait(DWORD timeoutMs) {
    if (!worker_.started())
        return true;
    control_.quit();
    return worker_.join(timeoutMs);
}
