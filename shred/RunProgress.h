#pragma once

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
