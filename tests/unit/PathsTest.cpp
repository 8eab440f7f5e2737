#include "win/Paths.h"

#include <gtest/gtest.h>

namespace {

TEST(Paths, ExtendedPathPrefixesAbsolutePathsOnce) {
    EXPECT_EQ(win::ExtendedPath(L"C:\\Data\\CON"), L"\\\\?\\C:\\Data\\CON");
    EXPECT_EQ(win::ExtendedPath(L"c:/Data/point."), L"\\\\?\\c:\\Data\\point.");
    EXPECT_EQ(win::ExtendedPath(L"\\\\serveur\\partage\\a.txt"), L"\\\\?\\UNC\\serveur\\partage\\a.txt");
    // Already extended, device paths and relative paths have no \\?\ equivalent to give.
    EXPECT_EQ(win::ExtendedPath(L"\\\\?\\C:\\a"), L"\\\\?\\C:\\a");
    EXPECT_EQ(win::ExtendedPath(L"\\\\.\\PhysicalDrive0"), L"\\\\.\\PhysicalDrive0");
    EXPECT_EQ(win::ExtendedPath(L"C:relative"), L"C:relative");
    EXPECT_EQ(win::ExtendedPath(L"a\\b"), L"a\\b");
    EXPECT_EQ(win::ExtendedPath(L"\\racine"), L"\\racine");
    EXPECT_EQ(win::ExtendedPath(L""), L"");
}

}  // namespace
