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

}  // namespace journal
