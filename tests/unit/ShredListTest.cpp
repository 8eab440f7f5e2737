#include "shred/ShredList.h"

#include "app/main/ListWords.h"
#include "tests/unit/TestSupport.h"
#include "win/Handle.h"
#include "win/Paths.h"

#include <winioctl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::wstring kTitle = kListHeaderTitle;

// The list's numbers as the window words them.
std::wstring HeaderText(const ShredList& list) {
    return ListHeaderText(list.numbers());
}
std::wstring CountText(const ShredList& list) {
    return ListCountText(list.numbers());
}
std::wstring TotalText(const ShredList& list) {
    return TotalSizeText(list.numbers());
}

// A file of the given length whose content does not matter: sparse where the file system allows it, so
// that multi-gigabyte files cost no disk space.
void MakeFile(const std::wstring& path, long long size) {
    win::UniqueFile file(::CreateFileW(win::ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << ::GetLastError();
    DWORD returned = 0;
    ::DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER length;
    length.QuadPart = size;
    ASSERT_TRUE(::SetFilePointerEx(file.get(), length, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(file.get()));
}

std::wstring Upper(std::wstring text) {
    ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Records what the list shows each time it says it changed, reading it back from inside the call as a
// window would; a call made with the list's lock held would deadlock here.
class Recorder : public ShredListObserver {
public:
    explicit Recorder(ShredList& list) : list_(list) { list_.setObserver(this); }
    ~Recorder() override { list_.setObserver(nullptr); }
    void listChanged() override {
        ++calls;
        seen.push_back(list_.numbers());
    }
    int calls = 0;
    std::vector<ShredListNumbers> seen;

private:
    ShredList& list_;
};

TEST(ShredList, DuplicateTestComparesWholePathsIgnoringCase) {
    ShredList list;
    EXPECT_TRUE(list.addPath(L"C:\\A.txt"));
    list.computeTotalSize();  // a missing file counts 0

    EXPECT_FALSE(list.addPath(L"c:\\a.txt"));
    EXPECT_FALSE(list.addPath(L"C:\\A.TXT"));
    // A duplicate leaves the counters as they were: the total is not emptied.
    EXPECT_EQ(list.count(), 1u);
    EXPECT_EQ(CountText(list), L"1");
    EXPECT_EQ(HeaderText(list), kTitle + L"   1");
    EXPECT_EQ(TotalText(list), L"0.000");

    // Accented capitals fold too, as in the list view's own search.
    EXPECT_TRUE(list.addPath(L"C:\\\u00C9t\u00E9\\R\u00C9SUM\u00C9.doc"));
    EXPECT_FALSE(list.addPath(L"c:\\\u00E9t\u00E9\\r\u00E9sum\u00E9.DOC"));

    // Whole texts only: prefixes, extensions and a trailing space make other entries.
    EXPECT_TRUE(list.addPath(L"C:\\A"));
    EXPECT_TRUE(list.addPath(L"C:\\A.txt.bak"));
    EXPECT_TRUE(list.addPath(L"C:\\A.txt "));
    EXPECT_EQ(list.count(), 5u);
    EXPECT_EQ(list.entryText(0), L"C:\\A.txt");  // the first spelling is the one kept
    EXPECT_EQ(list.entry(0).image, EntryImage::ShellIcon);
}

TEST(ShredList, AddingEmptiesTheTotalUntilItIsComputedAgain) {
    test::TempFolder folder(L"list-add");
    MakeFile(folder / L"one.bin", 1024 * 1024);
    MakeFile(folder / L"two.bin", 2 * 1024 * 1024);

    ShredList list;
    ASSERT_TRUE(list.addPath(folder / L"one.bin"));
    list.computeTotalSize();
    EXPECT_EQ(TotalText(list), L"1.000");

    ASSERT_TRUE(list.addPath(folder / L"two.bin"));
    EXPECT_EQ(TotalText(list), L"");
    EXPECT_EQ(CountText(list), L"2");
    EXPECT_EQ(HeaderText(list), kTitle + L"   2");

    list.computeTotalSize();
    EXPECT_EQ(TotalText(list), L"3.000");
}

TEST(ShredList, TotalSizeRoundsEachEntryToAThousandthOfAMebibyte) {
    test::TempFolder folder(L"list-total");
    MakeFile(folder / L"big.bin", 1572864);
    ::CreateDirectoryW((folder / L"Folder").c_str(), nullptr);
    MakeFile(folder / L"Folder\\inside.bin", 5 * 1024 * 1024);  // a folder's content does not count for it

    ShredList list;
    list.addPath(folder / L"big.bin");
    list.addPath(folder / L"Folder");
    list.computeTotalSize();
    EXPECT_EQ(TotalText(list), L"1.500");

    // 600 bytes are 0.00057 MiB, which rounds to 0.001 for each file: two of them make 0.002, not the
    // 0.001 that rounding the sum would give. 100 bytes round to nothing.
    MakeFile(folder / L"small1.bin", 600);
    MakeFile(folder / L"small2.bin", 600);
    MakeFile(folder / L"tiny.bin", 100);
    list.clear();
    list.addPath(folder / L"small1.bin");
    list.addPath(folder / L"small2.bin");
    list.addPath(folder / L"tiny.bin");
    list.addPath(folder / L"missing.bin");
    list.addPath(L"C:\\");
    list.computeTotalSize();
    EXPECT_EQ(TotalText(list), L"0.002");
}

// Each entry keeps the size it was queued with: from a scan's listing, or asked of the disk when it is
// added. Totals add them up without asking the disk again, and removals take them away exactly.
// refreshCounters rewrites the texts without an entry.
TEST(ShredList, TotalsCountTheSizesEntriesWereQueuedWith) {
    test::TempFolder folder(L"list-listed");
    MakeFile(folder / L"grows.bin", 1048576);
    MakeFile(folder / L"asked.bin", 3 * 1048576);
    ShredList list;
    ShredEntry entry{folder / L"grows.bin", EntryImage::ScannedFile};
    entry.listedSize = 2097152;                                           // what a listing saw a moment ago
    ShredEntry unlisted{folder / L"asked.bin", EntryImage::ScannedFile};  // no size: the disk is asked
    list.appendScanned(std::vector<ShredEntry>{entry, unlisted});
    list.computeTotalSize();
    EXPECT_EQ(TotalText(list), L"5.000");
    EXPECT_EQ(list.entry(0).listedSize, 2097152);
    EXPECT_EQ(list.entry(1).listedSize, 3 * 1048576);
    MakeFile(folder / L"asked.bin", 0);
    list.computeTotalSize();
    EXPECT_EQ(TotalText(list), L"5.000");
    list.removeSelected({0});
    EXPECT_EQ(TotalText(list), L"3.000");

    list.clear();
    EXPECT_EQ(HeaderText(list), kTitle + L"  0");
    list.refreshCounters();
    EXPECT_EQ(HeaderText(list), kTitle + L"   0");
    EXPECT_EQ(CountText(list), L"0");
}

TEST(ShredList, TotalSizeMeasuresWhatPlainWin32PathsCannotReach) {
    test::TempFolder folder(L"list-reach");
    ShredList list;

    // Past 4 GiB: a 32-bit size would show 1024.000.
    MakeFile(folder / L"huge.bin", 5LL * 1024 * 1024 * 1024);
    list.addPath(folder / L"huge.bin");
    list.computeTotalSize();
    EXPECT_EQ(TotalText(list), L"5120.000");

    // A path longer than MAX_PATH, a name with a trailing dot, a device name and a name outside
    // Windows-1252: 1 + 2 + 3 + 4 MiB.
    std::wstring deep = folder.path();
    while (deep.size() < 300) {
        deep += L"profondeur-de-dossier\\";
        ASSERT_TRUE(::CreateDirectoryW(win::ExtendedPath(deep).c_str(), nullptr));
    }
    list.clear();
    for (const auto& [path, mebibytes] :
         std::vector<std::pair<std::wstring, long long>>{{deep + L"long.bin", 1},
                                                         {folder / L"point.", 2},
                                                         {folder / L"CON", 3},
                                                         {folder / L"\u65E5\u672C\u0142.bin", 4}}) {
        MakeFile(path, mebibytes * 1024 * 1024);
        list.addPath(path);
    }
    list.computeTotalSize();
    EXPECT_EQ(TotalText(list), L"10.000");
    test::RemoveTree(win::ExtendedPath(folder / L"point."));
    test::RemoveTree(win::ExtendedPath(folder / L"CON"));
    test::RemoveTree(win::ExtendedPath(folder / L"profondeur-de-dossier"));
}

TEST(ShredList, EmptyListLeavesTheTotalEmpty) {
    ShredList list;
    list.computeTotalSize();
    EXPECT_EQ(TotalText(list), L"");
    EXPECT_EQ(list.numbers().status, ScanStatus::None);
}

TEST(ShredList, RemovingSelectedEntries) {
    test::TempFolder folder(L"list-remove");
    MakeFile(folder / L"a.bin", 1024 * 1024);
    MakeFile(folder / L"b.bin", 2 * 1024 * 1024);
    MakeFile(folder / L"c.bin", 4 * 1024 * 1024);
    ShredList list;
    for (const wchar_t* name : {L"a.bin", L"b.bin", L"c.bin"})
        list.addPath(folder / name);

    // Any order, repeated and out-of-range indexes: the selection of a list view is a set of rows.
    list.removeSelected({2, 0, 7, 0});
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(list.entryText(0), folder / L"b.bin");
    EXPECT_EQ(CountText(list), L"1");
    EXPECT_EQ(HeaderText(list), kTitle + L"  1");
    EXPECT_EQ(TotalText(list), L"2.000");          // recomputed for what is left
    EXPECT_TRUE(list.addPath(folder / L"A.BIN"));  // a removed path may be added again

    // Removing the last ones empties the total instead of computing 0.000.
    list.removeSelected({1, 0});
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(CountText(list), L"0");
    EXPECT_EQ(HeaderText(list), kTitle + L"  0");
    EXPECT_EQ(TotalText(list), L"");
}

TEST(ShredList, ClearAndResetAfterRunDifferOnlyInTheHeaderSpacing) {
    ShredList list;
    list.addPath(L"C:\\a.txt");
    list.computeTotalSize();
    list.clear();
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(CountText(list), L"0");
    EXPECT_EQ(HeaderText(list), kTitle + L"  0");
    EXPECT_EQ(TotalText(list), L"");
    EXPECT_TRUE(list.addPath(L"C:\\A.TXT"));

    list.computeTotalSize();
    list.resetAfterRun();
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(CountText(list), L"0");
    EXPECT_EQ(HeaderText(list), kTitle + L"   0");
    EXPECT_EQ(TotalText(list), L"");
    EXPECT_TRUE(list.addPath(L"C:\\a.txt"));
}

TEST(ShredList, FolderEntryTakesThePathWithoutItsLastBackslash) {
    ShredList list;
    EXPECT_TRUE(list.addFolderEntry(L"C:\\Data\\Sub\\"));
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(list.entryText(0), L"C:\\Data\\Sub");
    // Counted at once, as an add: an empty folder's scan appends nothing to count it later.
    EXPECT_EQ(CountText(list), L"1");
    EXPECT_EQ(HeaderText(list), std::wstring(kTitle) + L"   1");
    // The folder entry counts for the duplicate test of later adds.
    EXPECT_FALSE(list.addPath(L"c:\\data\\sub"));

    // The last name must occur once in the whole path as a whole component.
    EXPECT_FALSE(list.addFolderEntry(L"C:\\Data\\Data\\"));
    EXPECT_TRUE(list.addFolderEntry(L"C:\\MyData\\Data\\"));  // "MyData" only ends with the name: still listed
    EXPECT_TRUE(list.addFolderEntry(L"C:\\Data\\a\\"));
    EXPECT_TRUE(list.addFolderEntry(L"C:\\data\\Data\\"));  // the occurrences are counted with their case
    EXPECT_TRUE(list.addFolderEntry(L"C:\\Data\\Data2\\"));
    // No duplicate test, and a missing final backslash is supplied.
    EXPECT_TRUE(list.addFolderEntry(L"C:\\Data\\Sub"));
    // A drive root has no entry of its own.
    EXPECT_FALSE(list.addFolderEntry(L"C:\\"));
    EXPECT_FALSE(list.addFolderEntry(L"\\"));

    EXPECT_EQ(list.count(), 6u);
    EXPECT_EQ(list.entryText(1), L"C:\\MyData\\Data");
    EXPECT_EQ(list.entryText(2), L"C:\\Data\\a");
    EXPECT_EQ(list.entryText(3), L"C:\\data\\Data");
    EXPECT_EQ(list.entryText(4), L"C:\\Data\\Data2");
    EXPECT_EQ(list.entryText(5), L"C:\\Data\\Sub");
}

TEST(ShredList, ScannedEntriesAreAppendedWithoutDuplicateTest) {
    ShredList list;
    list.addPath(L"C:\\x\\a.txt");
    list.appendScanned(L"C:\\X\\A.TXT", EntryImage::ScannedFile);
    EXPECT_EQ(list.count(), 2u);
    EXPECT_EQ(CountText(list), L"2");
    EXPECT_EQ(HeaderText(list), kTitle + L"   2");
    EXPECT_EQ(list.entry(1).image, EntryImage::ScannedFile);

    // removeAt leaves every text as it was, and the duplicate that stays is still found.
    list.computeTotalSize();
    list.removeAt(0);
    EXPECT_EQ(list.count(), 1u);
    EXPECT_EQ(CountText(list), L"2");
    EXPECT_EQ(HeaderText(list), kTitle + L"   2");
    EXPECT_EQ(TotalText(list), L"0.000");
    EXPECT_FALSE(list.addPath(L"c:\\x\\a.txt"));
    list.removeAt(0);
    list.removeAt(5);  // past the end: nothing
    EXPECT_TRUE(list.addPath(L"c:\\x\\a.txt"));

    // A batch keeps its order and images and refreshes the texts once.
    list.clear();
    Recorder recorder(list);
    list.appendScanned({{L"C:\\D", EntryImage::ScannedFolder},
                        {L"C:\\D\\f.txt", EntryImage::ScannedFile},
                        {L"C:\\Windows\\Prefetch\\X.pf", EntryImage::Prefetch}});
    EXPECT_EQ(recorder.calls, 1);
    ASSERT_EQ(list.count(), 3u);
    EXPECT_EQ(list.entry(0).path, L"C:\\D");
    EXPECT_EQ(list.entry(0).image, EntryImage::ScannedFolder);
    EXPECT_EQ(list.entry(2).image, EntryImage::Prefetch);
    EXPECT_EQ(HeaderText(list), kTitle + L"   3");
    EXPECT_EQ(list.entryText(3), L"");
    EXPECT_EQ(list.entry(3).path, L"");
}

// Tens of thousands of entries in a few hundred folders, most of them then removed: every path that is
// left reads back whole and in order (the names of removed entries are reclaimed on the way), the
// duplicate test finds exactly what is listed, and the total is the sum of what is left.
TEST(ShredList, LongListsKeepPathsKeysAndTotalThroughRemovals) {
    constexpr size_t kEntries = 40000;
    auto pathOf = [](size_t i) {
        return L"C:\\Arbre\\dossier " + std::to_wstring(i / 100) + L"\\Fichier_num\u00E9ro_" + std::to_wstring(i) +
               L".dat";
    };
    ShredList list;
    std::vector<ShredEntry> batch;
    unsigned long long queued = 0;  // MiB: 0, 1, 2 in turn
    for (size_t i = 0; i < kEntries; ++i) {
        batch.push_back({pathOf(i), EntryImage::ScannedFile, static_cast<long long>(i % 3) * 1048576});
        queued += i % 3;
    }
    Recorder recorder(list);
    list.appendScanned(std::move(batch));
    EXPECT_GT(recorder.calls, 1);  // the count grows slice by slice
    ASSERT_EQ(list.count(), kEntries);
    EXPECT_EQ(CountText(list), std::to_wstring(kEntries));
    list.computeTotalSize();
    EXPECT_EQ(TotalText(list), std::to_wstring(queued) + L".000");

    // Three of every four go, the first of each four stays.
    std::vector<size_t> removed;
    for (size_t i = 0; i < kEntries; ++i) {
        if (i % 4)
            removed.push_back(i);
    }
    list.removeSelected(removed);
    ASSERT_EQ(list.count(), kEntries / 4);
    unsigned long long mebibytes = 0;
    for (size_t i = 0; i < kEntries; i += 4) {
        ASSERT_EQ(list.entryText(i / 4), pathOf(i));
        mebibytes += i % 3;
    }
    EXPECT_EQ(TotalText(list), std::to_wstring(mebibytes) + L".000");
    for (size_t i = 0; i < 400; ++i) {
        EXPECT_EQ(list.contains(pathOf(i)), i % 4 == 0) << i;
        EXPECT_TRUE(list.contains(Upper(pathOf(i * 4))));
    }
    EXPECT_FALSE(list.addPath(pathOf(8)));
    EXPECT_TRUE(list.addPath(pathOf(9)));
    EXPECT_EQ(list.entryText(list.count() - 1), pathOf(9));
}

TEST(ShredList, ReadersAndRemoversRunBesideAnAppender) {
    constexpr int kEntries = 3000;
    ShredList list;
    std::atomic<bool> appending{true};

    std::thread appender([&] {
        for (int i = 0; i < kEntries; ++i)
            list.appendScanned(L"C:\\scan\\" + std::to_wstring(i) + L".txt", EntryImage::ScannedFile);
        appending = false;
    });
    // The run's side: reads the last entry and removes the first. Only this thread removes, so an entry
    // counted here is still there when it is read or removed. It always leaves one, so that the order of
    // what is left can be checked even when it outpaces the appender.
    int removed = 0;
    bool readsWhole = true;
    std::thread remover([&] {
        for (int round = 0; appending || round < 10; ++round) {
            const size_t count = list.count();
            if (count < 2)
                continue;
            const std::wstring last = list.entryText(count - 1);
            readsWhole = readsWhole && last.rfind(L"C:\\scan\\", 0) == 0 && last.size() > 12;
            if (round % 3 == 0) {
                list.removeAt(0);
                ++removed;
            }
        }
    });
    std::thread totaller([&] {
        while (appending)
            list.computeTotalSize();
    });
    appender.join();
    remover.join();
    totaller.join();

    EXPECT_TRUE(readsWhole);
    ASSERT_EQ(list.count(), static_cast<size_t>(kEntries - removed));
    std::set<std::wstring> left;
    for (size_t i = 0; i < list.count(); ++i)
        left.insert(list.entryText(i));
    EXPECT_EQ(left.size(), list.count());
    // The removals took the oldest entries, so what is left is the newest ones in order.
    EXPECT_EQ(list.entryText(0), L"C:\\scan\\" + std::to_wstring(removed) + L".txt");
    EXPECT_EQ(list.numbers().status, ScanStatus::None);
}

}  // namespace
