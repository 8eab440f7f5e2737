#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

// The texts and bars of the destruction view that a run writes. The run reports through RunDisplay; the
// main window keeps the latest values and repaints them on its own timer, tests record them.
enum class RunText {
    RepetitionsLabel,  // "Répétitions :" ...
    Method,            // the chosen method's label
    CurrentFile,       // "Fichier écrasé  :  " + file name
    Cycles,            // "En cours...", "1 sur 1", "k sur 2", "k sur 3"
    Pattern,           // "00000000", "Random(255)"...
    RenameCounter,     // "k/27"
    Remaining,         // entries left
};

enum class RunBar {
    Repetitions,   // 0 to 100
    FilePosition,  // "Avancement pointeur"
    Overwrite,     // "Ecrasement réalisé"
    NameWipe,      // 0 to 27 of 100
    Overall,       // "Progression"
};

class RunDisplay {
public:
    virtual ~RunDisplay() = default;
    virtual void setText(RunText which, const std::wstring& text) = 0;
    virtual void setBar(RunBar which, int value) = 0;
};

// A display that shows nothing, for callers that do not watch.
class NoRunDisplay final : public RunDisplay {
public:
    void setText(RunText, const std::wstring&) override {}
    void setBar(RunBar, int) override {}
};

// Pause and stop requests from the window thread to a worker. The worker never gets suspended by the
// system: it calls checkpoint() at safe points (between blocks, between renames) and waits there while
// paused, holding no lock and no window. A stop request also ends a pause, so that a paused run can stop.
class RunControl {
public:
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
    void requestStop() {
        stop_ = true;
        resume();
    }
    // The program is ending: besides the stop, the entry under way is left at the next block, keeping its
    // name. A name wipe under way still finishes, so that no file is left half renamed.
    void requestQuit() {
        quit_ = true;
        requestStop();
    }
    void reset() {
        stop_ = false;
        quit_ = false;
        resume();
    }
    bool stopRequested() const { return stop_; }
    bool quitRequested() const { return quit_; }
    // Waits while paused; returns at once otherwise.
    void checkpoint() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !paused_; });
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> quit_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    bool paused_ = false;
};
