#pragma once

// The cleaner's registry work: the typed-URL list of Internet Explorer and the recent-documents MRU lists
// of the Explorer. Failures end their step quietly and are written to the journal; nothing is shown. A key
// that is a registry link, or lies below one, is never followed (Registry.h): its target is not the list
// the user means to clean.

#include "journal/JournalFile.h"

#include <windows.h>

#include <string>
#include <vector>

namespace cleaner {

inline constexpr wchar_t kTypedUrlsKey[] = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs";
inline constexpr wchar_t kRecentDocsKey[] =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
// The same key below HKEY_CURRENT_USER, for ReadValueText.
inline constexpr wchar_t kRecentDocsSubPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";

// Deletes the values url0 to url100 of the typed-URL key, journalling each deletion (" - URL supprimée : ")
// and each failure (" - Echec suppression URL : "). Missing names write nothing. A key that is or lies
// below a link is left, with journal::LinkLeft.
void CleanTypedUrls(const JournalFile& journal);

// Deletes the values "0" to "100" and "MRUListEx" of every sub-key of the recent-documents key; the
// sub-keys themselves and the key's own values stay. Only failures are journalled, and the sub-keys (or the
// key) left because they are links (journal::LinkLeft).
void CleanMruValues(const JournalFile& journal);

// Deletes the recent-documents key with everything below it and creates it again, empty; one journal line
// " - Delete MRU : " tells the outcome: "Nouvelle Clé" only when the whole tree went, "Impossible de
// nettoyer" when the key was absent, reached through a link (journal::LinkLeft first) or kept part of its
// tree. A link met in the tree is removed itself, its target untouched (journal::LinkRemoved first).
void ResetRecentDocsKey(const JournalFile& journal);

// One row of the M.R.U. list: a sub-key (key icon; only subKey is set) or one of its values (value icon;
// name and value set, subKey empty).
struct MruRow {
    enum class Kind { SubKey, Value };
    Kind kind = Kind::SubKey;
    std::wstring subKey;
    std::wstring name;
    std::wstring value;
    bool operator==(const MruRow& other) const {
        return kind == other.kind && subKey == other.subKey && name == other.name && value == other.value;
    }
};

// The rows of the M.R.U. list in display order: each sub-key of the recent-documents key, followed by its
// values "0" to "100" that exist and then "MRUListEx" when it exists (none for a sub-key that is a link). When the key
// does not exist the list is empty and " - Clé introuvable! - " is journalled.
std::vector<MruRow> ListMruTraces(const JournalFile& journal);

// A value's data as display text: strings as stored (not expanded), a DWORD in decimal, binary data as
// upper-case hexadecimal without separators (its first 1024 bytes), anything else or an unreadable value
// empty. The key is opened for reading only; a leading backslash of subPath is ignored.
std::wstring ReadValueText(HKEY root, const std::wstring& subPath, const std::wstring& valueName);

}  // namespace cleaner
