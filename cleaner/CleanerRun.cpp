#include "cleaner/CleanerRun.h"

namespace cleaner {

const std::array<CleanerItemInfo, kCleanerItemCount> kCleanerItems = {{
    {CleanerItem::TypedUrls, L" Historique des URLs saisies dans IE", L"Nettoyage des URLs saisies dans IE en cours...",
     true, false},
    {CleanerItem::IeCache, L" Fichiers Internet temporaires",
     L"Suppression des fichiers Internet temporaires en cours...", false, false},
    {CleanerItem::Cookies, L" Cookies Internet", L"Suppression des cookies Internet en cours...", false, true},
    {CleanerItem::IeHistory, L" Historique de navigation internet",
     L"Suppression de l'historique de navigation dans IE en cours...", false, false},
    {CleanerItem::Clipboard, L" Vider le presse-papier", L"Nettoyage du presse-papier en cours...", true, false},
    {CleanerItem::MruTraces, L" Nettoyer le registre des traces MRU",
     L"Nettoyage des traces MRU dans le registre en cours...", true, false},
    {CleanerItem::DnsCache, L" Effacer le cache DNS (sites web vistés)", L"Effacement du cache DNS en cours...", true,
     false},
    {CleanerItem::RecentDocs, L" Documents récents", L"Suppression de la liste des documents récents en cours...",
     false, true},
    {CleanerItem::WindowsTemp, L" Fichiers temporaires Windows",
     L"Suppression des fichiers temporaires de tous les utilisateurs en cours...", false, true},
    {CleanerItem::UserTemp, L" Fichiers temporaires utilisateur",
     L"Suppression des fichiers temporaires de l'utilisateur actuel en cours...", false, true},
    {CleanerItem::BurnTemp, L" Fichiers temporaires à graver",
     L"Suppression des fichiers temporaires à graver en cours...", false, true},
    {CleanerItem::MediaPlayerCache, L" Média Player Cache Images", L"Suppression du cache de Média Player en cours...",
     false, true},
    {CleanerItem::PrefetchLayouts, L" Layouts du Prefetch", L"Suppression des fichiers modèles du Prefetch en cours...",
     false, true},
    {CleanerItem::RecycleBin, L" Vider la corbeille (effacement simple)", L"Vidage de la corbeille en cours...", true,
     false},
}};

}  // namespace cleaner
