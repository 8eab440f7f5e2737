#include "cleaner/RegistryTraces.h"

#include "cleaner/Registry.h"
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

}  // namespace

void CleanTypedUrls(const JournalFile& journal) {
    const std::wstring key = kTypedUrlsKey;
    for (int n = 0; n <= kLastNumber; ++n) {
        const std::wstring name = L"url" + std::to_wstring(n);
        if (!Registry::valueExists(key, name, Registry::kLocal))
            continue;
        if (Registry::deleteValue(key, name, Registry::kLocal))
            Journal(journal, L" - URL supprimée : " + key + L"\\" + name);
        else
            Journal(journal, L" - Echec suppression URL : " + key + L"\\" + name);
    }
}

void CleanMruValues(const JournalFile& journal) {
    for (DWORD i = 0;; ++i) {
        const std::wstring subKey = Registry::subKeyAt(kRecentDocsKey, i, Registry::kLocal);
        if (subKey.empty())
            break;
        const std::wstring path = SubKeyPath(subKey);
        for (int n = 0; n <= kLastNumber; ++n) {
            const std::wstring name = std::to_wstring(n);
            if (Registry::valueExists(path, name, Registry::kLocal) &&
                !Registry::deleteValue(path, name, Registry::kLocal))
                Journal(journal, L" - Echec suppression MRU : " + path + L" - Val: " + name);
        }
        if (Registry::valueExists(path, L"MRUListEx", Registry::kLocal) &&
            !Registry::deleteValue(path, L"MRUListEx", Registry::kLocal))
            Journal(journal, L" - Echec suppression : " + path + L" - Val: MRUListEx");
    }
}

void ResetRecentDocsKey(const JournalFile& journal) {
    const std::wstring key = kRecentDocsKey;
    std::wstring outcome;
    if (Registry::clearKey(key, Registry::kLocal)) {
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
        const std::wstring path = SubKeyPath(subKey);
        const std::wstring subPath = std::wstring(kRecentDocsSubPath) + L"\\" + subKey;
        auto addValue = [&](const std::wstring& name) {
            if (Registry::valueExists(path, name, Registry::kLocal))
                rows.push_back({MruRow::Kind::Value, L"", name, ReadValueText(HKEY_CURRENT_USER, subPath, name)});
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
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ: {
            std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
            DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()),
                                   &bytes) != ERROR_SUCCESS)
                return {};
            // The stored text may or may not carry its terminating zero: stop at the first one.
            std::wstring result(text.data(), bytes / sizeof(wchar_t));
            return result.substr(0, result.find(L'\0'));
        }
        case REG_DWORD: {
            DWORD number = 0;
            DWORD bytes = sizeof(number);
            if (::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&number),
                                   &bytes) != ERROR_SUCCESS)
                return L"0";
            return std::to_wstring(number);
        }
        case REG_BINARY: {
            std::vector<BYTE> data(size);
            DWORD bytes = size;
            if (size && ::RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr, data.data(), &bytes) !=
                            ERROR_SUCCESS)
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

}  // namespace cleaner
