#include "app/tools/ToolItems.h"

namespace {

constexpr ToolItem kItems[kToolCount] = {
    {kTabUtilities, L"Gestionnaire des tâches", 140, L"Démarrer le gestionnaire des tâches",
     L"Afficher des informations détaillées sur les programmes et les processus qui s'exécutent sur votre "
     L"ordinateur"},
    {kTabUtilities, L"Analyseur de performances", 160, L"Démarrer l'analyseur de performances",
     L"Analyser les performances des ordinateurs locaux ou distants."},
    {kTabUtilities, L"Moniteur de ressources", 140, L"Démarrer le moniteur de ressources",
     L"Surveiller les performances et l'utilisation des ressources de l'ordinateur local."},
    {kTabUtilities, L"Panneau de configuration", 145, L"Ouvrir le panneau de configuration",
     L"Accédez à l'essentiel des programmes de maintenance et configuration système."},
    {kTabUtilities, L"Défragmenter les disques durs", 180, L"Démarrer le défragmenteur de Windows",
     L"Accélérez votre système en réorganisant les fichiers sur les disques durs."},
    {kTabUtilities, L"Nettoyer les disques des éléments inutiles", 245, L"Démarrer le nettoyeur de disques",
     L"Nettoyez Windows des éléments inutiles et récupérez de l'espace disque."},
    {kTabUtilities, L"Commande Exécuter", 120, L"Lancer la commande Exécuter",
     L"Démarrer un programme en tapant son nom dans la fenêtre de commande Exécuter."},
    {kTabUtilities, L"Anti-logiciels malveillants de Microsoft", 225, L"Démarrer l'Anti-logiciels malveillants",
     L"Utiliser le programme de recherche de Microsoft pour éradiquer les logiciels malveillants les plus "
     L"répandus."},
    {kTabUtilities, L"Création d'archives auto-extractibles", 215, L"Démarrer le créateur d'archives auto-extractibles",
     L"Utiliser le créateur d'archives compressées auto-extractibles au format *.cab. (en anglais)"},
    {kTabUtilities, L"Minimiser toutes les fenêtres ouvertes", 220, L"Cache les fenêtres ouvertes et affiche le bureau",
     nullptr},
    {kTabUtilities, L"Afficher toutes les fenêtres ouvertes", 210, nullptr, nullptr},
    {kTabUtilities, L"Verrouiller ou déverrouiller la barre des tâches", 270, nullptr, nullptr},
    {kTabUtilities, L"Propriétés de la barre des tâches", 190, nullptr, nullptr},
    {kTabUtilities, L"Menu Démarrer ( paramètres de la zone de notification )", 320, nullptr, nullptr},
    {kTabUtilities, L"Réglage de l'horloge système", 170, L"Ouvre l'horloge de Windows pour effectuer ses réglages",
     nullptr},
    {kTabUtilities, L"Options internet", 95, L"Afficher les propriétés internet", nullptr},
    {kTabUtilities, L"Mettre en veille, éteindre ou redémarrer l'ordinateur", 300,
     L"Boîte de dialogue pour mettre en veille, éteindre ou redémarrer l'ordinateur", nullptr},
    {kTabAdvanced, L"Ouvrir une console en mode ligne de commande", 275, L"Démarrer la console type DOS", nullptr},
    {kTabAdvanced, L"Gestionnaire des services Windows", 210, L"Démarrer le gestionnaire des services Windows",
     nullptr},
    {kTabAdvanced, L"Outil de configuration système", 175, L"Démarrer le gestionnaire de configuration système",
     nullptr},
    {kTabAdvanced, L"Gestionnaire de disques durs et partitions", 240, L"Démarrer le gestionnaire de disques", nullptr},
    {kTabAdvanced, L"Editeur du registre", 110, L"Démarrer l'éditeur du registre", nullptr},
    {kTabAdvanced, L"Configuration du protocole internet (mode console)", 290,
     L"Afficher et configurer les paramètres d'adresse réseau", nullptr},
    {kTabHelp, L"Info de version", 85, L"Afficher la version de Windows",
     L"Afficher les informations de la version de Windows"},
    {kTabHelp, L"Informations système", 130, L"Afficher les informations système",
     L"Afficher les informations avancées sur les paramètres matériels et logiciels"},
    {kTabHelp, L"Centre de maintenance", 135, L"Ouvrir le centre de maintenance",
     L"Ouvrir le centre de maintenance de l'ordinateur"},
    {kTabHelp, L"Résolution des problèmes windows", 205, L"Résoudre les problèmes",
     L"Résoudre les problèmes d'ordinateur"},
    {kTabHelp, L"Gestion de l'ordinateur", 130, L"Gérer l'ordinateur",
     L"Afficher et configurer les paramètres et composants du système"},
    {kTabHelp, L"Observateur d'évènements", 160, L"Démarrer l'observateur d'évènements",
     L"Afficher des messages d'analyse et de dépannage"},
    {kTabHelp, L"Propriétés système", 115, L"Ouvrir les propriétés système",
     L"Afficher les informations de base sur les paramètres système de votre ordinateur"},
    {kTabHelp, L"Assistance à distance", 130, L"Ouvrir l'assistance à distance",
     L"Recevoir de l'aide d'un ami, ou lui proposer de l'aide via internet"},
    {kTabHelp, L"Programmes, réparations et désinstallations", 260, L"Ouvrir le gestionnaire de programmes",
     L"Lancer, ajouter ou supprimer des programmes et des composants windows. Désinstallez les logiciels dont "
     L"vous ne vous servez plus."},
    {kTabHelp, L"Paramètres de compte utilisateur", 195, L"Gestionnaire de compte utilisateur",
     L"Changer les paramètres du contrôle des comptes d'utilisateurs"},
    {kTabHelp, L"Restaurer le système", 130, L"Démarrer la restauration système",
     L"Restaurer le système de l'ordinateur à un état antérieur"},
};

}  // namespace

const ToolItem& ToolItemAt(int number) {
    return kItems[number - 1];
}

ToolPlace ToolItemPlace(int number) {
    if (number <= 9)  // "Utilitaires", with descriptions
        return {50, 30 + 40 * (number - 1)};
    if (number <= 16)  // "Utilitaires", desktop and taskbar, indented
        return {100, 400 + 25 * (number - 10)};
    if (number == 17)
        return {50, 580};
    if (number <= 23)  // "Outils avancés"
        return {50, 50 + 30 * (number - 18)};
    return {50, 50 + 40 * (number - 24)};  // "Aide et maintenance"
}
