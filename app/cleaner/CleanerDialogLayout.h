#pragma once

// The Fast Cleaner dialog in one place: positions, sizes, colours and texts of every control, and the
// control numbers through which the dialog (and the test driver) finds them. Coordinates are in pixels,
// relative to the dialog's client area for the banner and the tabs, to the tab page for everything else.

#include "cleaner/CleanerRun.h"

#include <windows.h>

#include <array>

namespace cleaner::layout {

inline constexpr wchar_t kTitle[] = L"Kestavel Shredder Fast Cleaner";
inline constexpr wchar_t kMessageTitle[] = L"Fast Cleaner";
inline constexpr int kClientWidth = 700;
inline constexpr int kClientHeight = 400;

// Control numbers.
enum Id : int {
    kIdBanner = 2001,
    kIdTabs = 2002,
    kIdPageFirst = 2010,  // the four pages, in tab order
    kIdPageIconFirst = 2020,
    kIdPageTitleFirst = 2030,
    kIdPageTextFirst = 2040,
    kIdCheckFirst = 2100,  // + the item's number (CleanerItem order)
    kIdStateFirst = 2120,  // + the item's number
    kIdBusy = 2140,
    kIdStatus = 2141,
    kIdButtonStrip = 2149,
    kIdSelectAll = 2150,
    kIdDeselectAll = 2151,
    kIdClean = 2152,
    kIdClose = 2153,
    kIdAgeKeep48 = 2160,
    kIdAgeKeep24 = 2161,
    kIdAgeAll = 2162,
    kIdDnsText = 2170,
    kIdDnsShow = 2171,
    kIdDnsFlush = 2172,
    kIdMruList = 2180,
    kIdMruShow = 2181,
    kIdMruValues = 2182,
    kIdMruAll = 2183,
};

// What the state pictures say in their window text (the driver and screen readers read it).
inline constexpr wchar_t kWaitingText[] = L"En attente";
inline constexpr wchar_t kDoneText[] = L"Terminé";

inline constexpr COLORREF kBannerTop = RGB(0x33, 0x40, 0x83);
inline constexpr COLORREF kBannerBottom = RGB(0x9e, 0xc9, 0xf0);
inline constexpr COLORREF kBannerTextColor = RGB(0xff, 0xff, 0xff);
inline constexpr wchar_t kBannerText[] =
    L"Nettoyage rapide. Effacez en une opération les traces d'utilisation courante laissées sur le système";
inline constexpr RECT kBanner = {0, 0, 700, 32};
inline constexpr POINT kBannerTextAt = {5, 7};
inline constexpr RECT kTabs = {5, 35, 695, 395};  // 690 x 360

inline constexpr COLORREF kPageBack = RGB(0xff, 0xff, 0xff);
inline constexpr COLORREF kTitleColor = RGB(0x1b, 0x12, 0xe4);
inline constexpr COLORREF kTextColor = RGB(0x82, 0x8e, 0x9f);
inline constexpr COLORREF kStatusColor = RGB(0x10, 0x0a, 0xbc);
inline constexpr COLORREF kSettingsTextColor = RGB(0x89, 0xa3, 0xc8);
inline constexpr COLORREF kSheetBack = RGB(0xfa, 0xed, 0xce);  // DNS text area and M.R.U. list
inline constexpr COLORREF kMruTextColor = RGB(0x63, 0x4a, 0x0b);

// A static text: place, colour, and whether it wraps.
struct Text {
    int id;
    RECT place;  // left, top, right, bottom
    const wchar_t* text;
};

// A tab: its caption and picture, and its page's icon, title and descriptive text (a null text: none).
struct Page {
    const wchar_t* caption;
    int picture;
    const wchar_t* title;
    Text description;
};
inline constexpr POINT kPageIconAt = {10, 10};
inline constexpr RECT kPageTitle = {30, 10, 530, 25};  // 500 x 15

enum PageIndex : int { kGeneral = 0, kSettings = 1, kDns = 2, kMru = 3 };
extern const std::array<Page, 4> kPages;

// An item of the "Général" tab: its check box's caption, the status line while the run works on it, its
// column and row, check box width and balloon.
struct Item {
    CleanerItem item;
    const wchar_t* caption;  // with its leading space
    const wchar_t* status;
    int column;  // 0 left, 1 right
    int row;     // 0 to 6
    int boxWidth;
    const wchar_t* tipTitle;
    const wchar_t* tip;
};
inline constexpr int kItemColumnX[2] = {20, 400};
inline constexpr int kItemFirstRowY = 90;
inline constexpr int kItemRowStep = 20;
inline constexpr int kItemHeight = 20;
inline constexpr int kStateSize = 16;
inline constexpr int kCheckOffset = 20;  // the check box starts this far right of its state picture
extern const std::array<Item, kCleanerItemCount> kItems;

inline constexpr RECT kBusy = {20, 250, 36, 266};
inline constexpr RECT kStatus = {45, 250, 545, 270};
inline constexpr int kBusyFrameMs = 90;
// The status line once every ticked item has been worked on.
inline constexpr wchar_t kFinishedStatus[] = L"Nettoyage terminé!";
inline constexpr int kBusyFrames = 8;

// A push button: place (in its parent), caption, and its tooltip: a balloon when tipTitle is set, a plain
// tooltip otherwise.
struct Button {
    int id;
    RECT place;
    const wchar_t* caption;
    const wchar_t* tipTitle;
    const wchar_t* tip;
};
inline constexpr RECT kButtonStrip = {10, 290, 670, 330};  // single border, 660 x 40
extern const std::array<Button, 4> kStripButtons;          // placed in the strip
extern const std::array<Button, 2> kDnsButtons;
extern const std::array<Button, 3> kMruButtons;

// "Paramètres": the note above the age options, and the options (the second is selected at opening).
inline constexpr Text kSettingsNote = {kIdPageTextFirst + kSettings,
                                       {20, 50, 670, 65},
                                       L"Filtrer les fichiers temporaires Windows et Utilisateur à conserver lors des "
                                       L"nettoyages."};
struct AgeOption {
    int id;
    RECT place;
    const wchar_t* text;
    AgeRule rule;
};
extern const std::array<AgeOption, 3> kAgeOptions;
inline constexpr AgeRule kDefaultAgeRule = AgeRule::Keep24;

// "Cache DNS": the text area, as high as the page less this.
inline constexpr POINT kDnsTextAt = {5, 95};
inline constexpr int kDnsTextWidth = 670;
inline constexpr int kDnsTextHeightLess = 130;
// The line that closes a DNS command's output, before its exit code.
inline constexpr wchar_t kDnsExitCodeLine[] = L"Code de retour : ";

// "M.R.U.": the list and its columns.
inline constexpr RECT kMruList = {5, 75, 675, 295};  // 670 x 220
struct Column {
    const wchar_t* caption;
    int width;
};
inline constexpr Column kMruColumns[] = {{L"Sous-clé", 100}, {L"Nom", 70}, {L"Valeur", 490}};

// The dialog's questions and notices.
inline constexpr wchar_t kNothingTicked[] = L"Vous devez sélectionner au moins un élément pour démarrer le nettoyage.";
inline constexpr wchar_t kConfirmClean[] = L"Êtes-vous sûr(e) de vouloir nettoyer les éléments sélectionnés ?";
inline constexpr wchar_t kCleanDeclined[] = L"Le nettoyage a été annulé par l'utilisateur!";
inline constexpr wchar_t kCleanFinished[] = L"Le nettoyage des éléments sélectionnés est terminé!";
inline constexpr wchar_t kConfirmFlush[] = L"Êtes-vous sûr(e) de vouloir effacer le cache DNS maintenant ?";
inline constexpr wchar_t kConfirmStop[] = L"Voulez-vous réellement tout arrêter ?";

}  // namespace cleaner::layout
