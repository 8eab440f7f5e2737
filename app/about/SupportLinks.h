#pragma once

#include <string>

// Where the About window sends the user for help: the product's site and the support address, with the
// texts that present them. Kept in one place so that a new address is one change.
namespace SupportLinks {

inline constexpr wchar_t kSiteAddress[] = L"https://www.kestavel.fr/shredder/";
inline constexpr wchar_t kSiteLabel[] = L"kestavel.fr";
inline constexpr wchar_t kSupportAddress[] = L"support@kestavel.fr";
inline constexpr wchar_t kMailSubject[] = L"Besoin d'aide avec Kestavel Shredder 3.20";
inline constexpr wchar_t kNotice[] = L"Logiciel gratuit, \u00A9 2026 Kestavel. Tous droits réservés.";

// "mailto:" + address + "?subject=" + the subject percent-encoded as UTF-8, as mail programs expect it:
// every byte but letters, digits and "-._~" becomes %XX.
std::wstring MailLink(const std::wstring& address, const std::wstring& subject);

}  // namespace SupportLinks
