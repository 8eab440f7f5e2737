#include "tools/Companions.h"

#include "tests/unit/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(Companions, FiveGoAtExitAndTwoStay) {
    test::TempFolder config(L"companions");
    for (const wchar_t* name : {L"defrag64.exe", L"msconfig64.exe", L"compmgmt_msc64.exe", L"rstrui64.exe",
                                L"ipconfig64.exe", L"Inetcpl64.exe", L"notes.txt"})
        test::WriteFile(config / name, "x");
    // A folder under a companion's name is not a companion: it stays.
    ::CreateDirectoryW((config / L"mrt64.exe").c_str(), nullptr);
    DeleteCompanionsAtExit(config.path());
    for (const wchar_t* gone : {L"defrag64.exe", L"msconfig64.exe", L"compmgmt_msc64.exe", L"rstrui64.exe"})
        EXPECT_FALSE(test::FileExists(config / gone)) << "still there";
    for (const wchar_t* kept : {L"ipconfig64.exe", L"Inetcpl64.exe", L"notes.txt", L"mrt64.exe"})
        EXPECT_TRUE(test::FileExists(config / kept)) << "removed";
}

TEST(Companions, NothingIsDeletedWithoutAConfigurationFolder) {
    test::TempFolder current(L"companions-current");
    test::WriteFile(current / L"defrag64.exe", "a user's own file");
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(current.path().c_str());
    DeleteCompanionsAtExit(L"");
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(test::ReadFile(current / L"defrag64.exe"), "a user's own file");
}

}  // namespace
