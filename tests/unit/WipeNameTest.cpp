#include "shred/WipeName.h"

#include "tests/unit/RecordingObserver.h"
#include "tests/unit/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(WipeName, AFileEndsAsFichierThrough27Names) {
    test::TempFolder t(L"wipe-file");
    test::WriteFile(t / L"report.doc", "content");
    test::RecordingObserver observer;
    EXPECT_TRUE(WipeName(t / L"report.doc", t.path(), WipeKind::File, observer).is(WipeOutcome::Wiped));
    EXPECT_EQ(test::NamesIn(t.path()), std::vector<std::wstring>{L"fichier"});
    EXPECT_EQ(test::ReadFile(t / L"fichier"), "content");
    std::vector<int> steps;
    for (int k = 1; k <= kNameWipeSteps; ++k)
        steps.push_back(k);
    EXPECT_EQ(observer.renames(), steps);
    EXPECT_EQ(observer.nameWipeEnds(), 1u);
}

TEST(WipeName, AFolderEndsAsDossierWithItsContent) {
    test::TempFolder t(L"wipe-folder");
    ::CreateDirectoryW((t / L"Old").c_str(), nullptr);
    test::WriteFile(t / L"Old\\inside.txt", "inside");
    test::RecordingObserver observer;
    EXPECT_TRUE(WipeName(t / L"Old", t.path(), WipeKind::Folder, observer).is(WipeOutcome::Wiped));
    EXPECT_EQ(test::NamesIn(t.path()), std::vector<std::wstring>{L"Dossier"});
    EXPECT_EQ(test::ReadFile(t / L"Dossier\\inside.txt"), "inside");
}

TEST(WipeName, ATakenNameIsNeverReplacedAnotherOfItsShapeStandsIn) {
    test::TempFolder t(L"wipe-taken");
    test::WriteFile(t / L"report.doc", "mine");
    test::WriteFile(t / L"AAAAA.aaa", "someone else's");
    test::WriteFile(t / L"fichier", "another");
    test::WriteFile(t / L"fichies", "and another");
    test::RecordingObserver observer;
    EXPECT_TRUE(WipeName(t / L"report.doc", t.path(), WipeKind::File, observer).is(WipeOutcome::Wiped));
    EXPECT_EQ(test::ReadFile(t / L"AAAAA.aaa"), "someone else's");
    EXPECT_EQ(test::ReadFile(t / L"fichier"), "another");
    EXPECT_EQ(test::ReadFile(t / L"fichies"), "and another");
    EXPECT_EQ(test::NamesIn(t.path()), (std::vector<std::wstring>{L"AAAAA.aaa", L"fichier", L"fichies", L"fichiet"}));
    EXPECT_EQ(test::ReadFile(t / L"fichiet"), "mine");
    EXPECT_EQ(observer.renames().size(), static_cast<size_t>(kNameWipeSteps));
}

TEST(WipeName, OtherKindsRenameNothing) {
    test::TempFolder t(L"wipe-kind");
    test::WriteFile(t / L"a.txt", "a");
    test::RecordingObserver observer;
    EXPECT_TRUE(WipeName(t / L"a.txt", t.path(), static_cast<WipeKind>(3), observer).is(WipeOutcome::UnknownKind));
    EXPECT_EQ(test::NamesIn(t.path()), std::vector<std::wstring>{L"a.txt"});
    EXPECT_TRUE(observer.renames().empty());
    EXPECT_EQ(observer.nameWipeEnds(), 1u);
}

TEST(WipeName, NamesThatOrdinaryPathsCannotReach) {
    test::TempFolder t(L"wipe-odd");
    // A trailing dot and a device name only exist through the \\?\ form.
    for (const std::wstring name : {L"trailing.", L"CON", L"日本語 ✓.txt"}) {
        const std::wstring extended = L"\\\\?\\" + (t / name);
        win::UniqueFile file(::CreateFileW(extended.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(file) << "cannot make the test file";
        file.reset();
        test::RecordingObserver observer;
        EXPECT_TRUE(WipeName(t / name, t.path(), WipeKind::File, observer).is(WipeOutcome::Wiped));
        EXPECT_EQ(test::NamesIn(t.path()), std::vector<std::wstring>{L"fichier"});
        ::DeleteFileW((t / L"fichier").c_str());
    }
}

}  // namespace
