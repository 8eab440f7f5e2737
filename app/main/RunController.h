#pragma once

#include "shred/DestructionRun.h"
#include "shred/RunProgress.h"
#include "win/Handle.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <mutex>
#include <optional>
#include <string>

class JournalFile;
class ShredList;

// The texts and bars of the destruction view that a run changes (RunWords words the run's facts into them).
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

// Where the words of a run go, on the run's thread.
class RunScreen {
public:
    virtual ~RunScreen() = default;
    virtual void setText(RunText which, const std::wstring& text) = 0;
    virtual void setBar(RunBar which, int value) = 0;
};

// The values a run shows, kept for the window: the worker writes them as fast as it likes, the window
// thread takes the changed ones on its timer and puts them on screen. So the worker never waits for the
// window, and repaints happen at a steady rate however many small files go by.
class LatestRunDisplay final : public RunScreen {
public:
    static constexpr size_t kTexts = 7;
    static constexpr size_t kBars = 5;

    void setText(RunText which, const std::wstring& text) override;
    void setBar(RunBar which, int value) override;

    struct Changes {
        std::array<std::optional<std::wstring>, kTexts> texts;
        std::array<std::optional<int>, kBars> bars;
    };
    // The values changed since the last call.
    Changes takeChanges();

private:
    std::mutex mutex_;
    Changes pending_;
};

// Starts the destruction run on a worker thread and carries the window's pause, resume and stop requests
// to it. When the run ends, the worker posts `doneMessage` to the window, which then calls finish() on its
// own thread to show the summary and return to idle.
class RunController {
public:
    enum class State { Idle, Running, Paused, Stopping };

    RunController(ShredList& list, const JournalFile& journal, RunObserver& observer, UINT doneMessage)
        : list_(list), journal_(journal), observer_(observer), doneMessage_(doneMessage) {}
    ~RunController();
    RunController(const RunController&) = delete;
    RunController& operator=(const RunController&) = delete;

    // The window told of the run's end.
    void attach(HWND window) { window_ = window; }
    State state() const { return state_; }
    bool active() const { return state_ != State::Idle; }

    bool start(const RunSettings& settings);
    void pause();  // from Running or Stopping
    void resume();
    void stop();
    // After doneMessage: waits for the worker's very end and returns its summary.
    RunSummary summary();
    // Once the summary has been shown: clears the run's displays, empties the list, back to idle.
    void finish();
    // At exit: asks the worker to leave at its next safe point (between two blocks, or once the name wipe
    // under way is done) and waits up to timeoutMs for it. True when it ended in time.
    bool quitAndWait(DWORD timeoutMs);

private:
    static DWORD WINAPI Worker(void* self);

    ShredList& list_;
    const JournalFile& journal_;
    RunObserver& observer_;
    HWND window_ = nullptr;
    UINT doneMessage_;
    RunControl control_;
    RunSettings settings_;
    RunSummary summary_;
    std::atomic<State> state_{State::Idle};
    win::UniqueHandle thread_;
};
