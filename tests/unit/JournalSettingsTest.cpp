#include "journal/JournalSettings.h"

#include "tests/unit/TestSupport.h"
#include "win/Files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(JournalSettings, OnlyOkOnTheKeyOutsideGroupsTicks) {
    using JournalSettings::ParseDeleteOnClose;
    EXPECT_TRUE(ParseDeleteOnClose("CheckDeleteLOG = OK\r\n"));
    // The key in any case, spaces and tabs around the value, no final line end, other lines around.
    EXPECT_TRUE(ParseDeleteOnClose("; made by hand\r\nOther = 1\r\n\tcheckdeletelog\t=  \tOK \t"));
    EXPECT_TRUE(ParseDeleteOnClose("CHECKDELETELOG=OK\n[Later]\nCheckDeleteLOG = NO\n"));
    // The value is compared exactly.
    EXPECT_FALSE(ParseDeleteOnClose("CheckDeleteLOG = ok\r\n"));
    EXPECT_FALSE(ParseDeleteOnClose("CheckDeleteLOG = OK!\r\n"));
    EXPECT_FALSE(ParseDeleteOnClose("CheckDeleteLOG = NO\r\n"));
    EXPECT_FALSE(ParseDeleteOnClose("CheckDeleteLOG = O K\r\n"));
    // Comments, other keys, a key inside a group, an empty file.
    EXPECT_FALSE(ParseDeleteOnClose(";CheckDeleteLOG = OK\r\n"));
    EXPECT_FALSE(ParseDeleteOnClose("CheckDeleteLOGs = OK\r\n"));
    EXPECT_FALSE(ParseDeleteOnClose("[Journal]\r\nCheckDeleteLOG = OK\r\n"));
    EXPECT_FALSE(ParseDeleteOnClose(""));
    // The first occurrence counts.
    EXPECT_FALSE(ParseDeleteOnClose("CheckDeleteLOG = NO\r\nCheckDeleteLOG = OK\r\n"));
}

TEST(JournalSettings, WritingReplacesTheFileWholeOrNotAtAll) {
    test::TempFolder folder(L"settings-write");
    const std::wstring path = JournalSettings::Path(folder.path());
    ASSERT_EQ(path, folder.path() + L"KvlShredder.ini");
    const std::wstring fresh = path + L".new";

    // No file: the option is left as it was. A first write creates the file and reads back; a later one
    // drops whatever else the file held.
    bool ticked = false;
    EXPECT_FALSE(JournalSettings::ReadDeleteOnClose(path, &ticked));
    ASSERT_TRUE(JournalSettings::WriteDeleteOnClose(path, true));
    EXPECT_EQ(test::ReadFile(path), "CheckDeleteLOG = OK\r\n");
    EXPECT_TRUE(JournalSettings::ReadDeleteOnClose(path, &ticked));
    EXPECT_TRUE(ticked);
    test::WriteFile(path, "; notes\r\n[Group]\r\nOther = 1\r\nCheckDeleteLOG = OK\r\n");
    ASSERT_TRUE(JournalSettings::WriteDeleteOnClose(path, false));
    EXPECT_EQ(test::ReadFile(path), "CheckDeleteLOG = NO\r\n");
    EXPECT_FALSE(win::Exists(fresh));

    // The new file cannot be made beside the old one: the old one stays as it was.
    ::CreateDirectoryW(fresh.c_str(), nullptr);
    EXPECT_FALSE(JournalSettings::WriteDeleteOnClose(path, true));
    EXPECT_EQ(test::ReadFile(path), "CheckDeleteLOG = NO\r\n");
    ::RemoveDirectoryW(fresh.c_str());

    // The old file is held open by another program and cannot be replaced: it stays whole, and the new
    // file does not linger beside it.
    {
        test::FileHolderProcess holder(path);
        ASSERT_TRUE(holder.holding());
        EXPECT_FALSE(JournalSettings::WriteDeleteOnClose(path, true));
        EXPECT_FALSE(win::Exists(fresh));
    }
    EXPECT_EQ(test::ReadFile(path), "CheckDeleteLOG = NO\r\n");

    // A missing folder: nothing is saved, nothing is made.
    EXPECT_FALSE(JournalSettings::WriteDeleteOnClose(folder.path() + L"missing\\KvlShredder.ini", true));
}

}  // namespace
