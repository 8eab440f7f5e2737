#include "shred/WipeName.h"

#include "tests/unit/RecordingDisplay.h"
#include "tests/unit/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<std::wstring> Names(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    win::UniqueFind find(::FindFirstFileW((folder + L"*").c_str(), &entry));
    if (find) {
        do {
            std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..")
                names.push_back(name);
        } while (::FindNextFileW(find.get(), &entry));
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WipeName, AFileEndsAsFichierThrough27Names) {
    test::TempFolder t(L"wipe-file");
    test::WriteFile(t / L"report.doc", "content");
    test::RecordingDisplay display;
    EXPECT_TRUE(WipeName(t / L"report.doc", t.path(), kWipeFile, display));
    EXPECT_EQ(Names(t.path()), std::vector<std::wstring>{L"fichier"});
    EXPECT_EQ(test::ReadFile(t / L"fichier"), "content");
    const auto counter = display.texts(RunText::RenameCounter);
    ASSERT_EQ(counter.size(), 27u);
    EXPECT_EQ(counter.front(), L"1/27");
    EXPECT_EQ(counter.back(), L"27/27");
    std::vector<int> expectedBar;
    for (int k = 1; k <= 27; ++k)
        expectedBar.push_back(k);
    expectedBar.push_back(0);
    EXPECT_EQ(display.bars(RunBar::NameWipe), expectedBar);
}

TEST(WipeName, AFolderEndsAsDossierWithItsContent) {
    test::TempFolder t(L"wipe-folder");
    ::CreateDirectoryW((t / L"Old").c_str(), nullptr);
    test::WriteFile(t / L"Old\\inside.txt", "inside");
    test::RecordingDisplay display;
    EXPECT_TRUE(WipeName(t / L"Old", t.path(), kWipeFolder, display));
    EXPECT_EQ(Names(t.path()), std::vector<std::wstring>{L"Dossier"});
    EXPECT_EQ(test::ReadFile(t / L"Dossier\\inside.txt"), "inside");
}

TEST(WipeName, AnExistingNameStopsTheSequenceAndIsLeftAlone) {
    test::TempFolder t(L"wipe-taken");
    test::WriteFile(t / L"report.doc", "mine");
    test::WriteFile(t / L"AAAAA.aaa", "someone else's");
    test::RecordingDisplay display;
    EXPECT_FALSE(WipeName(t / L"report.doc", t.path(), kWipeFile, display));
    EXPECT_EQ(test::ReadFile(t / L"report.doc"), "mine");
    EXPECT_EQ(test::ReadFile(t / L"AAAAA.aaa"), "someone else's");
    EXPECT_TRUE(display.texts(RunText::RenameCounter).empty());
    EXPECT_EQ(display.bars(RunBar::NameWipe), std::vector<int>{0});

    // Taken half-way: the entry keeps the last name it reached.
    test::WriteFile(t / L"JJJJJ.jjj", "taken");
    ::DeleteFileW((t / L"AAAAA.aaa").c_str());
    test::RecordingDisplay second;
    EXPECT_FALSE(WipeName(t / L"report.doc", t.path(), kWipeFile, second));
    EXPECT_EQ(test::ReadFile(t / L"IIIII.iii"), "mine");
    EXPECT_EQ(second.lastText(RunText::RenameCounter), L"9/27");
    EXPECT_EQ(second.lastBar(RunBar::NameWipe), 0);
}

TEST(WipeName, OtherKindsRenameNothing) {
    test::TempFolder t(L"wipe-kind");
    test::WriteFile(t / L"a.txt", "a");
    test::RecordingDisplay display;
    EXPECT_FALSE(WipeName(t / L"a.txt", t.path(), 3, display));
    EXPECT_EQ(Names(t.path()), std::vector<std::wstring>{L"a.txt"});
    EXPECT_EQ(display.bars(RunBar::NameWipe), std::vector<int>{0});
}

TEST(WipeName, NamesThatOrdinaryPathsCannotReach) {
    test::TempFolder t(L"wipe-odd");
    // A trailing dot and a device name only exist through the \\?\ form.
    for (const std::wstring name : {L"trailing.", L"CON", L"日本語 ✓.txt"}) {
        const std::wstring extended = L"\\\\?\\" + (t / name);
        win::UniqueFile file(::CreateFileW(extended.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(file) << "cannot make the test file";
        file.reset();
        test::RecordingDisplay display;
        EXPECT_TRUE(WipeName(t / name, t.path(), kWipeFile, display));
        EXPECT_EQ(Names(t.path()), std::vector<std::wstring>{L"fichier"});
        ::DeleteFileW((t / L"fichier").c_str());
    }
}

}  // namespace
