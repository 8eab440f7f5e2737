#pragma once

// The destruction view in one place: positions, sizes, colours and texts of the shred list, its counters,
// the run's progress displays, the run buttons, the run information panel, the list buttons and the run
// banner. Coordinates are in pixels, relative to the view for the view's own controls and panels, to their
// panel for the controls inside a panel. The view fills the main window's right-hand area
// (MainWindowLayout.h).

#include "app/Fonts.h"
#include "app/main/ControlIds.h"
#include "app/resource.h"

#include <windows.h>

#include <array>

namespace mainwin::layout {

inline constexpr COLORREF kViewBack = RGB(236, 240, 247);
inline constexpr COLORREF kCaptionColor = RGB(115, 131, 173);  // the captions of the values
inline constexpr COLORREF kValueColor = RGB(0, 0, 0);

// The shred list and its one column.
inline constexpr RECT kShredList = {5, 5, 739, 380};
inline constexpr int kShredListColumnWidth = 720;

// A static text: its control number, place, initial text, colour, font, and whether it wraps.
struct Label {
    int id;
    RECT place;
    const wchar_t* text;
    COLORREF color;
    FontRole font;
    bool wrap;
};

// A colour progress bar, in a holder of its size that gives it a thin sunken edge; its range is 0 to 100.
struct Bar {
    int id;
    RECT place;
    COLORREF bar;
    COLORREF back;
    COLORREF text;   // over the filled part
    COLORREF text2;  // over the empty part
};

// Under the list: the counters and their captions.
extern const std::array<Label, 6> kCounters;

// The overall progress, under the counters, with its balloon.
extern const Bar kOverallBar;
inline constexpr wchar_t kOverallTipTitle[] = L"Progression";
inline constexpr wchar_t kOverallTip[] =
    L"État d'avancement général de la destruction en cours, indique le pourcentage d'éléments détruits.";
extern const Label kFileLine;

// The frame of the details visible on large files, then its texts and bars; the repetitions bar is a
// plain progress bar.
inline constexpr RECT kDetailFrame = {5, 451, 265, 584};
extern const std::array<Label, 4> kDetailLabels;
extern const std::array<Bar, 2> kDetailBars;
inline constexpr RECT kRepetitionsBar = {10, 563, 260, 575};
inline constexpr int kRepetitionsBarRange = 100;

// The size of the big buttons' icons and of the list's pictures.
inline constexpr int kButtonIcon = 32;
inline constexpr int kListPicture = 16;

// A big button with its picture on the left: place in its panel, caption, picture and balloon.
struct Button {
    int id;
    RECT place;
    const wchar_t* caption;
    int icon;
    const wchar_t* tipTitle;
    const wchar_t* tip;
};

// The run buttons, in their panel; their captions are shown as RunButtonCaption gives them.
inline constexpr RECT kRunButtonsPanel = {270, 448, 480, 586};
extern const std::array<Button, 4> kRunButtons;

// The run information panel: the method, the cycles, the pattern and the name wipe.
inline constexpr RECT kRunInfoPanel = {484, 448, 739, 586};
extern const std::array<Label, 7> kRunInfoLabels;
extern const Bar kNameWipeBar;

// The list buttons' bar, at the bottom: the status line and the buttons; each button's balloon is titled
// with its caption.
inline constexpr RECT kListButtonsBar = {5, 588, 739, 648};
extern const Label kStatusLine;
extern const std::array<Button, 3> kListButtons;

// The run banner covers the list buttons' bar during a run: red while the run works, yellow while it
// is paused.
inline constexpr RECT kRunBanner = {5, 588, 739, 648};
extern const Label kRunBannerText;
inline constexpr COLORREF kBannerRed = RGB(214, 32, 11);
inline constexpr COLORREF kBannerRedText = RGB(255, 255, 255);
inline constexpr COLORREF kBannerYellow = RGB(244, 207, 45);
inline constexpr COLORREF kBannerYellowText = RGB(0, 0, 0);
inline constexpr wchar_t kRunningText[] =
    L"Le processus de destruction est en cours, veuillez patienter s'il vous plaît... Si vous souhaitez "
    L"suspendre temporairement ou arrêter définitivement le processus, vous pouvez utiliser les boutons "
    L"[Interrompre] ou [Stopper tout!] ci-dessus.";
inline constexpr wchar_t kResumedText[] =
    L"Le processus de destruction est en cours, veuillez patienter s'il vous plaît... Si vous souhaitez "
    L"interrompre ou stopper le processus, vous pouvez utiliser les boutons ci-dessus.";
inline constexpr wchar_t kPausedText[] =
    L"Le processus de destruction a été suspendu. Si vous souhaitez le relancer, utilisez le bouton [ Reprendre ] "
    L"ci-dessus. Si vous préférez tout arrêter, cliquez sur le bouton [ Stopper tout! ]";

}  // namespace mainwin::layout
