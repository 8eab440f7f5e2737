#include "journal/JournalFile.h"
#include "journal/JournalLines.h"

#include "tests/unit/TestSupport.h"
#include "win/Files.h"

#include <gtest/gtest.h>

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

}  // namespace
