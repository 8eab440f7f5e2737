#include "shred/FolderScan.h"

#include "tests/unit/ScanSupport.h"
#include "tests/unit/TestSupport.h"
#include "win/Paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

using test::Listed;
using test::MakeTree;
using test::StatusRecorder;

constexpr EntryImage kFolder = EntryImage::ScannedFolder;
constexpr EntryImage kFile = EntryImage::ScannedFile;

TEST(FolderScan, QueuesEveryFolderBeforeItsContentAndNeverTheRootItself) {
    test::TempFolder s(L"S");
    MakeTree(s.path(), {L"z.txt", L"A\\", L"A\\b.txt"});
    StatusRecorder status;
    const ScanResult result = ScanFolder(s.path(), {nullptr, &status});
    EXPECT_EQ(Listed(result.entries, s.path()),
              (std::vector<test::Entry>{{L"A", kFolder}, {L"A\\b.txt", kFile}, {L"z.txt", kFile}}));
    EXPECT_EQ(status.texts, (std::vector<std::wstring>{kScanningStatus, L""}));
    EXPECT_FALSE(result.stopped);
    EXPECT_FALSE(result.rewriteCounters);

    // Without its trailing backslash the root gives the same paths.
    std::wstring bare = s.path();
    bare.pop_back();
    EXPECT_EQ(Listed(ScanFolder(bare, {}).entries, s.path()), Listed(result.entries, s.path()));
}

TEST(FolderScan, OrderIgnoresCaseAndPutsSubfoldersBeforeFiles) {
    test::TempFolder root(L"order");
    // "a b" beside "a": the space sorts before the backslash, so "a b" and its content come between "a"
    // and the content of "a"; each folder still stands before its own content.
    MakeTree(root.path(), {L"a\\", L"a\\x.txt", L"a b\\", L"a b\\y.txt", L"Banana\\", L"cherry\\", L"Apple.txt",
                           L"banana.txt", L"a\\deeper\\", L"a\\deeper\\e.txt", L"empty\\"});
    EXPECT_EQ(Listed(ScanFolder(root.path(), {}).entries, root.path()), (std::vector<test::Entry>{
                                                                            {L"a", kFolder},
                                                                            {L"a b", kFolder},
                                                                            {L"a b\\y.txt", kFile},
                                                                            {L"a\\deeper", kFolder},
                                                                            {L"a\\deeper\\e.txt", kFile},
                                                                            {L"a\\x.txt", kFile},
                                                                            {L"Banana", kFolder},
                                                                            {L"cherry", kFolder},
                                                                            {L"empty", kFolder},
                                                                            {L"Apple.txt", kFile},
                                                                            {L"banana.txt", kFile},
                                                                        }));
}

TEST(FolderScan, EmptyMissingAndRelativeRootsQueueNothing) {
    test::TempFolder empty(L"empty");
    StatusRecorder status;
    const ScanResult result = ScanFolder(empty.path(), {nullptr, &status});
    EXPECT_TRUE(result.entries.empty());
    EXPECT_EQ(status.texts, (std::vector<std::wstring>{kScanningStatus, L""}));

    EXPECT_TRUE(ScanFolder(empty / L"missing\\", {}).entries.empty());
    EXPECT_TRUE(ScanFolder(L"", {}).entries.empty());
    // A relative root would name something under the current folder, here the program's own folder.
    test::WriteFile(L"relative-scan.txt", "x");
    EXPECT_TRUE(ScanFolder(L".\\", {}).entries.empty());
    EXPECT_TRUE(ScanFolder(L"PAS DE CLE\\", {}).entries.empty());
    ::DeleteFileW(L"relative-scan.txt");
}

TEST(FolderScan, RecordsCarryMarkedKeysKindsAndListedSizes) {
    test::TempFolder root(L"records");
    MakeTree(root.path(), {L"A\\", L"A\\B\\", L"A\\B\\b.txt", L"top.bin"});
    test::WriteFile(root / L"top.bin", std::string(1536 * 1024, 'k'));
    ::SetFileAttributesW((root / L"A\\B\\b.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    std::vector<ScanRecord> records = CollectTree(root.path(), {});
    std::sort(records.begin(), records.end(), [](const ScanRecord& a, const ScanRecord& b) { return a.key < b.key; });
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].key, L"?1?A");
    EXPECT_EQ(records[1].key, L"?1?A\\?1?B");
    EXPECT_EQ(records[2].key, L"?1?A\\?1?B\\?2?b.txt") << "hidden and system files are collected";
    EXPECT_EQ(records[3].key, L"?2?top.bin");
    EXPECT_TRUE(records[0].folder && records[1].folder && !records[2].folder && !records[3].folder);
    EXPECT_EQ(records[3].size, 1536u * 1024);

    ShredList list;
    AppendScanResult(list, ScanFolder(root.path(), {}));
    list.computeTotalSize();
    EXPECT_EQ(list.totalSizeText(), L"1.500") << "1.5 MiB, one byte rounded away, folders 0";
}

TEST(FolderScan, ScanningAPartlyListedFolderQueuesDuplicates) {
    test::TempFolder s(L"partly");
    MakeTree(s.path(), {L"z.txt", L"A\\", L"A\\b.txt"});
    ShredList list;
    list.addPath(s / L"z.txt");
    list.addPath(s / L"A\\b.txt");
    AppendScanResult(list, ScanFolder(s.path(), {}));
    EXPECT_EQ(list.count(), 5u);
    EXPECT_EQ(list.countText(), L"5");
    EXPECT_EQ(list.headerText(), std::wstring(ShredList::kHeaderTitle) + L"   5");
    EXPECT_EQ(list.entryText(0), s / L"z.txt");
    EXPECT_EQ(list.entryText(4), s / L"z.txt");
}

TEST(FolderScan, PathsBeyondMaxPathAreWalkedAndQueued) {
    test::TempFolder root(L"deep");
    std::wstring relative;
    for (int level = 0; level < 40; ++level) {
        relative += L"un dossier assez long " + std::to_wstring(level) + L"\\";
        ASSERT_TRUE(::CreateDirectoryW(win::ExtendedPath(root / relative).c_str(), nullptr)) << level;
    }
    const std::wstring file = root / relative + L"fond.txt";
    ASSERT_GT(file.size(), 1000u);
    win::UniqueFile created(
        ::CreateFileW(win::ExtendedPath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(created);
    created.reset();

    const ScanResult result = ScanFolder(root.path(), {});
    ASSERT_EQ(result.entries.size(), 41u);
    EXPECT_EQ(result.entries.back().path, file);
    for (size_t i = 1; i < result.entries.size(); ++i)
        EXPECT_EQ(result.entries[i].path.rfind(result.entries[i - 1].path + L"\\", 0), 0u) << i;
    // Deep trees are removed from the far end, which the helpers' plain paths cannot reach.
    for (size_t i = result.entries.size(); i-- > 0;) {
        ::DeleteFileW(win::ExtendedPath(result.entries[i].path).c_str());
        ::RemoveDirectoryW(win::ExtendedPath(result.entries[i].path).c_str());
    }
}

// The sandbox runner made C:\scancase\S\link -> C:\scancase\outside, C:\scancase\S\loop -> C:\scancase
// (the scan's own parent) and C:\scancase\rootlink -> C:\scancase\outside.
TEST(FolderScan, LinksInsideTheFolderAreQueuedButNeverEntered) {
    const std::wstring s = L"C:\\scancase\\S\\";
    ASSERT_NE(::GetFileAttributesW((s + L"link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
    test::WriteFile(L"C:\\scancase\\outside\\secret.txt", "not in S");
    test::WriteFile(L"C:\\scancase\\outside\\secret.pf", "not in S");
    test::WriteFile(s + L"mine.txt", "in S");

    const ScanResult result = ScanFolder(s, {});
    EXPECT_EQ(Listed(result.entries, s),
              (std::vector<test::Entry>{{L"link", kFolder}, {L"loop", kFolder}, {L"mine.txt", kFile}}));

    std::vector<ScanRecord> records = CollectTree(s, {});
    std::sort(records.begin(), records.end(), [](const ScanRecord& a, const ScanRecord& b) { return a.key < b.key; });
    ASSERT_EQ(records.size(), 3u);
    EXPECT_TRUE(records[0].link && records[1].link && !records[2].link);

    EXPECT_EQ(CollectMatching(s, L"*.pf", true, {}), std::vector<std::wstring>());

    // The root itself is what the user named: a link there is followed.
    EXPECT_EQ(Listed(ScanFolder(L"C:\\scancase\\rootlink", {}).entries, L"C:\\scancase\\rootlink\\"),
              (std::vector<test::Entry>{{L"secret.pf", kFile}, {L"secret.txt", kFile}}));
}

TEST(FolderScan, CollectMatchingGivesRelativePathsParentsFirst) {
    test::TempFolder root(L"matching");
    MakeTree(root.path(), {L"a.pf", L"b.txt", L"dir.pf\\", L"sub\\", L"sub\\c.pf", L"sub\\deeper\\",
                           L"sub\\deeper\\d.PF", L"sub\\deeper\\e.pfx", L"other\\", L"other\\f.pf"});
    std::vector<std::wstring> found = CollectMatching(root.path(), L"*.pf", true, {});
    auto at = [&](const std::wstring& path) { return std::find(found.begin(), found.end(), path) - found.begin(); };
    EXPECT_LT(at(L"a.pf"), at(L"sub\\c.pf"));
    EXPECT_LT(at(L"sub\\c.pf"), at(L"sub\\deeper\\d.PF"));
    EXPECT_LT(at(L"a.pf"), at(L"other\\f.pf"));
    // Depth first: a subfolder's whole branch is done before its next sibling starts.
    const bool subFirst = at(L"sub\\c.pf") < at(L"other\\f.pf");
    EXPECT_EQ(subFirst, at(L"sub\\deeper\\d.PF") < at(L"other\\f.pf"));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found,
              (std::vector<std::wstring>{L"a.pf", L"dir.pf\\", L"other\\f.pf", L"sub\\c.pf", L"sub\\deeper\\d.PF"}));

    EXPECT_EQ(CollectMatching(root.path(), L"*.txt", false, {}), std::vector<std::wstring>{L"b.txt"});
    EXPECT_TRUE(CollectMatching(root / L"missing", L"*", true, {}).empty());
}

// A scan holds nothing outside its call: two scans at once, as the start-up scan and a user's scan can
// be, give each exactly what it gives alone.
TEST(FolderScan, ScansRunningAtOnceDoNotMeddleWithEachOther) {
    test::TempFolder first(L"first");
    test::TempFolder second(L"second");
    for (int folder = 0; folder < 8; ++folder) {
        const std::wstring name = L"d" + std::to_wstring(folder) + L"\\";
        MakeTree(first.path(), {name});
        MakeTree(second.path(), {name});
        for (int file = 0; file < 30; ++file) {
            MakeTree(first.path(), {name + L"f" + std::to_wstring(file) + L".txt"});
            if (file % 2)
                MakeTree(second.path(), {name + L"g" + std::to_wstring(file) + L".txt"});
        }
    }
    const auto alone1 = ScanFolder(first.path(), {}).entries;
    const auto alone2 = ScanFolder(second.path(), {}).entries;
    ASSERT_GT(alone1.size(), alone2.size());

    std::atomic<int> mismatches{0};
    auto repeat = [&](const std::wstring& root, const std::vector<ShredEntry>& expected) {
        for (int round = 0; round < 20; ++round) {
            if (Listed(ScanFolder(root, {}).entries, L"") != Listed(expected, L""))
                ++mismatches;
        }
    };
    std::thread a(repeat, first.path(), alone1);
    std::thread b(repeat, second.path(), alone2);
    std::thread c(repeat, first.path(), alone1);
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(mismatches.load(), 0);
}

// Raises the stop flag as soon as the scan says it started, as the window does when the program ends.
class StopOnStart : public ScanObserver {
  public:
    std::atomic<bool> stop{false};
    std::vector<std::wstring> texts;
    void status(const std::wstring& text) override {
        texts.push_back(text);
        stop = true;
    }
};

TEST(FolderScan, AStopRequestEndsTheScanWithNothingQueued) {
    test::TempFolder root(L"stop");
    MakeTree(root.path(), {L"A\\", L"A\\b.txt", L"c.txt"});
    StopOnStart observer;
    const ScanResult result = ScanFolder(root.path(), {&observer.stop, &observer});
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(result.entries.empty());
    EXPECT_EQ(observer.texts, (std::vector<std::wstring>{kScanningStatus, L""})) << "the status line is cleared";

    ShredList list;
    list.addPath(root / L"c.txt");
    AppendScanResult(list, ScanRecycleBin(root.path(), {&observer.stop, nullptr}));
    EXPECT_EQ(list.count(), 1u);
}

}  // namespace
