#include "app/WorkFolders.h"

#include "tests/unit/TestSupport.h"
#include "win/Files.h"

#include <gtest/gtest.h>

namespace {

TEST(WorkFolders, FirstRunCreatesAllThree) {
    test::TempFolder local(L"first-run");
    WorkFolders folders = PrepareWorkFolders(local.path());
    EXPECT_EQ(folders.work, local / L"Kestavel\\");
    EXPECT_EQ(folders.temp, local / L"Kestavel\\ShredderTemp\\");
    EXPECT_EQ(folders.config, local / L"Kestavel\\ShredderConfig\\");
    EXPECT_TRUE(win::IsFolder(folders.temp));
    EXPECT_TRUE(win::IsFolder(folders.config));
}

TEST(WorkFolders, LaterRunsKeepWhatIsThere) {
    test::TempFolder local(L"later-run");
    PrepareWorkFolders(local.path());
    test::WriteFile(local / L"Kestavel\\ShredderTemp\\left.txt", "left over");
    WorkFolders folders = PrepareWorkFolders(local.path());
    EXPECT_EQ(folders.temp, local / L"Kestavel\\ShredderTemp\\");
    EXPECT_EQ(test::ReadFile(local / L"Kestavel\\ShredderTemp\\left.txt"), "left over");
}

TEST(WorkFolders, OnlyTheMissingSubfolderIsCreated) {
    test::TempFolder local(L"missing-config");
    ::CreateDirectoryW((local / L"Kestavel").c_str(), nullptr);
    ::CreateDirectoryW((local / L"Kestavel\\ShredderTemp").c_str(), nullptr);
    WorkFolders folders = PrepareWorkFolders(local.path());
    EXPECT_TRUE(win::IsFolder(local / L"Kestavel\\ShredderConfig"));
    EXPECT_EQ(folders.config, local / L"Kestavel\\ShredderConfig\\");
}

TEST(WorkFolders, AFileNamedKestavelMeansNoFolders) {
    test::TempFolder local(L"kestavel-file");
    test::WriteFile(local / L"Kestavel", "not a folder");
    WorkFolders folders = PrepareWorkFolders(local.path());
    EXPECT_TRUE(folders.work.empty());
    EXPECT_TRUE(folders.temp.empty());
    EXPECT_TRUE(folders.config.empty());
    EXPECT_EQ(test::ReadFile(local / L"Kestavel"), "not a folder");
}

TEST(WorkFolders, AFailedCreationStillGivesThePaths) {
    // The folders that cannot be made are not replaced by the current folder: what later writes there
    // fails and says so, rather than leaving files somewhere the user never chose.
    test::TempFolder local(L"unmakeable");
    const std::wstring missing = local / L"no such folder\\";
    WorkFolders folders = PrepareWorkFolders(missing);
    EXPECT_EQ(folders.config, missing + L"Kestavel\\ShredderConfig\\");
    EXPECT_FALSE(win::Exists(missing));
}

TEST(WorkFolders, UnicodeUserFolders) {
    test::TempFolder local(L"Ζωή-日本");
    WorkFolders folders = PrepareWorkFolders(local.path());
    EXPECT_TRUE(win::IsFolder(folders.config));
}

}  // namespace
