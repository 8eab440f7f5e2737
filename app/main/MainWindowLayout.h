#pragma once

// The main window's fixed areas in one place: the header, the left column (its entries, the method and
// repetition controls, the explorer tree) and the right-hand area that the destruction view and the tools
// view share. Coordinates are in pixels, relative to the main window's client area, or to their container
// for the controls inside the column. The destruction view has its own table (ShredViewLayout.h).

#include "app/Fonts.h"
#include "app/main/ControlIds.h"
#include "app/resource.h"
#include "controls/ExplorerBar.h"

#include <windows.h>

#include <array>

namespace mainwin::layout {

inline constexpr int kClientWidth = 1014;
inline constexpr int kClientHeight = 718;

inline constexpr RECT kHeaderPicture = {0, 0, 834, 60};
inline constexpr RECT kCornerPicture = {834, 0, 1014, 60};
// The explorer bar, and the picture that covers it while a run or a scan works.
inline constexpr RECT kLeftColumn = {0, 60, 260, kClientHeight};
// The destruction view or the tools view, one at a time.
inline constexpr RECT kRightArea = {265, 65, 1009, kClientHeight};

// What the corner and the cover show, as screen readers name them (the header's greeting names it).
inline constexpr wchar_t kCornerPictureName[] = L"Emblème de Kestavel Shredder";
inline constexpr wchar_t kCoverPictureName[] = L"Veuillez patienter...";

// An entry of the left column, top to bottom; a container entry is filled with its controls afterwards.
struct ColumnEntry {
    ExplorerBar::ItemType type;
    int height;
    int command;  // a link's
    const wchar_t* caption;
    int picture;  // 0: none
};
extern const std::array<ColumnEntry, 16> kColumnEntries;
inline constexpr COLORREF kColumnBody = RGB(68, 94, 138);     // the groups' blue, behind the column's controls
inline constexpr FontRole kColumnLabelFont = FontRole::Note;  // the column's notes; the rest in the bar's own

// "Destruction de fichiers": the method list and the repetition count, in its first container.
inline constexpr RECT kMethodCombo = {10, 5, 215, 205};  // the list dropped down
inline constexpr wchar_t kMethodTipTitle[] = L"Mode de destruction";
inline constexpr wchar_t kMethodTip[] = L"Sélectionnez l'algorithme à utiliser pour l'écrasement de vos données.";
// 120 pixels rather than 110: in the dialog font the colon needs them, and the spin box starts at 130.
inline constexpr RECT kRepetitionsCaption = {10, 37, 130, 52};
inline constexpr wchar_t kRepetitionsCaptionText[] = L"Nombre de répétitions  :  ";
inline constexpr COLORREF kRepetitionsCaptionColor = RGB(254, 248, 220);
inline constexpr RECT kRepetitionsEdit = {130, 35, 165, 55};
inline constexpr COLORREF kRepetitionsEditColor = RGB(246, 199, 42);
inline constexpr FontRole kRepetitionsEditFont = FontRole::Strong;
inline constexpr int kMaxRepetitions = 100;
inline constexpr wchar_t kRepetitionsTipTitle[] = L"Répétitions";
inline constexpr wchar_t kRepetitionsTip[] = L"Le nombre de répétitions multiplie le nombre de cycles.";

// "Explorateur système": the tree fills its container, on the groups' blue.
inline constexpr RECT kExplorerTree = {0, 0, 220, 248};
inline constexpr COLORREF kTreeText = RGB(255, 255, 255);
inline constexpr COLORREF kTreeLines = RGB(200, 210, 230);

inline constexpr int Width(const RECT& place) {
    return place.right - place.left;
}
inline constexpr int Height(const RECT& place) {
    return place.bottom - place.top;
}

}  // namespace mainwin::layout
