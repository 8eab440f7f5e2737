#include "app/cleaner/CleanerDialogLayout.h"

#include "app/resource.h"

namespace cleaner::layout {

const std::array<Page, 4> kPages = {{
    {L"Général",
     IDR_CLEANER_TAB_GENERAL,
     L"Sélection des éléments à effacer.",
     {kIdPageTextFirst + kGeneral,
      {10, 30, 680, 75},
      L"Pour éliminer les traces d'utilisation courante et les fichiers inutiles sur votre ordinateur.\nSélectionnez "
      L"les données que vous souhaitez effacer et cliquez sur Nettoyer."}},
    {L"Paramètres",
     IDR_CLEANER_TAB_SETTINGS,
     L"Sélectionnez les options de fonctionnement pour Fast Cleaner",
     {0, {}, nullptr}},
    {L"Cache DNS",
     IDR_CLEANER_TAB_DNS,
     L"Afficher les informations contenues dans le cache DNS",
     {kIdPageTextFirst + kDns,
      {20, 30, 670, 90},
      L"Le cache DNS contient toutes les adresses des sites internet que vous avez récemment visités, même si vous "
      L"avez effacé l'historique de navigation. Elles seront conservées durant 24 heures, automatiquement effacées "
      L"par le système après ce délai. Le cache DNS est très utile pour accélérer l'affichage des pages web déjà "
      L"visitées. Si pour une raison ou une autre vous préférez supprimer toutes vos traces de navigation sans "
      L"attendre, vous devez effacer ce cache."}},
    {L"M.R.U.",
     IDR_CLEANER_TAB_MRU,
     L"Nettoyer le registre des traces M.R.U.",
     {kIdPageTextFirst + kMru,
      {10, 30, 680, 75},
      L"Ici vous pouvez visualiser les clés de registre MRU (Most Recently Used) retraçant l'usage de vos fichiers "
      L"avant de les effacer. Vous pouvez le faire à n'importe quel moment. Elles ne représentent aucun danger, et "
      L"sont utiles pour une ouverture plus rapide des fichiers les plus utilisés."}},
}};

// Indexed by the item's number, like kCleanerItems.
constexpr std::array<Item, kCleanerItemCount> kItems = {{
    {CleanerItem::TypedUrls, L" Historique des URL saisies dans IE", L"Nettoyage des URL saisies dans IE en cours...",
     0, 0, 220, L"URL saisies", L"Supprime du registre les URL saisies manuellement dans Internet Explorer"},
    {CleanerItem::IeCache, L" Fichiers Internet temporaires",
     L"Suppression des fichiers Internet temporaires en cours...", 0, 1, 160, L"Cache IE",
     L"Supprime tous les fichiers temporaires téléchargés lors de vos navigations avec Internet Explorer"},
    {CleanerItem::Cookies, L" Cookies Internet", L"Suppression des cookies Internet en cours...", 0, 2, 160,
     L"Cookies IE", L"Supprime tous les cookies installés par les sites web lors de vos navigations avec IE"},
    {CleanerItem::IeHistory, L" Historique de navigation internet",
     L"Suppression de l'historique de navigation dans IE en cours...", 0, 3, 200, L"Historique IE",
     L"Supprime les URL visitées stockées dans l'historique d'Internet Explorer"},
    {CleanerItem::Clipboard, L" Vider le presse-papier", L"Nettoyage du presse-papier en cours...", 0, 4, 160,
     L"Presse-papier", L"Supprime les données précédemment placées dans le presse-papier"},
    {CleanerItem::MruTraces, L" Nettoyer le registre des traces MRU",
     L"Nettoyage des traces MRU dans le registre en cours...", 0, 5, 210, L"Traces MRU",
     L"Nettoie le registre des traces des fichiers récemment utilisés"},
    {CleanerItem::DnsCache, L" Effacer le cache DNS (sites web visités)", L"Effacement du cache DNS en cours...", 0, 6,
     210, L"Effacer le cache DNS", L"Supprime les données des sites récemment visités du cache DNS"},
    {CleanerItem::RecentDocs, L" Documents récents", L"Suppression de la liste des documents récents en cours...", 1, 0,
     140, L"Documents récents", L"Supprime tous les liens d'accès rapide vers les documents récemment utilisés"},
    {CleanerItem::WindowsTemp, L" Fichiers temporaires Windows",
     L"Suppression des fichiers temporaires de tous les utilisateurs en cours...", 1, 1, 160, L"Temporaires Windows",
     L"Supprime tous les fichiers temp de tous les utilisateurs en fonction de vos paramètres"},
    {CleanerItem::UserTemp, L" Fichiers temporaires utilisateur",
     L"Suppression des fichiers temporaires de l'utilisateur actuel en cours...", 1, 2, 160, L"Temporaires utilisateur",
     L"Supprime tous les fichiers temp de l'utilisateur actuel en fonction de vos paramètres"},
    {CleanerItem::BurnTemp, L" Fichiers temporaires à graver",
     L"Suppression des fichiers temporaires à graver en cours...", 1, 3, 160, L"Listing gravure",
     L"Supprime tous les fichiers listés en attente d'être gravés avec l'utilitaire de Windows"},
    {CleanerItem::MediaPlayerCache, L" Media Player Cache Images", L"Suppression du cache de Media Player en cours...",
     1, 4, 170, L"Images vidéos", L"Supprime les images créées par Windows Media Player lors de la lecture de vidéos"},
    {CleanerItem::PrefetchLayouts, L" Layouts du Prefetch", L"Suppression des fichiers modèles du Prefetch en cours...",
     1, 5, 160, L"Modèles Windows",
     L"Supprime les modèles créés et utilisés par Windows pour les applications courantes"},
    {CleanerItem::RecycleBin, L" Vider la corbeille (effacement simple)", L"Vidage de la corbeille en cours...", 1, 6,
     210, L"Vider la corbeille", L"Supprime les fichiers qui ont été placés dans la corbeille de Windows"},
}};
static_assert(RowsFollowTheItems(kItems), "one row per item, in the items' order");

const std::array<Button, 4> kStripButtons = {{
    {kIdSelectAll, {10, 5, 130, 35}, L"Sélectionner tout", nullptr, L"Sélectionner tous les éléments pour suppression"},
    {kIdDeselectAll, {130, 5, 250, 35}, L"Désélectionner tout", nullptr, L"Désélectionner tous les éléments"},
    {kIdClean,
     {500, 5, 580, 35},
     L"Nettoyer",
     L"Nettoyer",
     L"Démarrer maintenant le nettoyage des éléments sélectionnés"},
    {kIdClose, {580, 5, 650, 35}, L"Fermer", L"Quitter", L"Annuler les opérations en cours et fermer Fast Cleaner"},
}};

const std::array<Button, 2> kDnsButtons = {{
    {kIdDnsShow,
     {5, 305, 75, 330},
     L"Afficher",
     L"Afficher",
     L"Rechercher et afficher les informations contenues dans le cache DNS"},
    {kIdDnsFlush,
     {555, 305, 675, 330},
     L"Effacer Cache DNS",
     L"Effacer maintenant",
     L"Effacer les informations (adresses web visitées) contenues dans le cache DNS"},
}};

const std::array<Button, 3> kMruButtons = {{
    {kIdMruShow,
     {5, 305, 65, 330},
     L"Afficher",
     L"Afficher",
     L"Analyser le registre à la recherche des traces MRU et les afficher"},
    {kIdMruValues,
     {435, 305, 555, 330},
     L"Effacer valeurs",
     L"Effacer valeurs",
     L"Supprimer seulement les valeurs des fichiers MRU du registre"},
    {kIdMruAll,
     {555, 305, 675, 330},
     L"Effacer tout",
     L"Effacer tout",
     L"Supprimer toutes les traces MRU du registre maintenant (valeurs et extensions comprises)"},
}};

const std::array<AgeOption, 3> kAgeOptions = {{
    {kIdAgeKeep48, {40, 75, 340, 95}, L" Ne pas nettoyer les fichiers temp de moins de 48 heures", AgeRule::Keep48},
    {kIdAgeKeep24,
     {40, 95, 410, 115},
     L" Ne pas nettoyer les fichiers temp de moins de 24 heures (recommandé)",
     AgeRule::Keep24},
    {kIdAgeAll, {40, 115, 340, 135}, L" Nettoyer tous les fichiers temp, même les plus récents", AgeRule::All},
}};

}  // namespace cleaner::layout
