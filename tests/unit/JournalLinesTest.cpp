#include "journal/JournalFile.h"
#include "journal/JournalLines.h"

#include "tests/unit/TestSupport.h"
#include "win/Files.h"
#include "win/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Every line as the list shows it, reading the given number of bytes at a time.
std::vector<std::wstring> ReadAll(JournalLines& lines, size_t slice) {
    while (lines.readSome(slice)) {
    }
    std::vector<std::wstring> texts;
    wchar_t buffer[260];
    for (size_t i = 0; i < lines.count(); ++i) {
        lines.copyLine(i, buffer, 260);
        texts.push_back(buffer);
    }
    return texts;
}

TEST(JournalLines, LinesEndAtCrLfOrBothWhateverTheSlices) {
    test::TempFolder folder(L"lines-ends");
    const std::wstring path = folder / L"KvsErrLog.txt";
    JournalLines lines;
    EXPECT_EQ(lines.open(path), JournalLines::Open::Missing);
    EXPECT_EQ(lines.open(folder / L"missing\\KvsErrLog.txt"), JournalLines::Open::Missing);

    // Windows-1252 accents, CR LF, a lone LF, a lone CR, an empty line, CR LF across a slice border, and a
    // last line without a line end.
    test::WriteFile(path,
                    "01/03/2027 \xE0 09:05:03 - Dossier : [Donn\xE9"
                    "es] vid\xE9\r\nb\nc\rd\r\n\r\ne");
    const std::vector<std::wstring> expected = {
        L"01/03/2027 \u00E0 09:05:03 - Dossier : [Donn\u00E9es] vid\u00E9", L"b", L"c", L"d", L"", L"e"};
    for (size_t slice : {1, 2, 3, 51, 1 << 20}) {
        ASSERT_EQ(lines.open(path), JournalLines::Open::Reading);
        EXPECT_EQ(ReadAll(lines, slice), expected) << slice;
        EXPECT_FALSE(lines.reading());
    }

    // A final line end makes no empty line after it; an empty file has no line at all.
    test::WriteFile(path, "one\r\ntwo\r\n");
    ASSERT_EQ(lines.open(path), JournalLines::Open::Reading);
    EXPECT_EQ(ReadAll(lines, 1), (std::vector<std::wstring>{L"one", L"two"}));
    test::WriteFile(path, "");
    ASSERT_EQ(lines.open(path), JournalLines::Open::Reading);
    EXPECT_TRUE(ReadAll(lines, 1).empty());

    // A line longer than the list's buffer is cut to it.
    test::WriteFile(path, std::string(1000, 'x'));
    ASSERT_EQ(lines.open(path), JournalLines::Open::Reading);
    EXPECT_EQ(ReadAll(lines, 100).front(), std::wstring(259, L'x'));
}

TEST(JournalLines, WritersAndDeletionGoOnWhileTheJournalIsRead) {
    test::TempFolder folder(L"lines-sharing");
    JournalFile journal(folder.path());
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(journal.appendLine(L"line " + std::to_wstring(i)));

    JournalLines lines;
    ASSERT_EQ(lines.open(journal.path()), JournalLines::Open::Reading);
    ASSERT_TRUE(lines.readSome(100));
    EXPECT_GT(lines.count(), 0u);
    EXPECT_LT(lines.count(), 1000u);
    // A run appends while the window reads: its line is written at once, and the window shows the lines
    // the file held when it was opened.
    ASSERT_TRUE(journal.appendLine(L"appended meanwhile"));
    const std::vector<std::wstring> shown = ReadAll(lines, 4096);
    ASSERT_EQ(shown.size(), 1000u);
    EXPECT_EQ(shown.back(), L"line 999");
    EXPECT_EQ(test::ReadFile(journal.path()).substr(test::ReadFile(journal.path()).size() - 20),
              "appended meanwhile\r\n");

    // "Effacer" while the reading is still under way.
    ASSERT_EQ(lines.open(journal.path()), JournalLines::Open::Reading);
    ASSERT_TRUE(lines.readSome(100));
    EXPECT_TRUE(::DeleteFileW(journal.path().c_str()));
    lines.clear();
    EXPECT_FALSE(win::Exists(journal.path()));
    EXPECT_EQ(lines.count(), 0u);
    // The next line makes a new journal.
    EXPECT_TRUE(journal.appendLine(L"after"));
    EXPECT_EQ(test::ReadFile(journal.path()), "after\r\n");
}

// Limits of a few kilobytes stand for the window's 128 MiB and 8 Mi lines: the same paths as a journal of
// gigabytes, or of hundreds of millions of line ends, without the wait.
TEST(JournalLines, BeyondItsLimitsTheNewestLinesAreShownAndTheOlderOnesCounted) {
    test::TempFolder folder(L"lines-limits");
    const std::wstring path = folder / L"KvsErrLog.txt";
    const JournalLines::Limits limits{4096, 300};
    JournalLines lines(limits);
    // The lines shown are the newest of all, and the others are counted; returns how many are shown.
    auto expectNewest = [&](const std::string& bytes, const std::vector<std::wstring>& all, const char* what) {
        test::WriteFile(path, bytes);
        EXPECT_EQ(lines.open(path), JournalLines::Open::Reading) << what;
        std::vector<std::wstring> shown = ReadAll(lines, 1000);
        if (shown.size() > all.size())
            shown.clear();
        EXPECT_EQ(shown, std::vector<std::wstring>(all.end() - shown.size(), all.end())) << what;
        EXPECT_EQ(lines.olderLines(), all.size() - shown.size()) << what;
        return shown.size();
    };

    // Line ends only, more than the index holds.
    expectNewest(
        std::string(2000, '\n') + "a\r\nb",
        [] {
            std::vector<std::wstring> all(2000, L"");
            all.insert(all.end(), {L"a", L"b"});
            return all;
        }(),
        "line ends");
    EXPECT_EQ(lines.count(), 300u);

    // More bytes than the block holds, its first byte at every place of a cycle of CR LF, LF and CR lines:
    // inside a line, on a line start, between the CR and the LF of a line end. Every line that starts in the
    // block's bytes is shown.
    for (size_t shift = 0; shift < 94; ++shift) {
        std::string bytes;
        std::vector<std::wstring> all;
        std::vector<size_t> starts;
        const char* ends[] = {"\r\n", "\n", "\r"};
        for (int i = 0; i < 600; ++i) {
            char text[32];
            std::snprintf(text, sizeof(text), "%04d - Le fichier [%06d.tmp]", i, i);  // 30 bytes
            starts.push_back(bytes.size());
            bytes += text;
            bytes += ends[i % 3];
            all.push_back(win::FromCp1252(text));
        }
        if (shift > 0) {
            starts.push_back(bytes.size());
            bytes += std::string(shift, 'x');
            all.push_back(std::wstring(shift, L'x'));
        }
        const size_t fitting = static_cast<size_t>(std::count_if(
            starts.begin(), starts.end(), [&](size_t at) { return at >= bytes.size() - limits.keptBytes; }));
        EXPECT_EQ(expectNewest(bytes, all, "shifted lines"), fitting) << shift;
    }

    // One line longer than the block: its end.
    expectNewest("avant\r\n" + std::string(5000, 'y'), {L"avant", std::wstring(259, L'y')}, "a long line");
}

}  // namespace
