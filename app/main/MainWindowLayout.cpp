#include "app/main/MainWindowLayout.h"

namespace mainwin::layout {

using namespace ExplorerBar;

constexpr std::array<ColumnEntry, 16> kColumnEntries = {{
    {kHeader, 35, 0, L"Menu principal", IDR_GROUP_MAIN},
    {kLink, 25, kCmdHome, L"Accueil Kestavel Shredder", IDR_LINK_HOME},
    {kLink, 25, kCmdCleaner, L"Nettoyage rapide", IDR_LINK_CLEANER},
    {kLink, 25, kCmdTools, L"Outils Windows", IDR_LINK_TOOLS},
    {kLink, 25, kCmdQuit, L"Quitter Kestavel Shredder", IDR_LINK_QUIT},
    {kHeader, 35, 0, L"Destruction de fichiers", IDR_GROUP_SHRED},
    {kContainer, 60, 0, L"", 0},  // the method and the repetition count
    {kLink, 25, kCmdAddFiles, L"Ajouter un ou plusieurs fichiers", IDR_LINK_ADD_FILES},
    {kLink, 25, kCmdAddFolder, L"Ajouter un répertoire complet", IDR_LINK_ADD_FOLDER},
    {kLink, 30, kCmdPresets, L"Répertoires système...", IDR_LINK_PRESETS},
    {kLabel, 15, 0, L"Attention! Soyez sûr de vous.", 0},
    {kHeader, 35, 0, L"Explorateur système", IDR_GROUP_EXPLORER},
    {kContainer, 250, 0, L"", 0},  // the explorer tree
    {kHeader, 35, 0, L"Support", IDR_GROUP_SUPPORT},
    {kLink, 25, kCmdHelp, L"Ouvrir l'aide", IDR_LINK_HELP},
    {kLink, 25, kCmdAbout, L"À propos...", IDR_LINK_ABOUT},
}};

// A row left out would come out as an entry of no type.
constexpr bool EveryEntryTyped() {
    for (const ColumnEntry& entry : kColumnEntries) {
        if (entry.type == 0)
            return false;
    }
    return true;
}
static_assert(EveryEntryTyped(), "every entry of the column is filled");

}  // namespace mainwin::layout
