#pragma once

#include <string>

// The bodies of the journal lines that the destruction run writes, each to be put after
// JournalFile::timestamp(). The journal window and the user read them as they are, so the wording, the
// accents and the spacing (two spaces before "n'ont") are fixed.
namespace journal {

// A folder that could not be removed; path is the folder's full path.
inline std::wstring FolderNotRemoved(const std::wstring& path) {
    return L" - Le Dossier [" + path + L"] n'a pu être supprimé";
}

// The file (name only, without its folder) whose last deletion step failed.
inline std::wstring FileNotDeleted(const std::wstring& name) {
    return L" - Le Fichier [" + name + L"] n'a pu être supprimé";
}

// The overwrite of the file failed; the file keeps its name and stays.
inline std::wstring DataNotOverwritten(const std::wstring& name) {
    return L" - Les données du fichier [" + name + L"]  n'ont pu être écrasées";
}

inline std::wstring NoFileSpecified() {
    return L" - Erreur! - Pas de fichier spécifié pour la destruction.";
}

inline std::wstring FileEmpty(const std::wstring& name) {
    return L" - Le fichier [" + name + L"] est vide!";
}

// Unlike the other file messages, this one names the full path: the file is gone, so its folder is the
// only clue left to the user.
inline std::wstring FileMissing(const std::wstring& fullPath) {
    return L" - Le fichier [" + fullPath + L"] n'existe pas!";
}

inline std::wstring CannotOpen(const std::wstring& name) {
    return L" - Impossible d'ouvrir le fichier: [" + name + L"]";
}

// A listed folder reached by the overwrite; lastFolderName is LastFolderName of its path.
inline std::wstring FolderEmptied(const std::wstring& lastFolderName) {
    return L" - Dossier : [" + lastFolderName + L"] vidé";
}

// A write failed during the overwrite, so the file was kept rather than deleted with data still on disk.
inline std::wstring WriteError(const std::wstring& name) {
    return L" - Erreur d'écriture - Le fichier [" + name + L"] n'a pu être supprimé";
}

// An entry that is no longer what it was when queued (a file now a folder, a folder now a link or a file):
// left alone, since what lies under the name now is not what the user queued. path is the full path.
inline std::wstring KindChanged(const std::wstring& path) {
    return L" - Non détruit : l'élément [" + path + L"] a changé de nature depuis sa mise en liste";
}

// A link met where a file was expected (the name itself, or a folder on the way to it, leads elsewhere):
// neither it nor what it points at was touched. path is the full path.
inline std::wstring LinkLeft(const std::wstring& path) {
    return L" - Non détruit : [" + path + L"] est un lien ou passe par un lien, sa cible est laissée intacte";
}

// A file link removed itself, where the system removes the link and not its target: the target keeps its data.
inline std::wstring LinkRemoved(const std::wstring& path) {
    return L" - Lien [" + path + L"] supprimé, sa cible est laissée intacte";
}

// The file's dates could not be replaced before its name was wiped; name only, as for the other file lines.
inline std::wstring TimesNotErased(const std::wstring& name) {
    return L" - Les dates du fichier [" + name + L"] n'ont pu être effacées";
}

// Another object than the one queued now stands under the name (its volume and index differ): neither it nor
// anything in it was touched. path is the full path.
inline std::wstring NotTheQueuedObject(const std::wstring& path) {
    return L" - Non détruit : [" + path + L"] n'est plus l'élément mis en liste, il est laissé intact";
}

// A file with other names (hard links): its data belongs to them too and was not overwritten; only this name
// was removed. others: how many other names keep the data.
inline std::wstring OtherNamesKeepData(const std::wstring& name, unsigned long others) {
    return L" - Les données du fichier [" + name + L"] n'ont pas été écrasées : " + std::to_wstring(others) +
           (others > 1 ? L" autres noms (liens physiques) les gardent, seul ce nom a été supprimé"
                       : L" autre nom (lien physique) les garde, seul ce nom a été supprimé");
}

// A folder moved or replaced while its name was being wiped: the wipe stopped there, and what now stands
// under its names was not touched. path: where the folder was last seen.
inline std::wstring FolderMovedDuringWipe(const std::wstring& path) {
    return L" - Destruction arrêtée : le dossier [" + path +
           L"] a été déplacé ou remplacé pendant l'effacement de son nom, rien n'y a été touché depuis";
}

}  // namespace journal
