#pragma once

#include <windows.h>

// Command numbers: explorer-bar links and popup-menu items reach the main window as WM_COMMAND with these
// numbers and no control. The test driver sends them the same way.
enum Command : int {
    kCmdCleaner = 47,    // "Nettoyage rapide"
    kCmdTools = 48,      // "Outils Windows"
    kCmdHome = 49,       // "Accueil Kestavel Shredder"
    kCmdQuit = 50,       // "Quitter Kestavel Shredder", tray "Quitter"
    kCmdAddFiles = 51,   // "Ajouter un ou plusieurs fichiers"
    kCmdAddFolder = 52,  // "Ajouter un répertoire complet"
    kCmdPresets = 53,    // "Répertoires système..."
    kCmdHelp = 55,       // "Ouvrir l'aide", tray "Aide ?"
    kCmdAbout = 58,      // "À propos..."

    kCmdPresetFirst = 100,  // presets menu items, in menu order
    kCmdTreeAdd = 130,      // tree menu items
    kCmdTreeAddWithFolder = 131,
    kCmdTreeExplore = 132,
    kCmdTreeOpen = 133,
};

// Control numbers of the main window's children (their WM_COMMAND and WM_NOTIFY carry them; the test
// driver finds the controls by them).
enum ControlId : int {
    kIdHeader = 1001,
    kIdCorner = 1002,
    kIdShredView = 1010,
    kIdToolsView = 1011,
    kIdLeftCover = 1012,
    kIdLeftColumn = 1013,
    kIdMethodCombo = 1020,
    kIdRepetitionsEdit = 1021,
    kIdRepetitionsSpin = 1022,
    kIdRepetitionsCaption = 1023,
    kIdExplorerTree = 1024,

    kIdShredList = 1100,
    kIdTotalCaption = 1101,
    kIdEntryCount = 1102,
    kIdSizeCaption = 1103,
    kIdTotalSize = 1104,
    kIdRemainingCaption = 1105,
    kIdRemaining = 1106,
    kIdOverallBar = 1107,
    kIdFileLine = 1108,
    kIdDetailFrame = 1109,
    kIdDetailNote = 1110,
    kIdPointerCaption = 1111,
    kIdPointerBar = 1112,
    kIdOverwriteCaption = 1113,
    kIdOverwriteBar = 1114,
    kIdRepetitionsLabel = 1115,
    kIdRepetitionsBar = 1116,
    kIdRunButtonsPanel = 1117,
    kIdStart = 1120,
    kIdPause = 1121,
    kIdResume = 1122,
    kIdStop = 1123,
    kIdRunInfoPanel = 1130,
    kIdRunStatus = 1131,
    kIdCyclesCaption = 1132,
    kIdCycles = 1133,
    kIdPatternCaption = 1134,
    kIdPattern = 1135,
    kIdNameWipeCaption = 1136,
    kIdNameWipe = 1137,
    kIdNameWipeBar = 1138,
    kIdListButtonsBar = 1140,
    kIdStatusLine = 1141,
    kIdRemoveSelected = 1142,
    kIdRemoveAll = 1143,
    kIdJournal = 1144,
    kIdRunBanner = 1150,
    kIdRunBannerText = 1151,
};

// Messages of the program to the main window, without parameters unless said.
enum AppMessage : UINT {
    kMsgWorkerNews = WM_APP + 1,   // a worker has posted news (a run's or a scan's end, a folder's listing)
    kMsgTray = WM_APP + 2,         // notification-area icon events, the event in lParam
    kMsgHandedPaths = WM_APP + 3,  // paths handed by another start are waiting to be queued
};
