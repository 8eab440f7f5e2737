#include "app/main/ShredViewLayout.h"

namespace mainwin::layout {

constexpr std::array<Label, 6> kCounters = {{
    {kIdTotalCaption, {5, 385, 45, 400}, L"Total :", kCaptionColor, FontRole::Caption, false},
    {kIdEntryCount, {45, 385, 145, 403}, L"", kValueColor, FontRole::Caption, false},
    {kIdSizeCaption, {160, 385, 225, 400}, L"Taille (Mo) :", kCaptionColor, FontRole::Caption, false},
    {kIdTotalSize, {225, 385, 325, 403}, L"", kValueColor, FontRole::Caption, false},
    {kIdRemainingCaption,
     {508, 385, 638, 400},
     L"Fichiers restant à détruire :",
     kCaptionColor,
     FontRole::Caption,
     false},
    {kIdRemaining, {638, 385, 738, 403}, L"", kValueColor, FontRole::Caption, false},
}};

constexpr Bar kOverallBar = {kIdOverallBar,      {5, 408, 739, 423}, RGB(119, 230, 120),
                             RGB(226, 232, 241), RGB(0, 0, 0),       RGB(0, 0, 0)};
constexpr Label kFileLine = {kIdFileLine, {5, 430, 305, 445}, L"", RGB(63, 81, 225), FontRole::Caption, false};

constexpr std::array<Label, 4> kDetailLabels = {{
    {kIdDetailNote,
     {10, 455, 250, 467},
     L"Visible sur les gros fichiers uniquement:",
     RGB(0, 0, 0),
     FontRole::Note,
     false},
    {kIdPointerCaption, {10, 480, 160, 495}, L"Avancement pointeur", kCaptionColor, FontRole::Caption, false},
    {kIdOverwriteCaption, {10, 512, 160, 527}, L"Écrasement réalisé", kCaptionColor, FontRole::Caption, false},
    {kIdRepetitionsLabel, {10, 548, 160, 563}, L"Répétitions :", kCaptionColor, FontRole::Caption, false},
}};

constexpr std::array<Bar, 2> kDetailBars = {{
    {kIdPointerBar, {10, 495, 260, 508}, RGB(226, 53, 29), RGB(214, 225, 254), RGB(255, 255, 255), RGB(0, 0, 0)},
    {kIdOverwriteBar, {10, 527, 260, 540}, RGB(157, 196, 224), RGB(214, 225, 254), RGB(255, 255, 255), RGB(0, 0, 0)},
}};

constexpr std::array<Button, 4> kRunButtons = {{
    {kIdStart,
     {10, 5, 200, 37},
     L"Détruire tout!",
     IDI_BTN_DESTROY,
     L"Destruction",
     L"Démarrer le processus de destruction de tous les fichiers listés. Pas de retour possible!"},
    {kIdPause,
     {10, 38, 200, 70},
     L"Interrompre",
     IDI_BTN_PAUSE,
     L"Paramètres logiciel",
     L"Interrompre momentanément le processus de destruction."},
    {kIdResume,
     {10, 71, 200, 103},
     L"Reprendre",
     IDI_BTN_RESUME,
     L"Reprendre",
     L"Relancer le processus préalablement interrompu."},
    {kIdStop,
     {10, 104, 200, 136},
     L"Stopper tout!",
     IDI_BTN_STOP,
     L"Arrêter",
     L"Arrêter le processus et annuler tout."},
}};

constexpr std::array<Label, 7> kRunInfoLabels = {{
    {kIdRunStatus, {5, 10, 250, 27}, L"", RGB(227, 83, 61), FontRole::Status, false},
    {kIdCyclesCaption, {5, 40, 90, 55}, L"Cycles effectués:", kCaptionColor, FontRole::Caption, false},
    {kIdCycles, {100, 40, 200, 55}, L"", kValueColor, FontRole::Caption, false},
    {kIdPatternCaption, {5, 60, 90, 77}, L"Motif écrit:", kCaptionColor, FontRole::Caption, false},
    {kIdPattern, {90, 60, 250, 75}, L"", kValueColor, FontRole::Caption, false},
    // Up to its value's left edge: Arial grows a little wider than the scale at large sizes (283 pixels at
    // 200 %, where 140 at 100 % would give 280).
    {kIdNameWipeCaption, {5, 100, 150, 115}, L"Écrasement mémoire du nom", kCaptionColor, FontRole::Caption, false},
    {kIdNameWipe, {150, 100, 195, 115}, L"", kValueColor, FontRole::Caption, false},
}};
constexpr Bar kNameWipeBar = {kIdNameWipeBar,     {5, 115, 250, 130}, RGB(235, 183, 29),
                              RGB(214, 225, 254), RGB(255, 255, 255), RGB(0, 0, 0)};

constexpr Label kStatusLine = {kIdStatusLine, {5, 5, 505, 20}, L"", kValueColor, FontRole::Caption, false};
constexpr std::array<Button, 3> kListButtons = {{
    {kIdRemoveSelected,
     {5, 25, 135, 57},
     L"Retirer sélection",
     IDI_BTN_REMOVE_SELECTED,
     L"Retirer sélection",
     L"Retirer les éléments cochés de la liste."},
    {kIdRemoveAll,
     {135, 25, 265, 57},
     L"Retirer tout",
     IDI_BTN_REMOVE_ALL,
     L"Retirer tout",
     L"Annuler et retirer tous les éléments de la liste."},
    {kIdJournal,
     {630, 25, 730, 57},
     L"Journal",
     IDI_BTN_JOURNAL,
     L"Journal",
     L"Consulter les évènements relatifs aux suppressions effectuées"},
}};

constexpr Label kRunBannerText = {kIdRunBannerText, {5, 5, 725, 50},  kRunningText,
                                  kBannerRedText,   FontRole::Status, true};

// A row left out of a table would come out as an empty row of control number 0.
template <typename Table>
constexpr bool EveryRowNumbered(const Table& table) {
    for (const auto& row : table) {
        if (row.id == 0)
            return false;
    }
    return true;
}
static_assert(EveryRowNumbered(kCounters) && EveryRowNumbered(kDetailLabels) && EveryRowNumbered(kDetailBars) &&
                  EveryRowNumbered(kRunButtons) && EveryRowNumbered(kRunInfoLabels) && EveryRowNumbered(kListButtons),
              "every row of the destruction view's tables is filled");

}  // namespace mainwin::layout
