#pragma once

#include "shred/DestructionRun.h"
#include "shred/RunProgress.h"
#include "win/Mailbox.h"
#include "win/StopToken.h"
#include "win/Thread.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

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
    Overwrite,     // "Écrasement réalisé"
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

// Starts the destruction run on a worker and carries the window's pause, resume and stop requests to it
// through its stop token. The worker's values go to the display (LatestRunDisplay, taken on the window's
// timer); its end, the summary, goes to a mailbox that wakes the window with `wakeMessage`, whatever the
// run did. The window then takes it with takeEnd(), shows it and calls finish().
class RunController {
public:
    enum class State { Idle, Running, Paused, Stopping };

    RunController(ShredList& list, const JournalFile& journal, RunObserver& observer)
        : list_(list), journal_(journal), observer_(observer) {}
    ~RunController();
    RunController(const RunController&) = delete;
    RunController& operator=(const RunController&) = delete;

    // The window woken, with a message without parameters, when the run has ended.
    void attach(HWND window, UINT wakeMessage) { ended_.attach(window, wakeMessage); }
    State state() const { return state_; }
    bool active() const { return state_ != State::Idle; }

    bool start(const RunSettings& settings);
    void pause();  // from Running or Stopping
    void resume();
    void stop();
    // The run's summary once it has ended (its worker joined); nothing while it goes on, or once taken.
    std::optional<RunSummary> takeEnd();
    // Once the summary has been shown: clears the run's displays, empties the list, back to idle.
    void finish();
    // At exit: asks the worker to leave at its next safe point (between two blocks, or once the name wipe
    // under way is done) and waits up to timeoutMs for it. True when it ended in time.
    bool quitAndWait(DWORD timeoutMs);

private:
    ShredList& list_;
    const JournalFile& journal_;
    RunObserver& observer_;
    win::StopToken control_;
    RunSettings settings_;
    win::Mailbox<RunSummary> ended_;
    std::atomic<State> state_{State::Idle};
    win::Worker worker_;  // last: joined before anything it uses goes
};
