#include "shred/FolderScan.h"

#include "tests/unit/ScanSupport.h"
#include "win/Paths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using test::Entry;
using test::Listed;
using test::MakeTree;
using test::StatusRecorder;

constexpr EntryImage kFolder = EntryImage::ScannedFolder;
constexpr EntryImage kFile = EntryImage::ScannedFile;

TEST(FolderScan, QueuesEveryFolderBeforeItsContentAndNeverTheRootItself) {
    test::TempFolder s(L"S");
    MakeTree(s.path(), {L"z.txt", L"A\\", L"A\\b.txt"});
    StatusRecorder status;
    const ScanResult result = ScanFolder(s.path(), {win::StopToken::Never(), &status});
    EXPECT_EQ(Listed(result.entries, s.path()),
              (std::vector<Entry>{{L"A", kFolder}, {L"A\\b.txt", kFile}, {L"z.txt", kFile}}));
    EXPECT_EQ(status.statuses, (std::vector<ScanStatus>{ScanStatus::Scanning, ScanStatus::None}));
    std::wstring bare = s.path();
    bare.pop_back();
    EXPECT_EQ(Listed(ScanFolder(bare, {}).entries, s.path()), Listed(result.entries, s.path()));

    test::TempFolder empty(L"empty");
    EXPECT_TRUE(ScanFolder(empty.path(), {}).entries.empty());
}

TEST(FolderScan, OrderIgnoresCaseAndPutsSubfoldersBeforeFiles) {
    test::TempFolder root(L"order");
    // "a b" beside "a": the space sorts before the backslash, so "a b" and its content come between "a"
    // and the content of "a"; each folder still stands before its own content.
    MakeTree(root.path(), {L"a\\", L"a\\x.txt", L"a b\\", L"a b\\y.txt", L"Banana\\", L"cherry\\", L"Apple.txt",
                           L"banana.txt", L"a\\deeper\\", L"a\\deeper\\e.txt"});
    EXPECT_EQ(Listed(ScanFolder(root.path(), {}).entries, root.path()),
              (std::vector<Entry>{{L"a", kFolder},
                                  {L"a b", kFolder},
                                  {L"a b\\y.txt", kFile},
                                  {L"a\\deeper", kFolder},
                                  {L"a\\deeper\\e.txt", kFile},
                                  {L"a\\x.txt", kFile},
                                  {L"Banana", kFolder},
                                  {L"cherry", kFolder},
                                  {L"Apple.txt", kFile},
                                  {L"banana.txt", kFile}}));
}

TEST(FolderScan, ScanningAPartlyListedFolderQueuesDuplicates) {
    test::TempFolder s(L"partly");
    MakeTree(s.path(), {L"z.txt", L"A\\", L"A\\b.txt"});
    ShredList list;
    list.addPath(s / L"z.txt");
    AppendScanResult(list, ScanFolder(s.path(), {}));
    EXPECT_EQ(list.count(), 4u);
    EXPECT_EQ(list.numbers().count, 4u);
    EXPECT_EQ(list.numbers().counted, ShredListNumbers::Counted::AfterAdding);
    EXPECT_EQ(list.entryText(3), s / L"z.txt");
}

TEST(FolderScan, PathsBeyondMaxPathAreWalkedAndQueued) {
    test::TempFolder root(L"deep");
    std::wstring path = root.path();
    for (int level = 0; level < 40; ++level) {
        path += L"un dossier assez long " + std::to_wstring(level) + L"\\";
        ASSERT_TRUE(::CreateDirectoryW(win::ExtendedPath(path).c_str(), nullptr)) << level;
    }
    const ScanResult result = ScanFolder(root.path(), {});
    ASSERT_EQ(result.entries.size(), 40u);
    EXPECT_EQ(result.entries.back().path + L"\\", path);
    for (size_t i = result.entries.size(); i-- > 0;)  // the helpers' plain paths cannot reach so deep
        ::RemoveDirectoryW(win::ExtendedPath(result.entries[i].path).c_str());
}

// The sandbox runner made C:\scancase\S\link -> C:\scancase\outside, C:\scancase\S\loop -> C:\scancase
// (the scan's own parent) and C:\scancase\rootlink -> C:\scancase\outside.
TEST(FolderScan, LinksInsideTheFolderAreQueuedButNeverEntered) {
    const std::wstring s = L"C:\\scancase\\S\\";
    ASSERT_NE(::GetFileAttributesW((s + L"link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    test::WriteFile(L"C:\\scancase\\outside\\secret.pf", "not in S");
    test::WriteFile(s + L"mine.txt", "in S");
    EXPECT_EQ(Listed(ScanFolder(s, {}).entries, s),
              (std::vector<Entry>{{L"link", kFolder}, {L"loop", kFolder}, {L"mine.txt", kFile}}));
    EXPECT_EQ(CollectMatching(s, L"*.pf", true, {}), std::vector<std::wstring>());
    // The root itself is what the user named: a link there is followed, and what it holds is queued at the
    // place it leads to, with no link on the way.
    EXPECT_EQ(Listed(ScanFolder(L"C:\\scancase\\rootlink", {}).entries, L"C:\\scancase\\outside\\"),
              (std::vector<Entry>{{L"secret.pf", kFile}}));
}

// The sandbox runner made, from the host side, C:\scanmarks holding the files "x?1?y", "?1?" and "a?2?b" and
// the folder "sub" with the file "in?2?.txt": names that Windows cannot make but a Linux volume can hold.
TEST(FolderScan, NamesAreQueuedAsTheyAreOnDiskWhateverTheyHold) {
    const std::wstring root = L"C:\\scanmarks\\";
    EXPECT_EQ(
        Listed(ScanFolder(root, {}).entries, root),
        (std::vector<Entry>{
            {L"sub", kFolder}, {L"sub\\in?2?.txt", kFile}, {L"?1?", kFile}, {L"a?2?b", kFile}, {L"x?1?y", kFile}}));
}

// Nothing of a scan outlives its call: scans running at once, as the start-up scan and a user's scan
// can, each give exactly what they give alone.
TEST(FolderScan, ScansRunningAtOnceDoNotMeddleWithEachOther) {
    test::TempFolder first(L"first");
    test::TempFolder second(L"second");
    for (int folder = 0; folder < 8; ++folder) {
        const std::wstring name = L"d" + std::to_wstring(folder) + L"\\";
        MakeTree(first.path(), {name});
        MakeTree(second.path(), {name});
        for (int file = 0; file < 30; ++file)
            MakeTree(file % 2 ? first.path() : second.path(), {name + L"f" + std::to_wstring(file) + L".txt"});
    }
    std::atomic<int> mismatches{0};
    auto repeat = [&](const std::wstring& root) {
        const std::vector<Entry> alone = Listed(ScanFolder(root, {}).entries, L"");
        for (int round = 0; round < 20; ++round)
            mismatches += Listed(ScanFolder(root, {}).entries, L"") != alone;
    };
    std::thread a(repeat, first.path()), b(repeat, second.path()), c(repeat, first.path());
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(mismatches.load(), 0);
}

// Asks the scan to stop as soon as it says it started, as the window does when the program ends.
class StopOnStart : public StatusRecorder {
public:
    win::StopToken stop;
    void status(ScanStatus status) override {
        StatusRecorder::status(status);
        stop.stop();
    }
};

TEST(FolderScan, AStopRequestEndsTheScanWithNothingQueued) {
    test::TempFolder root(L"stop");
    MakeTree(root.path(), {L"A\\", L"A\\b.txt"});
    StopOnStart observer;
    const ScanResult result = ScanFolder(root.path(), {observer.stop, &observer});
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(result.entries.empty());
    EXPECT_EQ(observer.statuses, (std::vector<ScanStatus>{ScanStatus::Scanning, ScanStatus::None}))
        << "the status line is cleared";
    EXPECT_TRUE(ScanRecycleBin(root.path(), {observer.stop, nullptr}).stopped);
}

}  // namespace
