#include "shred/ShellFolder.h"

#include "tests/unit/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using test::RegistryValueOverride;

TEST(ShellFolderPath, ReadsTheValueAndAddsOneTrailingBackslash) {
    RegistryValueOverride cookies(HKEY_CURRENT_USER, kShellFoldersKey, L"Cookies",
                                  L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Cookies");
    EXPECT_EQ(ShellFolderPath(ShellFolder::Cookies), L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Cookies\\");

    RegistryValueOverride history(HKEY_CURRENT_USER, kShellFoldersKey, L"History", L"C:\\Hist\\");
    EXPECT_EQ(ShellFolderPath(ShellFolder::History), L"C:\\Hist\\");
}

TEST(ShellFolderPath, MissingValueGivesEmptyText) {
    // Wine's prefix has no "CD Burning" folder, as many real systems.
    RegistryValueOverride burning(HKEY_CURRENT_USER, kShellFoldersKey, L"CD Burning", L"x");
    {
        win::UniqueRegKey key;
        ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_WRITE, key.put()), ERROR_SUCCESS);
        ::RegDeleteValueW(key.get(), L"CD Burning");
    }
    EXPECT_EQ(ShellFolderPath(ShellFolder::CdBurning), L"");
}

TEST(ShellFolderPath, IndexesOutsideTheTableReadTheDefaultValue) {
    EXPECT_EQ(ShellFolderPath(static_cast<ShellFolder>(0)), L"");
    EXPECT_EQ(ShellFolderPath(static_cast<ShellFolder>(37)), L"");
    // With a default value, that value is what an unknown index names.
    RegistryValueOverride defaultValue(HKEY_CURRENT_USER, kShellFoldersKey, L"", L"C:\\Default");
    EXPECT_EQ(ShellFolderPath(static_cast<ShellFolder>(0)), L"C:\\Default\\");
}

TEST(ShellFolderPath, ValuesLongerThanTheBufferGiveEmptyText) {
    // 254 characters and the terminating zero fill the 255-byte buffer exactly; one more does not fit.
    const std::wstring fits = L"C:\\" + std::wstring(251, L'a');
    const std::wstring tooLong = fits + L"b";
    {
        RegistryValueOverride value(HKEY_CURRENT_USER, kShellFoldersKey, L"Favorites", fits);
        EXPECT_EQ(ShellFolderPath(ShellFolder::Favorites), fits + L"\\");
    }
    {
        RegistryValueOverride value(HKEY_CURRENT_USER, kShellFoldersKey, L"Favorites", tooLong);
        EXPECT_EQ(ShellFolderPath(ShellFolder::Favorites), L"");
    }
}

TEST(ShellFolderPath, CommonFoldersComeFromTheMachineHive) {
    RegistryValueOverride common(HKEY_LOCAL_MACHINE, kShellFoldersKey, L"Common Documents", L"C:\\Users\\Public\\Doc");
    RegistryValueOverride user(HKEY_CURRENT_USER, kShellFoldersKey, L"Common Documents", L"C:\\wrong");
    EXPECT_EQ(ShellFolderPath(ShellFolder::CommonDocuments), L"C:\\Users\\Public\\Doc\\");
}

TEST(ShellFolderPath, QuickLaunchIsBelowTheUsersAppData) {
    RegistryValueOverride appData(HKEY_CURRENT_USER, kShellFoldersKey, L"AppData", L"C:\\Roaming");
    EXPECT_EQ(ShellFolderPath(ShellFolder::QuickLaunch), L"C:\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch\\");
}

TEST(ShellFolderPath, AMissingKeyGivesTheMarkerText) {
    EXPECT_EQ(ShellFolderPathUnder(L"Software\\Kestavel\\NoSuchKey", ShellFolder::Cookies), L"PAS DE CLE\\");
}

TEST(ShellFolderPath, TheSandboxesLocalAppDataExists) {
    const std::wstring local = ShellFolderPath(ShellFolder::LocalAppData);
    ASSERT_FALSE(local.empty());
    EXPECT_EQ(local.back(), L'\\');
    EXPECT_NE(::GetFileAttributesW(local.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
