#pragma once

// The shortcuts of the Windows tools view, one row each in display order: its tab, where it sits, its icon,
// its texts and what it does. Adding a shortcut is adding a row (and, for a new kind of tool, its action in
// tools/ToolActions.cpp). A shortcut's number is its row's place from 1; its link's control number is
// kToolLinkFirst + that number.

#include "tools/ToolActions.h"

#include <windows.h>

#include <iterator>

enum ToolTab : int { kTabUtilities = 0, kTabAdvanced = 1, kTabHelp = 2 };
inline constexpr int kToolTabCount = kTabHelp + 1;

// A tab's title and the introduction at the top of its page, in a box of introBox pixels (the first tab's
// grows to fit its text).
struct ToolTabText {
    const wchar_t* title;
    const wchar_t* intro;
    SIZE introBox;
};
inline constexpr ToolTabText kToolTabs[] = {
    {L"Utilitaires", L"Accédez rapidement aux outils et fonctions pratiques de votre Windows", {500, 15}},
    {L"Outils avancés",
     L"Les outils ci-dessous sont à réserver aux utilisateurs expérimentés.\nDans tous les cas, reportez-vous à "
     L"l'aide mise à disposition dans chaque utilitaire.",
     {700, 30}},
    {L"Aide et maintenance",
     L"Accès rapide aux informations système et centres de maintenance de Windows.\nTrouvez immédiatement ce "
     L"dont vous avez besoin.",
     {700, 30}},
};
static_assert(std::size(kToolTabs) == kToolTabCount, "one text per tab");

// Where a page's texts stand, in pixels at 96 DPI: the introduction at its top left; a shortcut's link
// kToolLinkOffset right of its icon, its description (if any) at kToolDescriptionX under the link; both one
// line kToolTextHeight high, the description at least kToolDescriptionWidth wide.
inline constexpr POINT kToolIntroAt = {5, 5};
inline constexpr int kToolIconSize = 16;
inline constexpr int kToolLinkOffset = 20;
inline constexpr int kToolDescriptionX = 70;
inline constexpr int kToolDescriptionWidth = 650;
inline constexpr int kToolTextHeight = 15;

struct ToolItem {
    ToolTab tab;
    // Where the icon sits on its tab page; the link and the description follow it as said above.
    int x;
    int y;
    int iconCell;  // of the item icon strip (IDR_TOOLS_ITEMS)
    const wchar_t* link;
    int width;                   // of the link, in pixels (wider when the text needs it)
    const wchar_t* tooltip;      // null: none
    const wchar_t* description;  // null: none
    ToolAction action;
};

// Items 1 to 9 of "Utilitaires" have descriptions, 10 to 16 (desktop and taskbar) are indented; every
// "Aide et maintenance" item shows the same icon.
inline constexpr ToolItem kToolItems[] = {
    {kTabUtilities, 50, 30, 0, L"Gestionnaire des tâches", 140, L"Démarrer le gestionnaire des tâches",
     L"Afficher des informations détaillées sur les programmes et les processus qui s'exécutent sur votre "
     L"ordinateur",
     ToolAction::TaskManager},
    {kTabUtilities, 50, 70, 1, L"Analyseur de performances", 160, L"Démarrer l'analyseur de performances",
     L"Analyser les performances des ordinateurs locaux ou distants.", ToolAction::PerformanceAnalyser},
    {kTabUtilities, 50, 110, 2, L"Moniteur de ressources", 140, L"Démarrer le moniteur de ressources",
     L"Surveiller les performances et l'utilisation des ressources de l'ordinateur local.",
     ToolAction::ResourceMonitor},
    {kTabUtilities, 50, 150, 3, L"Panneau de configuration", 145, L"Ouvrir le panneau de configuration",
     L"Accédez à l'essentiel des programmes de maintenance et configuration système.", ToolAction::ControlPanel},
    {kTabUtilities, 50, 190, 4, L"Défragmenter les disques durs", 180, L"Démarrer le défragmenteur de Windows",
     L"Accélérez votre système en réorganisant les fichiers sur les disques durs.", ToolAction::Defragmenter},
    {kTabUtilities, 50, 230, 5, L"Nettoyer les disques des éléments inutiles", 245, L"Démarrer le nettoyeur de disques",
     L"Nettoyez Windows des éléments inutiles et récupérez de l'espace disque.", ToolAction::DiskCleanup},
    {kTabUtilities, 50, 270, 6, L"Commande Exécuter", 120, L"Lancer la commande Exécuter",
     L"Démarrer un programme en tapant son nom dans la fenêtre de commande Exécuter.", ToolAction::RunDialog},
    {kTabUtilities, 50, 310, 7, L"Anti-logiciels malveillants de Microsoft", 225,
     L"Démarrer l'Anti-logiciels malveillants",
     L"Utiliser le programme de recherche de Microsoft pour éradiquer les logiciels malveillants les plus "
     L"répandus.",
     ToolAction::MalwareRemoval},
    {kTabUtilities, 50, 350, 8, L"Création d'archives auto-extractibles", 215,
     L"Démarrer le créateur d'archives auto-extractibles",
     L"Utiliser le créateur d'archives compressées auto-extractibles au format *.cab (en anglais)",
     ToolAction::SelfExtractingArchive},
    {kTabUtilities, 100, 400, 9, L"Minimiser toutes les fenêtres ouvertes", 220,
     L"Cache les fenêtres ouvertes et affiche le bureau", nullptr, ToolAction::MinimizeAll},
    {kTabUtilities, 100, 425, 10, L"Afficher toutes les fenêtres ouvertes", 210, nullptr, nullptr,
     ToolAction::RestoreWindows},
    {kTabUtilities, 100, 450, 11, L"Verrouiller ou déverrouiller la barre des tâches", 270, nullptr, nullptr,
     ToolAction::LockTaskbar},
    {kTabUtilities, 100, 475, 12, L"Propriétés de la barre des tâches", 190, nullptr, nullptr,
     ToolAction::TaskbarProperties},
    {kTabUtilities, 100, 500, 13, L"Menu Démarrer (paramètres de la zone de notification)", 320, nullptr, nullptr,
     ToolAction::StartMenuSettings},
    {kTabUtilities, 100, 525, 14, L"Réglage de l'horloge système", 170,
     L"Ouvre l'horloge de Windows pour effectuer ses réglages", nullptr, ToolAction::ClockSettings},
    {kTabUtilities, 100, 550, 15, L"Options internet", 95, L"Afficher les propriétés internet", nullptr,
     ToolAction::InternetOptions},
    {kTabUtilities, 50, 580, 16, L"Mettre en veille, éteindre ou redémarrer l'ordinateur", 300,
     L"Boîte de dialogue pour mettre en veille, éteindre ou redémarrer l'ordinateur", nullptr,
     ToolAction::ShutDownDialog},
    {kTabAdvanced, 50, 50, 17, L"Ouvrir une console en mode ligne de commande", 275, L"Démarrer la console type DOS",
     nullptr, ToolAction::CommandPrompt},
    {kTabAdvanced, 50, 80, 18, L"Gestionnaire des services Windows", 210,
     L"Démarrer le gestionnaire des services Windows", nullptr, ToolAction::Services},
    {kTabAdvanced, 50, 110, 19, L"Outil de configuration système", 175,
     L"Démarrer le gestionnaire de configuration système", nullptr, ToolAction::SystemConfiguration},
    {kTabAdvanced, 50, 140, 20, L"Gestionnaire de disques durs et partitions", 240,
     L"Démarrer le gestionnaire de disques", nullptr, ToolAction::DiskManagement},
    {kTabAdvanced, 50, 170, 21, L"Éditeur du registre", 110, L"Démarrer l'éditeur du registre", nullptr,
     ToolAction::RegistryEditor},
    {kTabAdvanced, 50, 200, 22, L"Configuration du protocole internet (mode console)", 290,
     L"Afficher et configurer les paramètres d'adresse réseau", nullptr, ToolAction::IpConfiguration},
    {kTabHelp, 50, 50, 23, L"Info de version", 85, L"Afficher la version de Windows",
     L"Afficher les informations de la version de Windows", ToolAction::WindowsVersion},
    {kTabHelp, 50, 90, 23, L"Informations système", 130, L"Afficher les informations système",
     L"Afficher les informations avancées sur les paramètres matériels et logiciels", ToolAction::SystemInformation},
    {kTabHelp, 50, 130, 23, L"Centre de maintenance", 135, L"Ouvrir le centre de maintenance",
     L"Ouvrir le centre de maintenance de l'ordinateur", ToolAction::ActionCenter},
    {kTabHelp, 50, 170, 23, L"Résolution des problèmes Windows", 205, L"Résoudre les problèmes",
     L"Résoudre les problèmes d'ordinateur", ToolAction::Troubleshooting},
    {kTabHelp, 50, 210, 23, L"Gestion de l'ordinateur", 130, L"Gérer l'ordinateur",
     L"Afficher et configurer les paramètres et composants du système", ToolAction::ComputerManagement},
    {kTabHelp, 50, 250, 23, L"Observateur d'évènements", 160, L"Démarrer l'observateur d'évènements",
     L"Afficher des messages d'analyse et de dépannage", ToolAction::EventViewer},
    {kTabHelp, 50, 290, 23, L"Propriétés système", 115, L"Ouvrir les propriétés système",
     L"Afficher les informations de base sur les paramètres système de votre ordinateur", ToolAction::SystemProperties},
    {kTabHelp, 50, 330, 23, L"Assistance à distance", 130, L"Ouvrir l'assistance à distance",
     L"Recevoir de l'aide d'un ami, ou lui proposer de l'aide via internet", ToolAction::RemoteAssistance},
    {kTabHelp, 50, 370, 23, L"Programmes, réparations et désinstallations", 260,
     L"Ouvrir le gestionnaire de programmes",
     L"Lancer, ajouter ou supprimer des programmes et des composants Windows. Désinstallez les logiciels dont "
     L"vous ne vous servez plus.",
     ToolAction::ProgramsAndFeatures},
    {kTabHelp, 50, 410, 23, L"Paramètres de compte utilisateur", 195, L"Gestionnaire de compte utilisateur",
     L"Changer les paramètres du contrôle des comptes d'utilisateurs", ToolAction::UserAccountControl},
    {kTabHelp, 50, 450, 23, L"Restaurer le système", 130, L"Démarrer la restauration système",
     L"Restaurer le système de l'ordinateur à un état antérieur", ToolAction::SystemRestore},
};
inline constexpr int kToolCount = static_cast<int>(std::size(kToolItems));
inline constexpr int kToolIconCells = 24;  // 16 x 16 pictures side by side in the strip

constexpr bool ToolRowsFit() {
    for (const ToolItem& item : kToolItems) {
        if (item.tab < 0 || item.tab >= kToolTabCount || item.iconCell < 0 || item.iconCell >= kToolIconCells)
            return false;
    }
    return true;
}
static_assert(ToolRowsFit(), "every shortcut on one of the tabs, with an icon of the strip");

inline constexpr int kToolLinkFirst = 1200;  // links 1201 to 1200 + kToolCount

inline constexpr bool IsToolLink(int id) {
    return id > kToolLinkFirst && id <= kToolLinkFirst + kToolCount;
}

// Shortcut n (1 to kToolCount).
inline const ToolItem& ToolItemAt(int number) {
    return kToolItems[number - 1];
}
