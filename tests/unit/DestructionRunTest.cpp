#include "shred/DestructionRun.h"

#include "journal/JournalFile.h"
#include "journal/JournalMessages.h"
#include "shred/FolderScan.h"
#include "shred/QueuedFile.h"
#include "shred/ShredList.h"
#include "tests/unit/RecordingObserver.h"
#include "tests/unit/TestSupport.h"
#include "win/SafeFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <functional>
#include <thread>

namespace {

constexpr wchar_t kZeros[] = L"Simples zéros  - 1 cycle";
constexpr wchar_t kDoD[] = L"DoD 5220.22-M (USA) - 3 cycles";
constexpr size_t kTimestampLength = 21;  // "07/12/2026 à 21:05:03"

struct Shredding {
    explicit Shredding(const std::wstring& name) : files(name), config(name + L"-config"), journal(config.path()) {}

    test::TempFolder files;
    test::TempFolder config;
    JournalFile journal;
    ShredList list;
    test::RecordingObserver observer;
    win::StopToken control;

    std::wstring add(const std::wstring& name, const std::string& content = std::string(1000, 'x')) {
        test::WriteFile(files / name, content);
        list.addPath(files / name);
        return files / name;
    }
    RunSummary run(const std::wstring& method = kZeros, int repetitions = 1) {
        RunSummary summary = DestructionRun(list, {method, repetitions}, journal, observer, control);
        EndDestructionRun(list, observer, control);
        return summary;
    }
    // Journal lines without their timestamps.
    std::vector<std::wstring> journalBodies() const {
        std::vector<std::wstring> bodies;
        for (const std::wstring& line : JournalFile::readLines(journal.path()))
            bodies.push_back(line.size() > kTimestampLength ? line.substr(kTimestampLength) : line);
        return bodies;
    }
};

TEST(DestructionRun, ThreeFilesAreDestroyedAndTheRunSaysSo) {
    Shredding r(L"three");
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
        r.add(name);
    const RunSummary summary = r.run();
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"fichier", L"ZZZZZ.zzz"})
        EXPECT_FALSE(test::FileExists(r.files / name)) << "left behind";
    EXPECT_EQ(summary.end, RunEnd::Complete);
    EXPECT_EQ(summary.errors, 0);
    EXPECT_EQ(summary.repetitions, 1);
    EXPECT_EQ(summary.methodLabel, kZeros);
    EXPECT_EQ(summary.unjournalled, 0);
    EXPECT_EQ(r.observer.methods(), std::vector<std::wstring>{kZeros});
    EXPECT_EQ(r.observer.entries(),
              (std::vector<std::wstring>{r.files / L"c.txt", r.files / L"b.txt", r.files / L"a.txt"}))
        << "from the last entry to the first";
    EXPECT_EQ(r.observer.left(), (std::vector<size_t>{2, 1, 0}));
    EXPECT_EQ(r.observer.shares(), (std::vector<std::wstring>{L"1/3", L"2/3", L"3/3"}));
    EXPECT_EQ(r.observer.clears(), 1u);
    EXPECT_EQ(r.list.count(), 0u);
    const ShredListNumbers numbers = r.list.numbers();
    EXPECT_EQ(numbers.count, 0u);
    EXPECT_EQ(numbers.counted, ShredListNumbers::Counted::AfterAdding);
    EXPECT_TRUE(r.journalBodies().empty());
}

TEST(DestructionRun, EmptyFilesAreJournalledAndKept) {
    Shredding r(L"empty");
    r.add(L"e.txt", "");
    const RunSummary summary = r.run();
    EXPECT_TRUE(test::FileExists(r.files / L"e.txt"));
    EXPECT_EQ(r.journalBodies(),
              (std::vector<std::wstring>{L" - Le fichier [e.txt] est vide!",
                                         L" - Les données du fichier [e.txt]  n'ont pu être écrasées"}));
    EXPECT_EQ(summary.end, RunEnd::Incomplete);
    EXPECT_EQ(summary.errors, 1);
    EXPECT_EQ(r.list.count(), 0u) << "the list is emptied after every run";
    EXPECT_EQ(summary.unjournalled, 0);

    // Without its folder the journal takes no line: the run goes on all the same and counts them.
    Shredding lost(L"empty-unjournalled");
    lost.add(L"e.txt", "");
    lost.journal = JournalFile(lost.config / L"absent\\");
    const RunSummary unjournalled = lost.run();
    EXPECT_EQ(unjournalled.errors, 1);
    EXPECT_EQ(unjournalled.unjournalled, 2);
}

TEST(DestructionRun, AFolderListedBeforeItsFilesGoesLast) {
    Shredding r(L"folder");
    ::CreateDirectoryW((r.files / L"Old").c_str(), nullptr);
    ASSERT_TRUE(r.list.addFolderEntry(r.files / L"Old\\"));
    r.add(L"Old\\one.txt");
    r.add(L"Old\\two.txt");
    test::WriteFile(r.files / L"Old\\unlisted.txt", "not listed, removed with the folder");
    const RunSummary summary = r.run();
    EXPECT_FALSE(test::FileExists(r.files / L"Old"));
    EXPECT_FALSE(test::FileExists(r.files / L"Dossier"));
    EXPECT_EQ(r.journalBodies(), std::vector<std::wstring>{L" - Dossier : [Old] vidé"});
    EXPECT_EQ(summary.errors, 0);
    EXPECT_EQ(summary.end, RunEnd::Complete);
}

TEST(DestructionRun, ReadOnlyFilesAreDestroyedToo) {
    Shredding r(L"readonly");
    const std::wstring path = r.add(L"ro.txt");
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(r.run().errors, 0);
    EXPECT_FALSE(test::FileExists(path));
}

TEST(DestructionRun, TakenWipingNamesAreNeverReplacedAndTheEntriesStillGo) {
    // A folder's own "Dossier", a "fichier", and names left by an interrupted run stand where the wipe goes.
    Shredding r(L"unrelated");
    test::WriteFile(r.files / L"fichier", "an unrelated file the user keeps");
    ::CreateDirectoryW((r.files / L"Dossier").c_str(), nullptr);
    test::WriteFile(r.files / L"Dossier\\keep.txt", "an unrelated folder the user keeps");
    test::WriteFile(r.files / L"KKKKK.kkk", "left by an earlier run");
    r.add(L"mine.txt");
    ::CreateDirectoryW((r.files / L"Listed").c_str(), nullptr);
    r.list.addFolderEntry(r.files / L"Listed\\");
    const RunSummary summary = r.run();

    EXPECT_EQ(test::ReadFile(r.files / L"fichier"), "an unrelated file the user keeps");
    EXPECT_EQ(test::ReadFile(r.files / L"Dossier\\keep.txt"), "an unrelated folder the user keeps");
    EXPECT_EQ(test::ReadFile(r.files / L"KKKKK.kkk"), "left by an earlier run");
    EXPECT_EQ(test::NamesIn(r.files.path()), (std::vector<std::wstring>{L"Dossier", L"KKKKK.kkk", L"fichier"}));
    EXPECT_EQ(summary.errors, 0);
    EXPECT_EQ(summary.end, RunEnd::Complete);
    EXPECT_EQ(r.journalBodies(), std::vector<std::wstring>{L" - Dossier : [Listed] vidé"});
}

// The sandbox runner made, in C:\linkcase: the folders scanned\ and alone\, each holding to-empty (a link
// to the empty folder empty\), to-full (a link to full\) and inner\loop (a link back to C:\linkcase itself);
// and direct-link, a link to full\.
TEST(DestructionRun, DirectoryLinksNeverCostTheirTargetsAnything) {
    const std::wstring root = L"C:\\linkcase\\";
    for (const wchar_t* link : {L"scanned\\to-empty", L"scanned\\to-full", L"alone\\inner\\loop", L"direct-link"})
        ASSERT_TRUE(::GetFileAttributesW((root + link).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) << "a link";
    test::WriteFile(root + L"full\\keep.txt", "outside the queue");
    for (const std::wstring& folder : {root + L"scanned\\", root + L"alone\\"}) {
        test::WriteFile(folder + L"mine.txt", "queued");
        test::WriteFile(folder + L"inner\\mine.txt", "queued");
    }

    Shredding r(L"links");
    // As "Ajouter le dossier + son contenu" queues it: the folder, then everything its scan found, the
    // links among them.
    ASSERT_TRUE(r.list.addFolderEntry(root + L"scanned\\"));
    AppendScanResult(r.list, ScanFolder(root + L"scanned\\", {}));
    ASSERT_EQ(r.list.count(), 7u);
    // The folder alone: what it holds goes with it, links included.
    ASSERT_TRUE(r.list.addFolderEntry(root + L"alone\\"));
    r.list.addPath(root + L"direct-link");
    const RunSummary summary = r.run();

    EXPECT_TRUE(test::FileExists(root + L"empty")) << "the empty target is still there";
    EXPECT_EQ(test::NamesIn(root + L"empty\\"), std::vector<std::wstring>());
    EXPECT_EQ(test::NamesIn(root + L"full\\"), std::vector<std::wstring>{L"keep.txt"});
    EXPECT_EQ(test::ReadFile(root + L"full\\keep.txt"), "outside the queue");
    for (const std::wstring& folder : {root + L"scanned\\", root + L"alone\\"}) {
        EXPECT_FALSE(test::FileExists(folder + L"mine.txt"));
        EXPECT_FALSE(test::FileExists(folder + L"inner\\mine.txt"));
    }
    std::vector<std::wstring> lines = r.journalBodies();
    std::sort(lines.begin(), lines.end());
    if (win::UnderWine()) {
        // No removal is ever asked for a link here: each stays, and every folder holding one keeps its own
        // name. Each is reported, and only those.
        EXPECT_EQ(test::NamesIn(root),
                  (std::vector<std::wstring>{L"alone", L"direct-link", L"empty", L"full", L"scanned"}));
        for (const std::wstring& folder : {root + L"scanned\\", root + L"alone\\"}) {
            EXPECT_EQ(test::NamesIn(folder), (std::vector<std::wstring>{L"inner", L"to-empty", L"to-full"}));
            EXPECT_EQ(test::NamesIn(folder + L"inner\\"), std::vector<std::wstring>{L"loop"});
        }
        const auto notRemoved = [&](const std::wstring& path) { return journal::FolderNotRemoved(root + path); };
        // The links met inside the folder queued alone are said once each.
        std::vector<std::wstring> expected = {notRemoved(L"scanned"),
                                              notRemoved(L"scanned\\to-empty"),
                                              notRemoved(L"scanned\\to-full"),
                                              notRemoved(L"scanned\\inner"),
                                              notRemoved(L"scanned\\inner\\loop"),
                                              notRemoved(L"alone"),
                                              notRemoved(L"direct-link"),
                                              journal::LinkLeft(root + L"alone\\to-empty"),
                                              journal::LinkLeft(root + L"alone\\to-full"),
                                              journal::LinkLeft(root + L"alone\\inner\\loop")};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(lines, expected);
        EXPECT_EQ(summary.errors, 7);
        EXPECT_EQ(summary.end, RunEnd::Incomplete);
    } else {
        // Windows removes each link itself: the folders go as any other.
        EXPECT_EQ(test::NamesIn(root), (std::vector<std::wstring>{L"empty", L"full"}));
        EXPECT_EQ(lines, (std::vector<std::wstring>{L" - Dossier : [alone] vidé", L" - Dossier : [inner] vidé",
                                                    L" - Dossier : [scanned] vidé"}));
        EXPECT_EQ(summary.errors, 0);
        EXPECT_EQ(summary.end, RunEnd::Complete);
    }
}

// The sandbox runner made, in C:\filelinks: temp\alone.tmp, a file link to a file outside drive C:;
// folder\link.txt, a file link to targets\inner.txt; swapdir\f.txt, a file link to targets\swap.txt; and
// spare\Q, a directory link to dtarget. Under Wine a file link reads as a plain file and every write,
// rename and removal by name reaches its target.
TEST(DestructionRun, LinksAndEntriesThatChangedKindCostNothingOutsideTheQueue) {
    const std::wstring root = L"C:\\filelinks\\";
    const std::string precious = "not queued";
    for (const wchar_t* link : {L"temp\\alone.tmp", L"folder\\link.txt", L"swapdir\\f.txt"})
        test::WriteFile(root + link, precious);  // through the link: its target's bytes
    test::WriteFile(root + L"dtarget\\a.txt", precious);
    for (const wchar_t* folder : {L"queued", L"qd", L"qd\\Q", L"kind"})
        ::CreateDirectoryW((root + folder).c_str(), nullptr);
    for (const wchar_t* file : {L"folder\\mine.txt", L"queued\\f.txt", L"qd\\Q\\a.txt", L"kind\\file.txt"})
        test::WriteFile(root + file, "queued");

    Shredding r(L"file-links");
    r.list.addPath(root + L"temp\\alone.tmp");
    ASSERT_TRUE(r.list.addFolderEntry(root + L"folder\\"));
    AppendScanResult(r.list, ScanFolder(root + L"folder\\", {}));
    r.list.addPath(root + L"queued\\f.txt");
    ASSERT_TRUE(r.list.addFolderEntry(root + L"qd\\Q\\"));
    AppendScanResult(r.list, ScanFolder(root + L"qd\\Q\\", {}));
    r.list.addPath(root + L"kind\\file.txt");
    ASSERT_EQ(r.list.count(), 8u);
    // Between queueing and the run: a queued file becomes a link and a queued folder a directory link (whole
    // folders renamed, each carrying its link), and a queued file becomes a folder with a file of its own.
    ASSERT_TRUE(::MoveFileW((root + L"queued").c_str(), (root + L"queued-before").c_str()));
    ASSERT_TRUE(::MoveFileW((root + L"swapdir").c_str(), (root + L"queued").c_str()));
    ASSERT_TRUE(::MoveFileW((root + L"qd").c_str(), (root + L"qd-before").c_str()));
    ASSERT_TRUE(::MoveFileW((root + L"spare").c_str(), (root + L"qd").c_str()));
    ASSERT_TRUE(::DeleteFileW((root + L"kind\\file.txt").c_str()));
    ASSERT_TRUE(::CreateDirectoryW((root + L"kind\\file.txt").c_str(), nullptr));
    test::WriteFile(root + L"kind\\file.txt\\inside.txt", precious);
    const RunSummary summary = r.run();

    for (const wchar_t* target : {L"targets\\inner.txt", L"targets\\swap.txt", L"dtarget\\a.txt",
                                  L"kind\\file.txt\\inside.txt", L"temp\\alone.tmp"})
        EXPECT_EQ(test::ReadFile(root + target), precious) << "every byte kept";
    EXPECT_FALSE(test::FileExists(root + L"folder\\mine.txt")) << "the rest of the queue is destroyed";
    EXPECT_EQ(summary.end, RunEnd::Incomplete);
    if (win::UnderWine()) {
        // The links stay, each said once; the folder that holds one keeps its name.
        EXPECT_EQ(test::NamesIn(root + L"folder\\"), std::vector<std::wstring>{L"link.txt"});
        EXPECT_EQ(r.journalBodies(),
                  (std::vector<std::wstring>{
                      journal::KindChanged(root + L"kind\\file.txt"), journal::LinkLeft(root + L"qd\\Q\\a.txt"),
                      journal::LinkLeft(root + L"qd\\Q"), journal::LinkLeft(root + L"queued\\f.txt"),
                      journal::LinkLeft(root + L"folder\\link.txt"), journal::FolderNotRemoved(root + L"folder"),
                      journal::LinkLeft(root + L"temp\\alone.tmp")}));
        EXPECT_EQ(summary.errors, 7);
    }
}

// A file with another name (a hard link) elsewhere: its data is the other name's too.
TEST(DestructionRun, AFileWithOtherNamesLosesOnlyItsQueuedName) {
    Shredding r(L"hardlinks");
    test::TempFolder elsewhere(L"hardlinks-original");
    test::WriteFile(elsewhere / L"original.txt", std::string(3000, 'd'));
    const std::wstring copy = r.files / L"copie.txt";
    ASSERT_TRUE(::CreateHardLinkW(copy.c_str(), (elsewhere / L"original.txt").c_str(), nullptr));
    r.list.addPath(copy);
    const RunSummary summary = r.run();
    EXPECT_EQ(test::ReadFile(elsewhere / L"original.txt"), std::string(3000, 'd')) << "never queued: every byte kept";
    EXPECT_EQ(test::NamesIn(r.files.path()), std::vector<std::wstring>()) << "the queued name is gone, wiped first";
    EXPECT_EQ(r.journalBodies(), std::vector<std::wstring>{journal::OtherNamesKeepData(L"copie.txt", 1)});
    EXPECT_EQ(summary.end, RunEnd::Incomplete);
}

// The sandbox runner made C:\ct\notes.txt, a file link to its twin C:\ct\NOTES.TXT (host folders tell names
// apart by case); C:\uplink\Documents, a link to a folder outside drive C: (as Wine makes the user's
// Documents); and drive D:, which is the folder C:\partage.
TEST(DestructionRun, EntriesAreReachedByTheirOwnNamesAndThroughTheLinksTheUserTook) {
    test::WriteFile(L"C:\\ct\\NOTES.TXT", "the twin, never queued");
    test::WriteFile(L"C:\\uplink\\Documents\\rapport.txt", "queued through Documents");
    test::WriteFile(L"C:\\uplink\\Documents\\voisin.txt", "not queued");
    test::WriteFile(L"C:\\partage\\budget.xls", "queued as C:");
    test::WriteFile(L"C:\\partage\\bilan.xls", "queued as D:");
    Shredding r(L"ways");
    for (const wchar_t* path :
         {L"C:\\ct\\notes.txt", L"C:\\uplink\\Documents\\rapport.txt", L"C:\\partage\\budget.xls", L"D:\\bilan.xls"})
        ASSERT_TRUE(r.list.addPath(path)) << path;
    const RunSummary summary = r.run();

    EXPECT_EQ(test::ReadFile(L"C:\\ct\\NOTES.TXT"), "the twin, never queued");
    for (const wchar_t* path : {L"C:\\uplink\\Documents\\rapport.txt", L"C:\\partage\\budget.xls", L"D:\\bilan.xls"})
        EXPECT_FALSE(test::FileExists(path)) << path;
    EXPECT_EQ(test::ReadFile(L"C:\\uplink\\Documents\\voisin.txt"), "not queued");
    EXPECT_EQ(r.journalBodies(), std::vector<std::wstring>{journal::LinkLeft(L"C:\\ct\\notes.txt")});
    EXPECT_EQ(summary.errors, 1);
}

// A folder moved away under its wiping name and a link put there in its place, from the host side as soon
// as the folder bears that name: the rest of the wipe reaches neither the link's target nor the folder.
TEST(DestructionRun, AFolderSwappedForALinkDuringItsWipeCostsTheLinksTargetNothing) {
    Shredding r(L"swap");
    ::CreateDirectoryW((r.files / L"Queued").c_str(), nullptr);
    test::WriteFile(r.files / L"Queued\\mine.txt", "queued");
    ::CreateDirectoryW((r.files / L"victime").c_str(), nullptr);
    test::WriteFile(r.files / L"victime\\original.txt", "never queued");
    ASSERT_TRUE(r.list.addFolderEntry(r.files / L"Queued\\"));
    const std::string folder = test::HostPath(r.files.path());
    ASSERT_FALSE(folder.empty());
    r.observer.onRename = [&](int step) {
        if (step == 1) {
            ASSERT_TRUE(test::RunOnHost("cd '" + folder + "' && mv AAAAA moved && ln -s victime AAAAA"));
        }
    };
    const RunSummary summary = r.run();

    EXPECT_EQ(test::ReadFile(r.files / L"victime\\original.txt"), "never queued");
    EXPECT_FALSE(test::FileExists(r.files / L"moved\\mine.txt")) << "emptied before its wipe";
    EXPECT_EQ(summary.end, RunEnd::Incomplete);
    const std::vector<std::wstring> bodies = r.journalBodies();
    ASSERT_EQ(bodies.size(), 2u);
    EXPECT_EQ(bodies[0], L" - Dossier : [Queued] vidé");
    EXPECT_EQ(bodies[1].substr(0, 36), L" - Destruction arrêtée : le dossier ");
}

TEST(DestructionRun, ALockedFileIsReportedAndKept) {
    Shredding r(L"locked");
    const std::wstring path = r.add(L"held.txt", "still here");
    RunSummary summary;
    {
        test::FileHolderProcess holder(path);
        ASSERT_TRUE(holder.holding());
        summary = r.run();
    }
    EXPECT_EQ(test::ReadFile(path), "still here");
    EXPECT_EQ(r.journalBodies(),
              (std::vector<std::wstring>{L" - Impossible d'ouvrir le fichier: [held.txt]",
                                         L" - Les données du fichier [held.txt]  n'ont pu être écrasées"}));
    EXPECT_EQ(summary.errors, 1);
}

TEST(DestructionRun, NamesOutsideCp1252LongPathsAndDeviceNames) {
    Shredding r(L"odd-names");
    std::wstring deep = r.files.path();
    while (deep.size() < 300) {
        deep += L"a-rather-long-folder-name\\";
        ::CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
    }
    std::vector<std::wstring> paths = {r.files / L"Ζωή 日本 ✓.txt", deep + L"long.txt", r.files / L"CON",
                                       r.files / L"trailing dot."};
    for (const std::wstring& path : paths) {
        win::UniqueFile file(
            ::CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ::WriteFile(file.get(), "secret", 6, &written, nullptr);
        file.reset();
        r.list.addPath(path);
    }
    const RunSummary summary = r.run();
    EXPECT_EQ(summary.errors, 0);
    for (const std::wstring& path : paths)
        EXPECT_EQ(::GetFileAttributesW((L"\\\\?\\" + path).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(DestructionRun, RepetitionsMultiplyThePasses) {
    Shredding r(L"repetitions");
    r.add(L"a.bin");
    const RunSummary summary = r.run(kDoD, 3);
    EXPECT_EQ(r.observer.passes().size(), 9u);
    EXPECT_EQ(r.observer.flushed(), (std::vector<int>{1, 2, 3, 1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(r.observer.repetitions(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(summary.repetitions, 3);
    EXPECT_EQ(summary.methodLabel, kDoD);
}

TEST(DestructionRun, AStopDuringAnOverwriteFinishesThatEntryOnly) {
    Shredding r(L"stop-one");
    const std::wstring first = r.add(L"first.txt"), middle = r.add(L"middle.txt"), last = r.add(L"last.txt");
    std::wstring current;
    r.observer.onEntry = [&](const std::wstring& path) { current = path; };
    r.observer.onPass = [&](const test::RecordingObserver::Pass&) {
        if (current == middle)
            r.control.stop();
    };
    const RunSummary summary = r.run();
    EXPECT_FALSE(test::FileExists(last));
    EXPECT_FALSE(test::FileExists(middle)) << "the repetition under way completes, wipe and deletion included";
    EXPECT_EQ(test::ReadFile(first), std::string(1000, 'x')) << "the first entry is never touched";
    EXPECT_EQ(summary.end, RunEnd::Stopped);
    EXPECT_EQ(summary.errors, 0);
    EXPECT_EQ(r.list.count(), 0u);
    EXPECT_FALSE(r.control.stopRequested()) << "cleared for the next run";
}

TEST(DestructionRun, AStopDuringTheLastEntryIsStillReported) {
    // The user confirmed a stop: even when the entry under way was the last, the summary says so.
    Shredding r(L"stop-last");
    const std::wstring only = r.add(L"only.txt");
    r.observer.onPass = [&](const test::RecordingObserver::Pass&) { r.control.stop(); };
    const RunSummary summary = r.run();
    EXPECT_FALSE(test::FileExists(only)) << "the repetition under way completes";
    EXPECT_EQ(summary.end, RunEnd::Stopped);
}

TEST(DestructionRun, QuittingLeavesTheEntryUnderWayBetweenTwoBlocks) {
    // The program ends: the file being overwritten is left where it is, under its own name, without waiting
    // for its passes to end; the entries not reached yet are untouched.
    Shredding r(L"quit");
    const std::wstring first = r.add(L"first.txt");
    const std::wstring big = r.add(L"big.bin", std::string(4 << 20, 'x'));
    r.observer.onBlock = [&](double) { r.control.quit(); };
    const RunSummary summary = r.run(kDoD, 3);
    EXPECT_EQ(summary.end, RunEnd::Stopped);
    const std::string left = test::ReadFile(big);
    EXPECT_EQ(left.size(), size_t{4 << 20}) << "kept under its name, length unchanged";
    EXPECT_NE(left, std::string(4 << 20, 'x')) << "its first block was overwritten";
    EXPECT_EQ(left.substr(3 << 20), std::string(1 << 20, 'x')) << "the rest of the pass was not waited for";
    EXPECT_EQ(test::ReadFile(first), std::string(1000, 'x'));
    EXPECT_TRUE(r.journalBodies().empty()) << "leaving at the end of the program is not a failure of the file";
}

TEST(DestructionRun, AStopBetweenRepetitionsKeepsTheEntry) {
    Shredding r(L"stop-repetitions");
    r.add(L"first.txt");
    const std::wstring middle = r.add(L"middle.txt");
    r.add(L"last.txt");
    std::wstring current;
    r.observer.onEntry = [&](const std::wstring& path) { current = path; };
    r.observer.onPass = [&](const test::RecordingObserver::Pass&) {
        if (current == middle)
            r.control.stop();
    };
    EXPECT_EQ(r.run(kZeros, 3).end, RunEnd::Stopped);
    EXPECT_EQ(test::ReadFile(middle), std::string(1000, '\0')) << "overwritten once, keeps its name";
    EXPECT_EQ(r.observer.repetitions(), (std::vector<int>{1, 2, 3, 1})) << "last.txt whole, middle.txt once";
    EXPECT_EQ(r.observer.left(), std::vector<size_t>{2}) << "the stopped entry is not done with";
    EXPECT_EQ(r.observer.clears(), 1u) << "and its share is cleared with the run";
}

TEST(DestructionRun, APausedRunWaitsAndResumesOrStops) {
    for (const bool stopWhilePaused : {false, true}) {
        Shredding r(stopWhilePaused ? L"pause-stop" : L"pause-resume");
        const std::wstring first = r.add(L"first.bin");
        const std::wstring big = r.add(L"big.bin", std::string(4 << 20, 'x'));
        std::atomic<bool> pausedMidFile{false};
        r.observer.onBlock = [&](double) {
            if (!pausedMidFile.exchange(true))
                r.control.pause();  // after the first block of big.bin
        };
        RunSummary summary;
        std::thread worker([&] { summary = r.run(); });
        while (!pausedMidFile)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_EQ(r.observer.written(), std::vector<double>{25}) << "nothing written while paused";
        EXPECT_TRUE(test::FileExists(big));
        if (stopWhilePaused)
            r.control.stop();
        else
            r.control.resume();
        worker.join();
        EXPECT_FALSE(test::FileExists(big)) << "the entry under way completes";
        EXPECT_EQ(test::FileExists(first), stopWhilePaused);
        EXPECT_EQ(summary.end, stopWhilePaused ? RunEnd::Stopped : RunEnd::Complete);
    }
}

}  // namespace
