#include "cleaner/Registry.h"
#include "cleaner/RegistryTraces.h"
#include "journal/JournalMessages.h"

#include "tests/unit/TestSupport.h"
#include "win/Handle.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <string>
#include <vector>

namespace {

namespace Registry = cleaner::Registry;
using cleaner::MruRow;

const std::wstring kTypedUrls = cleaner::kTypedUrlsKey;
const std::wstring kRecentDocs = cleaner::kRecentDocsKey;
const std::wstring kHkcu = L"HKEY_CURRENT_USER\\";
const std::wstring kTestKey = kHkcu + L"Software\\Kestavel Tests";

// The sub-path of a key path under HKEY_CURRENT_USER.
std::wstring Below(const std::wstring& keyPath) {
    return keyPath.substr(kHkcu.size());
}

win::UniqueRegKey CreateKey(const std::wstring& keyPath) {
    win::UniqueRegKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, Below(keyPath).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                      nullptr);
    return key;
}

void SetValue(const std::wstring& keyPath, const std::wstring& name, DWORD type, const std::vector<BYTE>& data) {
    win::UniqueRegKey key = CreateKey(keyPath);
    ASSERT_EQ(::RegSetValueExW(key.get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
}

void SetText(const std::wstring& keyPath, const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    SetValue(keyPath, name, type, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t)));
}

constexpr wchar_t kReadOnly[] = L"D:P(A;;KR;;;WD)";
constexpr wchar_t kUnlisted[] = L"D:P(A;;0x20001;;;WD)";  // values may be read, sub-keys not listed
constexpr wchar_t kOpen[] = L"D:(A;;KA;;;WD)";

// Gives the key the rights of a policy, as an administrator's would; the owner can still give them back.
void Restrict(const std::wstring& keyPath, const wchar_t* rights) {
    win::UniqueRegKey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, Below(keyPath).c_str(), 0, WRITE_DAC, key.put()), ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(rights, SDDL_REVISION_1, &descriptor, nullptr));
    EXPECT_EQ(::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    ::LocalFree(descriptor);
}

// Makes keyPath a registry link to target (both under HKEY_CURRENT_USER), as any program of the user can.
void MakeLink(const std::wstring& keyPath, const std::wstring& target) {
    win::UniqueHandle token;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()));
    BYTE user[256];
    DWORD size = 0;
    ASSERT_TRUE(::GetTokenInformation(token.get(), TokenUser, user, sizeof(user), &size));
    wchar_t* sid = nullptr;
    ASSERT_TRUE(::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &sid));
    const std::wstring native = L"\\Registry\\User\\" + std::wstring(sid) + L"\\" + Below(target);
    ::LocalFree(sid);
    win::UniqueRegKey link;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Below(keyPath).c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                                KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, link.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(
        ::RegSetValueExW(link.get(), L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(native.data()),
                         static_cast<DWORD>(native.size() * sizeof(wchar_t))),
        ERROR_SUCCESS);
}

// The key itself, a link not followed.
bool KeyItselfExists(const std::wstring& keyPath) {
    win::UniqueRegKey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, Below(keyPath).c_str(), REG_OPTION_OPEN_LINK, KEY_READ, key.put()) ==
           ERROR_SUCCESS;
}

// A key of the user's that the cleaned keys are made to point at: values named as the lists' are, a sub-key.
const std::wstring kPrecious = kHkcu + L"Software\\Kestavel Precieux";
void MakePrecious() {
    Registry::deleteKeyTree(kPrecious, Registry::kLocal);
    for (const wchar_t* name : {L"0", L"MRUListEx", L"url1"})
        SetValue(kPrecious, name, REG_BINARY, {0x01});
    SetValue(kPrecious + L"\\child", L"0", REG_BINARY, {0x01});
}
void ExpectPreciousIntact() {
    for (const wchar_t* name : {L"0", L"MRUListEx", L"url1"})
        EXPECT_TRUE(Registry::valueExists(kPrecious, name, Registry::kLocal)) << name;
    EXPECT_TRUE(Registry::valueExists(kPrecious + L"\\child", L"0", Registry::kLocal));
}

// The journal of one test, and its lines without their timestamps (checked for their shape).
struct Journal {
    test::TempFolder folder;
    JournalFile file;
    explicit Journal(const std::wstring& name) : folder(name), file(folder.path()) {}
    std::vector<std::wstring> bodies() const {
        std::vector<std::wstring> result;
        for (const std::wstring& line : JournalFile::readLines(file.path())) {
            EXPECT_EQ(line.substr(10, 3), L" \u00E0 ") << line;
            result.push_back(line.size() > 21 ? line.substr(21) : line);
        }
        return result;
    }
};

TEST(CleanerRegistry, OperationsOverTextualPaths) {
    Registry::deleteKeyTree(kTestKey, Registry::kLocal);
    EXPECT_FALSE(Registry::keyExists(kTestKey, Registry::kLocal));
    EXPECT_TRUE(Registry::createKey(kTestKey + L"\\A", Registry::kLocal));
    EXPECT_TRUE(Registry::createKey(kTestKey + L"\\A", Registry::kLocal)) << "an existing key is opened";
    // The root name in any case; the empty computer name connects to this computer's registry.
    EXPECT_TRUE(Registry::keyExists(L"hkey_current_user\\Software\\Kestavel Tests\\A", Registry::kLocal));
    EXPECT_TRUE(Registry::keyExists(kTestKey + L"\\A", L""));
    EXPECT_FALSE(Registry::keyExists(L"HKEY_NOWHERE\\Software\\Kestavel Tests", Registry::kLocal));
    EXPECT_FALSE(Registry::keyExists(kTestKey + L"\\A", L"\\\\NO-SUCH-COMPUTER"));

    // A value found whatever its size, and deleted.
    SetValue(kTestKey + L"\\A", L"big", REG_BINARY, std::vector<BYTE>(5000, 0x5A));
    EXPECT_TRUE(Registry::valueExists(kTestKey + L"\\A", L"big", Registry::kLocal));
    EXPECT_FALSE(Registry::valueExists(kTestKey + L"\\A", L"small", Registry::kLocal));
    EXPECT_TRUE(Registry::deleteValue(kTestKey + L"\\A", L"big", Registry::kLocal));
    EXPECT_FALSE(Registry::deleteValue(kTestKey + L"\\A", L"big", Registry::kLocal));

    Registry::createKey(kTestKey + L"\\B\\deep\\deeper", Registry::kLocal);
    EXPECT_EQ(Registry::subKeyAt(kTestKey, 0, Registry::kLocal), L"A");
    EXPECT_EQ(Registry::subKeyAt(kTestKey, 1, Registry::kLocal), L"B");
    EXPECT_EQ(Registry::subKeyAt(kTestKey, 2, Registry::kLocal), L"");
    EXPECT_EQ(Registry::subKeyAt(kTestKey + L"\\none", 0, Registry::kLocal), L"");
    EXPECT_FALSE(Registry::deleteKey(kTestKey + L"\\B", Registry::kLocal)) << "a key with sub-keys stays";

    EXPECT_TRUE(Registry::clearKey(kTestKey, Registry::kLocal));
    EXPECT_FALSE(Registry::keyExists(kTestKey, Registry::kLocal));
    EXPECT_FALSE(Registry::clearKey(kTestKey, Registry::kLocal));
}

TEST(CleanerRegistry, TreeDeletionEndsWhenTheSameFirstSubKeyComesBack) {
    Registry::deleteKeyTree(kTestKey, Registry::kLocal);
    for (const wchar_t* name : {L"\\a\\x", L"\\b\\x", L"\\c"})
        Registry::createKey(kTestKey + name, Registry::kLocal);
    // b's sub-key cannot be listed, so b cannot be emptied and deleted.
    Restrict(kTestKey + L"\\b", kUnlisted);
    Registry::deleteKeyTree(kTestKey, Registry::kLocal);  // returns: b comes back first
    EXPECT_FALSE(Registry::keyExists(kTestKey + L"\\a", Registry::kLocal));
    EXPECT_EQ(Registry::subKeyAt(kTestKey, 0, Registry::kLocal), L"b");
    EXPECT_EQ(Registry::subKeyAt(kTestKey, 1, Registry::kLocal), L"c") << "the walk ends at b";
    Restrict(kTestKey + L"\\b", kOpen);
    Registry::deleteKeyTree(kTestKey, Registry::kLocal);
    EXPECT_FALSE(Registry::keyExists(kTestKey, Registry::kLocal));
}

TEST(CleanerRegistry, TypedUrlsAreDeletedOneLineEach) {
    Registry::deleteKeyTree(kTypedUrls, Registry::kLocal);
    for (const wchar_t* name : {L"url1", L"url2", L"url3"})
        SetText(kTypedUrls, name, L"http://example.org/");
    SetText(kTypedUrls, L"url101", L"http://example.org/beyond");
    SetText(kTypedUrls, L"other", L"kept");
    Journal journal(L"typed-urls");
    cleaner::CleanTypedUrls(journal.file);

    EXPECT_EQ(journal.bodies(), (std::vector<std::wstring>{L" - URL supprim\u00E9e : " + kTypedUrls + L"\\url1",
                                                           L" - URL supprim\u00E9e : " + kTypedUrls + L"\\url2",
                                                           L" - URL supprim\u00E9e : " + kTypedUrls + L"\\url3"}));
    const std::string bytes = test::ReadFile(journal.file.path());
    EXPECT_NE(bytes.find(" - URL supprim\xE9"
                         "e : HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\"
                         "TypedURLs\\url3\r\n"),
              std::string::npos);
    for (const wchar_t* name : {L"url1", L"url2", L"url3"})
        EXPECT_FALSE(Registry::valueExists(kTypedUrls, name, Registry::kLocal));
    EXPECT_TRUE(Registry::valueExists(kTypedUrls, L"url101", Registry::kLocal)) << "the list ends at url100";
    EXPECT_TRUE(Registry::valueExists(kTypedUrls, L"other", Registry::kLocal));

    // A value that may not be deleted is reported, and stays.
    SetText(kTypedUrls, L"url7", L"http://example.org/kept");
    Restrict(kTypedUrls, kReadOnly);
    cleaner::CleanTypedUrls(journal.file);
    Restrict(kTypedUrls, kOpen);
    EXPECT_EQ(journal.bodies().back(), L" - Echec suppression URL : " + kTypedUrls + L"\\url7");
    EXPECT_TRUE(Registry::valueExists(kTypedUrls, L"url7", Registry::kLocal));
}

TEST(CleanerRegistry, MruValuesAreListedAndCleanedSubKeyBySubKey) {
    Registry::deleteKeyTree(kRecentDocs, Registry::kLocal);
    const std::wstring txt = kRecentDocs + L"\\.txt";
    const std::wstring folder = kRecentDocs + L"\\Folder";
    const std::wstring locked = kRecentDocs + L"\\Locked";
    SetValue(txt, L"0", REG_BINARY, {0x61, 0x00});
    SetValue(txt, L"1", REG_BINARY, {0x01, 0x0B, 0x10, 0xFF, 0x00});
    SetValue(txt, L"101", REG_BINARY, {0x02});
    std::vector<BYTE> longData(300);
    for (size_t i = 0; i < longData.size(); ++i)
        longData[i] = static_cast<BYTE>(i);
    SetValue(folder, L"0", REG_BINARY, longData);
    SetValue(folder, L"MRUListEx", REG_BINARY, {0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF});
    SetText(locked, L"3", L"C:\\a b.txt");
    SetValue(locked, L"MRUListEx", REG_DWORD, {0x03, 0x00, 0x00, 0x00});
    SetValue(kRecentDocs, L"MRUListEx", REG_BINARY, {0x01});  // the key's own values are not the lists'
    Restrict(locked, kReadOnly);

    std::wstring longHex;
    for (BYTE b : longData) {
        wchar_t digits[3];
        swprintf(digits, 3, L"%02X", b);
        longHex += digits;
    }
    auto key = [](const wchar_t* name) { return MruRow{MruRow::Kind::SubKey, name, L"", L""}; };
    auto value = [](const wchar_t* name, const std::wstring& text) {
        return MruRow{MruRow::Kind::Value, L"", name, text};
    };
    Journal journal(L"mru");
    // The values of a key that may only be read are listed all the same.
    EXPECT_EQ(cleaner::ListMruTraces(journal.file),
              (std::vector<MruRow>{key(L".txt"), value(L"0", L"6100"), value(L"1", L"010B10FF00"), key(L"Folder"),
                                   value(L"0", longHex), value(L"MRUListEx", L"00000000FFFFFFFF"), key(L"Locked"),
                                   value(L"3", L"C:\\a b.txt"), value(L"MRUListEx", L"3")}));
    EXPECT_TRUE(journal.bodies().empty());

    cleaner::CleanMruValues(journal.file);
    Restrict(locked, kOpen);
    // No line for the missing MRUListEx of .txt, nor for what went; one for each value that stayed.
    EXPECT_EQ(journal.bodies(),
              (std::vector<std::wstring>{L" - Echec suppression MRU : " + locked + L" - Val: 3",
                                         L" - Echec suppression : " + locked + L" - Val: MRUListEx"}));
    EXPECT_EQ(cleaner::ListMruTraces(journal.file),
              (std::vector<MruRow>{key(L".txt"), key(L"Folder"), key(L"Locked"), value(L"3", L"C:\\a b.txt"),
                                   value(L"MRUListEx", L"3")}));
    EXPECT_TRUE(Registry::valueExists(txt, L"101", Registry::kLocal)) << "the lists end at 100";
    EXPECT_TRUE(Registry::valueExists(kRecentDocs, L"MRUListEx", Registry::kLocal));
}

TEST(CleanerRegistry, ValuesReadAsDisplayText) {
    const std::wstring key = kTestKey + L"\\values";
    const std::wstring subPath = Below(key);
    SetValue(key, L"bin", REG_BINARY, {0x01, 0x0B, 0x10, 0xFF, 0x00});
    SetText(key, L"text", L"C:\\Users\\Jean\\a.txt");
    SetText(key, L"expand", L"%TEMP%\\b.txt", REG_EXPAND_SZ);
    SetValue(key, L"dword", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF});
    SetValue(key, L"qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0});
    SetValue(key, L"empty", REG_BINARY, {});
    SetValue(key, L"huge", REG_BINARY, std::vector<BYTE>(3000, 0xAB));
    // A text stored without its terminating zero.
    SetValue(key, L"bare", REG_SZ, {L'o', 0, L'k', 0});

    EXPECT_EQ(cleaner::ReadValueText(HKEY_CURRENT_USER, subPath, L"bin"), L"010B10FF00");
    EXPECT_EQ(cleaner::ReadValueText(HKEY_CURRENT_USER, L"\\" + subPath, L"bin"), L"010B10FF00");
    EXPECT_EQ(cleaner::ReadValueText(HKEY_CURRENT_USER, subPath, L"text"), L"C:\\Users\\Jean\\a.txt");
    EXPECT_EQ(cleaner::ReadValueText(HKEY_CURRENT_USER, subPath, L"expand"), L"%TEMP%\\b.txt");
    EXPECT_EQ(cleaner::ReadValueText(HKEY_CURRENT_USER, subPath, L"dword"), L"4294967295");
    EXPECT_EQ(cleaner::ReadValueText(HKEY_CURRENT_USER, subPath, L"qword"), L"");
    EXPECT_EQ(cleaner::ReadValueText(HKEY_CURRENT_USER, subPath, L"empty"), L"");
    std::wstring firstKiB;
    for (int i = 0; i < 1024; ++i)
        firstKiB += L"AB";
    EXPECT_EQ(cleaner::ReadValueText(HKEY_CURRENT_USER, subPath, L"huge"), firstKiB);
    EXPECT_EQ(cleaner::ReadValueText(HKEY_CURRENT_USER, subPath, L"bare"), L"ok");
    EXPECT_EQ(cleaner::ReadValueText(HKEY_CURRENT_USER, subPath, L"missing"), L"");
    EXPECT_EQ(cleaner::ReadValueText(HKEY_CURRENT_USER, subPath + L"\\none", L"bin"), L"");
    Registry::deleteKeyTree(kTestKey, Registry::kLocal);
}

TEST(CleanerRegistry, RecentDocsKeyIsResetOrReportedMissing) {
    Journal journal(L"reset");
    Registry::deleteKeyTree(kRecentDocs, Registry::kLocal);
    cleaner::ResetRecentDocsKey(journal.file);
    EXPECT_FALSE(Registry::keyExists(kRecentDocs, Registry::kLocal)) << "an absent key is not created";
    EXPECT_TRUE(cleaner::ListMruTraces(journal.file).empty());
    EXPECT_EQ(journal.bodies(),
              (std::vector<std::wstring>{L" - Delete MRU : Erreur! Impossible de nettoyer la cl\u00E9 : " + kRecentDocs,
                                         L" - Cl\u00E9 introuvable! - " + kRecentDocs}));

    SetValue(kRecentDocs + L"\\.doc\\deeper\\still", L"0", REG_BINARY, {0x01});
    SetValue(kRecentDocs, L"MRUListEx", REG_BINARY, {0x01});
    cleaner::ResetRecentDocsKey(journal.file);
    EXPECT_EQ(journal.bodies().back(), L" - Delete MRU : Nouvelle Cl\u00E9 : " + kRecentDocs);
    EXPECT_TRUE(Registry::keyExists(kRecentDocs, Registry::kLocal));
    EXPECT_EQ(Registry::subKeyAt(kRecentDocs, 0, Registry::kLocal), L"");
    EXPECT_FALSE(Registry::valueExists(kRecentDocs, L"MRUListEx", Registry::kLocal));
}

TEST(CleanerRegistry, ValueStepsLeaveALinkAndItsTarget) {
    MakePrecious();
    Registry::deleteKeyTree(kRecentDocs, Registry::kLocal);
    const std::wstring link = kRecentDocs + L"\\Lien";
    const std::wstring real = kRecentDocs + L"\\Reel";  // listed after the link
    MakeLink(link, kPrecious);
    SetValue(real, L"0", REG_BINARY, {0x01});
    Registry::deleteKeyTree(kTypedUrls, Registry::kLocal);
    MakeLink(kTypedUrls, kPrecious);

    Journal journal(L"mru-link");
    cleaner::CleanMruValues(journal.file);
    cleaner::CleanTypedUrls(journal.file);
    ExpectPreciousIntact();
    EXPECT_FALSE(Registry::valueExists(real, L"0", Registry::kLocal));
    EXPECT_TRUE(KeyItselfExists(link)) << "the values step deletes no key";
    EXPECT_EQ(journal.bodies(), (std::vector<std::wstring>{journal::LinkLeft(link), journal::LinkLeft(kTypedUrls)}));
    Registry::deleteKeyTree(kTypedUrls, Registry::kLocal);
}

TEST(CleanerRegistry, ResetRemovesALinkItselfAndSaysWhatStayed) {
    MakePrecious();
    Registry::deleteKeyTree(kRecentDocs, Registry::kLocal);
    const std::wstring link = kRecentDocs + L"\\Lien";
    const std::wstring real = kRecentDocs + L"\\Reel";
    MakeLink(link, kPrecious);
    SetValue(real + L"\\deeper", L"0", REG_BINARY, {0x01});
    Journal journal(L"reset-link");
    cleaner::ResetRecentDocsKey(journal.file);
    ExpectPreciousIntact();
    EXPECT_FALSE(KeyItselfExists(link));
    EXPECT_EQ(Registry::subKeyAt(kRecentDocs, 0, Registry::kLocal), L"") << "the sub-key after the link went too";
    EXPECT_EQ(journal.bodies(), (std::vector<std::wstring>{journal::LinkRemoved(link),
                                                           L" - Delete MRU : Nouvelle Cl\u00E9 : " + kRecentDocs}));

    // A sub-key that cannot be emptied: the key stays, and the line says so.
    SetValue(real + L"\\deeper", L"0", REG_BINARY, {0x01});
    Restrict(real, kUnlisted);
    cleaner::ResetRecentDocsKey(journal.file);
    Restrict(real, kOpen);
    EXPECT_EQ(journal.bodies().back(), L" - Delete MRU : Erreur! Impossible de nettoyer la cl\u00E9 : " + kRecentDocs);
    EXPECT_TRUE(Registry::keyExists(real + L"\\deeper", Registry::kLocal));
}

}  // namespace
