#include "cleaner/RegistryTraces.h"

#include "cleaner/Registry.h"
#include "journal/JournalMessages.h"
#include "win/Handle.h"

#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

namespace cleaner {

namespace {

// The numbered values of the lists: url0 to url100, "0" to "100".
constexpr int kLastNumber = 100;
constexpr DWORD kBinaryShown = 1024;

void Journal(const JournalFile& journal, const std::wstring& body) {
    journal.appendLine(JournalFile::timestamp() + body);
}

std::wstring SubKeyPath(const std::wstring& subKey) {
    return std::wstring(kRecentDocsKey) + L"\\" + subKey;
}

// Whether the key is, or lies below, a registry link: then it is not cleaned, and the journal says so.
bool LeftAsLink(const JournalFile& journal, Registry::KeyState state, const std::wstring& keyPath) {
    if (state != Registry::KeyState::Link && state != Registry::KeyState::ThroughLink)
        return false;
    Journal(journal, journal::LinkLeft(keyPath));
    return true;
}

// A value's data as display text (ReadValueText), read through a key already open.
std::wstring ValueText(HKEY key, const std::wstring& valueName) {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ: {
            std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
            DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            if (::RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()),
                                   &bytes) != ERROR_SUCCESS)
                return {};
            // The stored text may or may not carry its terminating zero: stop at the first one.
            std::wstring result(text.data(), bytes / sizeof(wchar_t));
            return result.substr(0, result.find(L'\0'));
        }
        case REG_DWORD: {
            DWORD number = 0;
            DWORD bytes = sizeof(number);
            if (::RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&number),
                                   &bytes) != ERROR_SUCCESS)
                return L"0";
            return std::to_wstring(number);
        }
        case REG_BINARY: {
            std::vector<BYTE> data(size);
            DWORD bytes = size;
            if (size &&
                ::RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, data.data(), &bytes) != ERROR_SUCCESS)
                return {};
            static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
            std::wstring hex;
            const DWORD shown = bytes < kBinaryShown ? bytes : kBinaryShown;
            hex.reserve(shown * 2);
            for (DWORD i = 0; i < shown; ++i) {
                hex += kDigits[data[i] >> 4];
                hex += kDigits[data[i] & 0x0F];
            }
            return hex;
        }
    }
    return {};
}

}  // namespace

void CleanTypedUrls(const JournalFile& journal) {
    const std::wstring key = kTypedUrlsKey;
    const Registry::OpenedKey urls = Registry::openKey(key, Registry::kLocal);
    if (LeftAsLink(journal, urls.state, key) || !urls.key)
        return;
    for (int n = 0; n <= kLastNumber; ++n) {
        const std::wstring name = L"url" + std::to_wstring(n);
        if (!Registry::valueExists(urls.key.get(), name))
            continue;
        if (Registry::deleteValue(urls.key.get(), name))
            Journal(journal, L" - URL supprimée : " + key + L"\\" + name);
        else
            Journal(journal, L" - Echec suppression URL : " + key + L"\\" + name);
    }
}

void CleanMruValues(const JournalFile& journal) {
    if (LeftAsLink(journal, Registry::keyState(kRecentDocsKey, Registry::kLocal), kRecentDocsKey))
        return;
    for (DWORD i = 0;; ++i) {
        const std::wstring subKey = Registry::subKeyAt(kRecentDocsKey, i, Registry::kLocal);
        if (subKey.empty())
            break;
        const std::wstring path = SubKeyPath(subKey);
        // The values go through the handle of the key checked to be itself.
        const Registry::OpenedKey list = Registry::openKey(path, Registry::kLocal);
        if (LeftAsLink(journal, list.state, path) || !list.key)
            continue;
        for (int n = 0; n <= kLastNumber; ++n) {
            const std::wstring name = std::to_wstring(n);
            if (Registry::valueExists(list.key.get(), name) && !Registry::deleteValue(list.key.get(), name))
                Journal(journal, L" - Echec suppression MRU : " + path + L" - Val: " + name);
        }
        if (Registry::valueExists(list.key.get(), L"MRUListEx") && !Registry::deleteValue(list.key.get(), L"MRUListEx"))
            Journal(journal, L" - Echec suppression : " + path + L" - Val: MRUListEx");
    }
}

void ResetRecentDocsKey(const JournalFile& journal) {
    const std::wstring key = kRecentDocsKey;
    const Registry::TreeDeletion deletion = Registry::deleteKeyTree(key, Registry::kLocal);
    for (const std::wstring& link : deletion.linksRemoved)
        Journal(journal, journal::LinkRemoved(link));
    if (deletion.state == Registry::KeyState::ThroughLink)
        Journal(journal, journal::LinkLeft(key));
    // "Nouvelle Clé" only when the whole tree went: a key that kept part of it was not cleaned.
    std::wstring outcome;
    if (deletion.whole) {
        outcome = Registry::createKey(key, Registry::kLocal) ? L"Nouvelle Clé : " + key
                                                             : L"Erreur! Impossible de recréer la clé : " + key;
    } else {
        outcome = L"Erreur! Impossible de nettoyer la clé : " + key;
    }
    Journal(journal, L" - Delete MRU : " + outcome);
}

std::vector<MruRow> ListMruTraces(const JournalFile& journal) {
    std::vector<MruRow> rows;
    if (!Registry::keyExists(kRecentDocsKey, Registry::kLocal)) {
        Journal(journal, std::wstring(L" - Clé introuvable! - ") + kRecentDocsKey);
        return rows;
    }
    for (DWORD i = 0;; ++i) {
        const std::wstring subKey = Registry::subKeyAt(kRecentDocsKey, i, Registry::kLocal);
        if (subKey.empty())
            break;
        rows.push_back({MruRow::Kind::SubKey, subKey, L"", L""});
        // A link shows without values: they would be its target's.
        const Registry::OpenedKey list = Registry::openKey(SubKeyPath(subKey), Registry::kLocal);
        if (!list.key)
            continue;
        auto addValue = [&](const std::wstring& name) {
            if (Registry::valueExists(list.key.get(), name))
                rows.push_back({MruRow::Kind::Value, L"", name, ValueText(list.key.get(), name)});
        };
        for (int n = 0; n <= kLastNumber; ++n)
            addValue(std::to_wstring(n));
        addValue(L"MRUListEx");
    }
    return rows;
}

std::wstring ReadValueText(HKEY root, const std::wstring& subPath, const std::wstring& valueName) {
    const std::wstring path = !subPath.empty() && subPath[0] == L'\\' ? subPath.substr(1) : subPath;
    win::UniqueRegKey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return {};
    return ValueText(key.get(), valueName);
}

}  // namespace cleaner
