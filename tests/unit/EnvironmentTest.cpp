#include "app/Environment.h"
#include "app/main/Greeting.h"

#include <gtest/gtest.h>

namespace {

SYSTEMTIME Day(WORD year, WORD month, WORD day, WORD dayOfWeek) {
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wDayOfWeek = dayOfWeek;
    return time;
}

TEST(Environment, LastFolderNameTakesTheFolderBeforeTheLastSeparator) {
    EXPECT_EQ(LastFolderName(L"C:\\Users\\Jean\\"), L"Jean");
    EXPECT_EQ(LastFolderName(L"C:\\Data\\a.txt"), L"Data");
    EXPECT_EQ(LastFolderName(L"C:\\"), L"C:");
    EXPECT_EQ(LastFolderName(L"C:/mixed\\sep/"), L"sep");
    EXPECT_EQ(LastFolderName(L"no separator"), L"");
    EXPECT_EQ(LastFolderName(L"\\"), L"");
    EXPECT_EQ(LastFolderName(L"C:\\Users\\Zoë 日本\\"), L"Zoë 日本");
}

TEST(Environment, FrenchDateLineNamesDayAndMonthInFrench) {
    EXPECT_EQ(FrenchDateLineFor(Day(2026, 12, 6, 0)), L"dimanche  06 décembre  2026");
    EXPECT_EQ(FrenchDateLineFor(Day(2026, 12, 7, 1)), L"lundi  07 décembre  2026");
    EXPECT_EQ(FrenchDateLineFor(Day(2027, 2, 13, 6)), L"samedi  13 février  2027");
    EXPECT_EQ(FrenchDateLineFor(Day(2026, 8, 19, 3)), L"mercredi  19 août  2026");
    EXPECT_EQ(FrenchDateLineFor(Day(2026, 1, 1, 4)), L"jeudi  01 janvier  2026");
}

TEST(Environment, OsLevelMapsVersionsToLevelCodes) {
    auto nt = [](DWORD major, DWORD minor, bool workstation, bool extended = true) {
        OsVersionFacts facts;
        facts.queried = true;
        facts.platform = VER_PLATFORM_WIN32_NT;
        facts.major = major;
        facts.minor = minor;
        facts.extended = extended;
        facts.productType = workstation ? VER_NT_WORKSTATION : VER_NT_SERVER;
        return OsLevelFor(facts);
    };
    EXPECT_EQ(nt(5, 1, true), 60);         // XP
    EXPECT_EQ(nt(5, 2, true), 60);         // XP x64
    EXPECT_EQ(nt(5, 2, false), 65);        // Server 2003
    EXPECT_EQ(nt(6, 0, true), 70);         // Vista
    EXPECT_EQ(nt(6, 0, false), 75);        // Server 2008
    EXPECT_EQ(nt(6, 1, true), 80);         // 7
    EXPECT_EQ(nt(6, 1, false), 75);        // Server 2008 R2
    EXPECT_EQ(nt(6, 1, true, false), 75);  // no extended answer: not known to be a workstation
    EXPECT_EQ(nt(6, 2, true), 100);        // 8 and every later release
    EXPECT_EQ(nt(10, 0, true), 100);
    EXPECT_EQ(nt(5, 0, true), 50);
    EXPECT_EQ(nt(4, 0, true), 20);
    EXPECT_EQ(nt(3, 51, true), 5);

    OsVersionFacts nine;
    nine.queried = true;
    nine.platform = VER_PLATFORM_WIN32_WINDOWS;
    nine.major = 4;
    EXPECT_EQ(OsLevelFor(nine), 10);
    nine.minor = 10;
    EXPECT_EQ(OsLevelFor(nine), 30);
    nine.minor = 90;
    EXPECT_EQ(OsLevelFor(nine), 40);
    EXPECT_EQ(OsLevelFor(OsVersionFacts{}), 100);  // the query failed
}

TEST(Environment, TheWinePrefixLooksLikeWindows7As64BitAdministrator) {
    EXPECT_EQ(OsLevel(), 80);
    EXPECT_EQ(OsBitnessLabel(), L"64 bit");
    EXPECT_EQ(IsAdministrator(), 1);
    EXPECT_FALSE(CommandInterpreterPath().empty());
    EXPECT_EQ(SystemFolderPath().back(), L'2');  // C:\windows\system32, no trailing backslash
    EXPECT_NE(WindowsFolderPath().back(), L'\\');
}

TEST(Environment, SmallShellIconForAFolder) {
    HICON icon = SmallShellIcon(WindowsFolderPath());
    ASSERT_NE(icon, nullptr);
    ::DestroyIcon(icon);
    EXPECT_EQ(SmallShellIcon(L"C:\\no\\such\\file.txt"), nullptr);
}

TEST(Environment, GreetingLinesDependOnTheRights) {
    EXPECT_EQ(GreetingFirstLine(L"Marie", false),
              L"Bonjour Marie, vous êtes connecté comme simple utilisateur. Droits limités.");
    EXPECT_EQ(GreetingFirstLine(L"Marie", true),
              L"Bonjour Marie, vous êtes connecté comme administrateur système. Droits étendus.");
    EXPECT_EQ(GreetingSecondLine(L"lundi  07 décembre  2026"),
              L"Nous sommes le lundi  07 décembre  2026, bienvenue dans votre utilitaire de sécurité personnelle.");
}

}  // namespace
