#include "journal/JournalClearing.h"
#include "journal/JournalFile.h"
#include "journal/JournalLines.h"
#include "journal/JournalMessages.h"

#include "tests/unit/TestSupport.h"
#include "win/Files.h"
#include "win/Handle.h"
#include "win/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

std::wstring JournalIn(const test::TempFolder& folder) {
    return JournalFile(folder.path()).path();
}

TEST(JournalFile, TimestampIsZeroPaddedWithAGraveA) {
    SYSTEMTIME time = {};
    time.wYear = 2027;
    time.wMonth = 3;
    time.wDay = 1;
    time.wHour = 9;
    time.wMinute = 5;
    time.wSecond = 3;
    EXPECT_EQ(JournalFile::timestampFor(time), L"01/03/2027 \u00E0 09:05:03");

    // The current time has the same shape: dd/mm/yyyy à hh:ii:ss.
    const std::wstring now = JournalFile::timestamp();
    ASSERT_EQ(now.size(), 21u);
    for (size_t i : {0, 1, 3, 4, 6, 7, 8, 9, 13, 14, 16, 17, 19, 20})
        EXPECT_TRUE(now[i] >= L'0' && now[i] <= L'9') << i;
    EXPECT_EQ(now.substr(2, 1) + now.substr(5, 1) + now.substr(10, 3) + now.substr(15, 1) + now.substr(18, 1),
              L"// \u00E0 ::");
}

TEST(JournalFile, AppendCreatesTheFileWithExactlyTheLine) {
    test::TempFolder folder(L"journal-create");
    const std::wstring path = JournalIn(folder);
    ASSERT_FALSE(win::Exists(path));

    EXPECT_TRUE(
        JournalFile(folder.path()).appendLine(L"01/03/2027 \u00E0 09:05:03 - Dossier : [Donn\u00E9es] vid\u00E9"));
    EXPECT_EQ(test::ReadFile(path),
              "01/03/2027 \xE0 09:05:03 - Dossier : [Donn\xE9"
              "es] vid\xE9\r\n");
}

TEST(JournalFile, AppendLeavesEarlierBytesAsTheyWere) {
    test::TempFolder folder(L"journal-append");
    const std::wstring path = JournalIn(folder);
    // Earlier content that no writer of ours would produce: a lone LF, a byte Windows-1252 leaves undefined,
    // and no line end at the very end.
    const std::string earlier = std::string("first\r\nsecond\nodd \x81\x00 bytes", 24);
    test::WriteFile(path, earlier);

    const JournalFile journal(folder.path());
    EXPECT_TRUE(journal.appendLine(L"x"));
    EXPECT_TRUE(journal.appendLine(L""));
    EXPECT_TRUE(journal.appendLine(L"\u00E0 la fin"));
    EXPECT_EQ(test::ReadFile(path), earlier + "x\r\n\r\n\xE0 la fin\r\n");
}

TEST(JournalFile, CharactersOutsideWindows1252BecomeQuestionMarks) {
    test::TempFolder folder(L"journal-unicode");
    EXPECT_TRUE(JournalFile(folder.path()).appendLine(L" - Le Fichier [\u65E5\u672C Zo\u00EB \u20AC \u0142.txt]"));
    // The euro sign has a Windows-1252 byte (0x80); the Japanese letters and the Polish ł have none.
    EXPECT_EQ(test::ReadFile(JournalIn(folder)), " - Le Fichier [?? Zo\xEB \x80 ?.txt]\r\n");
}

// A file name made on Linux can hold a line end: written as it is, it would forge a line of its own. Control
// characters, C1 ones included, are written escaped; a backslash is written as it is.
TEST(JournalFile, ControlCharactersInANameAreEscapedOnTheOneLine) {
    test::TempFolder folder(L"journal-controls");
    const std::wstring name =
        std::wstring(L"banque.xls] n'a pu \u00EAtre supprim\u00E9\n08/12/2026 \u00E0 12:00:00 - x") + wchar_t(0x01) +
        L"\t\r" + wchar_t(0x85) + wchar_t(0x7F) + L"\\n.txt";
    const JournalFile journal(folder.path());
    ASSERT_TRUE(journal.appendLine(L"08/12/2026 \u00E0 11:59:59" + journal::FileNotDeleted(name)));
    EXPECT_EQ(test::ReadFile(journal.path()),
              "08/12/2026 \xE0 11:59:59 - Le Fichier [banque.xls] n'a pu \xEAtre supprim\xE9\\n08/12/2026 \xE0 "
              "12:00:00 - x\\x01\\t\\r\\x85\\x7F\\n.txt] n'a pu \xEAtre supprim\xE9\r\n");

    // The journal window's index sees the one line.
    JournalLines lines;
    ASSERT_EQ(lines.open(journal.path()), JournalLines::Open::Reading);
    while (lines.readSome(1 << 20)) {
    }
    EXPECT_EQ(lines.count(), 1u);
}

TEST(JournalFile, MissingConfigurationFolderDropsTheLineQuietly) {
    test::TempFolder folder(L"journal-missing");
    const std::wstring absent = folder / L"ShredderConfig\\";
    const JournalFile journal(absent);
    EXPECT_FALSE(journal.appendLine(L"lost"));
    EXPECT_EQ(journal.lostLines(), 1u);
    EXPECT_FALSE(win::Exists(absent));
    EXPECT_FALSE(win::Exists(journal.path()));
}

TEST(JournalFile, ReadingSplitsAtCrLfOrCrLf) {
    test::TempFolder folder(L"journal-read");
    const std::wstring path = folder / L"lines.txt";
    auto linesOf = [&](const std::string& bytes) {
        test::WriteFile(path, bytes);
        return JournalFile::readLines(path);
    };
    using Lines = std::vector<std::wstring>;

    EXPECT_EQ(linesOf("a\r\nb\r\n"), (Lines{L"a", L"b"}));  // no empty line after the last CR LF
    EXPECT_EQ(linesOf("a\r\nlast"), (Lines{L"a", L"last"}));
    EXPECT_EQ(linesOf("a\rb\rc"), (Lines{L"a", L"b", L"c"}));
    EXPECT_EQ(linesOf("a\nb\nc\n"), (Lines{L"a", L"b", L"c"}));
    EXPECT_EQ(linesOf("a\r\rb\n\nc\r\n\r\n"), (Lines{L"a", L"", L"b", L"", L"c", L""}));
    EXPECT_EQ(linesOf("a\n\rb"), (Lines{L"a", L"", L"b"}));  // LF CR is two line ends, unlike CR LF
    EXPECT_EQ(linesOf("\xE0 09:05:03 \x80"), (Lines{L"\u00E0 09:05:03 \u20AC"}));
    EXPECT_EQ(linesOf(""), Lines{});
    EXPECT_EQ(JournalFile::readLines(folder / L"absent.txt"), Lines{});
}

TEST(JournalFile, CatalogueTextsAreWrittenAsTheJournalWindowShowsThem) {
    test::TempFolder folder(L"journal-catalogue");
    const JournalFile journal(folder.path());
    for (const std::wstring& body :
         {journal::FolderNotRemoved(L"C:\\A\\B"), journal::FileNotDeleted(L"f.txt"),
          journal::DataNotOverwritten(L"f.txt"), journal::NoFileSpecified(), journal::FileEmpty(L"f.txt"),
          journal::FileMissing(L"C:\\A\\f.txt"), journal::CannotOpen(L"f.txt"), journal::FolderEmptied(L"B"),
          journal::WriteError(L"f.txt")})
        ASSERT_TRUE(journal.appendLine(body));

    // Byte escapes, so that the expectation does not depend on how the compiler reads this source file.
    EXPECT_EQ(test::ReadFile(journal.path()),
              " - Le Dossier [C:\\A\\B] n'a pu \xEAtre supprim\xE9\r\n"
              " - Le Fichier [f.txt] n'a pu \xEAtre supprim\xE9\r\n"
              " - Les donn\xE9"
              "es du fichier [f.txt]  n'ont pu \xEAtre \xE9"
              "cras\xE9"
              "es\r\n"
              " - Erreur! - Pas de fichier sp\xE9"
              "cifi\xE9 pour la destruction.\r\n"
              " - Le fichier [f.txt] est vide!\r\n"
              " - Le fichier [C:\\A\\f.txt] n'existe pas!\r\n"
              " - Impossible d'ouvrir le fichier: [f.txt]\r\n"
              " - Dossier : [B] vid\xE9\r\n"
              " - Erreur d'\xE9"
              "criture - Le fichier [f.txt] n'a pu \xEAtre supprim\xE9\r\n");
}

TEST(JournalFile, ConcurrentWritersLoseNoLine) {
    test::TempFolder folder(L"journal-threads");
    constexpr int kThreads = 4;
    constexpr int kLines = 200;
    // Each writer has its own JournalFile, as the run's worker and the cleaner do.
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([&folder, t] {
            const JournalFile journal(folder.path());
            for (int i = 0; i < kLines; ++i)
                journal.appendLine(L"T" + std::to_wstring(t) + L" L" + std::to_wstring(i) + L" " +
                                   std::wstring(40 + i % 7, L'\u00E0'));
        });
    }
    // A reader going over the file meanwhile, as the journal window does, must not make an append fail.
    std::thread reader([&folder] {
        for (int i = 0; i < 50; ++i)
            JournalFile::readLines(JournalIn(folder));
    });
    for (std::thread& writer : writers)
        writer.join();
    reader.join();

    const std::vector<std::wstring> lines = JournalFile::readLines(JournalIn(folder));
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLines));
    std::vector<int> next(kThreads, 0);
    for (const std::wstring& line : lines) {
        int t = -1;
        int i = -1;
        ASSERT_EQ(swscanf(line.c_str(), L"T%d L%d ", &t, &i), 2) << win::ToUtf8(line);
        ASSERT_TRUE(t >= 0 && t < kThreads);
        // Each writer's lines are whole and in the order it wrote them.
        EXPECT_EQ(i, next[t]);
        next[t] = i + 1;
        EXPECT_EQ(line,
                  L"T" + std::to_wstring(t) + L" L" + std::to_wstring(i) + L" " + std::wstring(40 + i % 7, L'\u00E0'));
    }
    EXPECT_EQ(next, std::vector<int>(kThreads, kLines));
}

// Another holder that opened the journal without write sharing (another program, or a copy of the file in
// progress) blocks appends only while it holds it.
win::UniqueFile HoldWithoutWriteSharing(const std::wstring& path) {
    return win::UniqueFile(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST(JournalFile, AppendWaitsForABriefHolderToLetGo) {
    test::TempFolder folder(L"journal-held");
    const JournalFile journal(folder.path());
    ASSERT_TRUE(journal.appendLine(L"before"));

    win::UniqueFile holder = HoldWithoutWriteSharing(journal.path());
    ASSERT_TRUE(holder);
    std::atomic<bool> started{false};
    bool written = false;
    std::thread writer([&] {
        started = true;
        written = journal.appendLine(L"after");
    });
    // Let go as soon as the writer is on its way: it meets the holder, or comes just after it.
    while (!started)
        ::Sleep(1);
    holder.reset();
    writer.join();

    EXPECT_TRUE(written);
    EXPECT_EQ(journal.lostLines(), 0u);
    EXPECT_EQ(test::ReadFile(journal.path()), "before\r\nafter\r\n");
}

// A file held for good: a run's lines are lost and counted (how fast they give up is a figure of kbench's
// journal-held mode), and the first line after the holder lets go is written.
TEST(JournalFile, AHeldJournalLosesTheRunsLinesAndCountsThem) {
    test::TempFolder folder(L"journal-kept");
    const JournalFile journal(folder.path());
    ASSERT_TRUE(journal.appendLine(L"before"));

    win::UniqueFile holder(
        ::CreateFileW(journal.path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(journal.appendLine(L"dropped " + std::to_wstring(i)));
    EXPECT_EQ(journal.lostLines(), 10u);
    holder.reset();
    EXPECT_TRUE(journal.appendLine(L"later"));
    EXPECT_EQ(journal.lostLines(), 10u);
    EXPECT_EQ(test::ReadFile(journal.path()), "before\r\nlater\r\n");
    // A copy is a writer of its own.
    EXPECT_EQ(JournalFile(journal).lostLines(), 0u);
}

// The journal window's "Effacer" and its clearing at closing: the journal's bytes become zeros (a second
// name for them sees it) and the journal goes, read-only or not as the caller says.
TEST(JournalFile, ClearingZeroesAndDeletesTheJournalItself) {
    test::TempFolder folder(L"journal-clear");
    const std::wstring path = JournalIn(folder);
    const std::wstring second = folder / L"second-name.txt";
    const std::string text = "07/12/2026 \xE0 11:00:00 - Le fichier [a.txt] est vide!\r\n";
    test::WriteFile(path, text);
    ASSERT_TRUE(::CreateHardLinkW(second.c_str(), path.c_str(), nullptr));
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));

    using journal::ClearOutcome;
    EXPECT_EQ(journal::ClearJournal(path, false, win::StopToken::Never()).outcome, ClearOutcome::ReadOnly);
    EXPECT_EQ(test::ReadFile(path), text);
    EXPECT_EQ(journal::ClearJournal(path, true, win::StopToken::Never()).outcome, ClearOutcome::Cleared);
    EXPECT_FALSE(win::Exists(path));
    EXPECT_EQ(test::ReadFile(second), std::string(text.size(), '\0'));
    EXPECT_EQ(journal::ClearJournal(path, true, win::StopToken::Never()).outcome, ClearOutcome::Missing);

    // At exit the overwrite is left at once, and the journal still goes whole.
    test::WriteFile(path, text);
    win::StopToken quit;
    quit.quit();
    EXPECT_EQ(journal::ClearJournal(path, false, quit).outcome, ClearOutcome::Cleared);
    EXPECT_FALSE(win::Exists(path));
}

// The sandbox runner made C:\journallink\KvsErrLog.txt a file link to C:\journallink\target.txt, which Wine
// shows as a plain file: the clearing leaves the link in place and its target whole.
TEST(JournalFile, ClearingLeavesALinkUnderTheJournalsNameAndItsTarget) {
    const std::wstring link = L"C:\\journallink\\KvsErrLog.txt";
    const std::wstring target = L"C:\\journallink\\target.txt";
    test::WriteFile(target, "the target's own text\r\n");
    ASSERT_EQ(test::ReadFile(link), "the target's own text\r\n");

    EXPECT_EQ(journal::ClearJournal(link, true, win::StopToken::Never()).outcome, journal::ClearOutcome::Link);
    EXPECT_EQ(test::ReadFile(target), "the target's own text\r\n");
    EXPECT_TRUE(win::Exists(link));
}

}  // namespace
