#include "shred/FolderScan.h"

#include "shred/ShellFolder.h"
#include "tests/unit/ScanSupport.h"
#include "tests/unit/TestSupport.h"
#include "win/Files.h"
#include "win/Handle.h"

#include <gtest/gtest.h>

namespace {

using test::Listed;
using test::MakeTree;
using test::RegistryValueOverride;
using test::StatusRecorder;

constexpr EntryImage kFolder = EntryImage::ScannedFolder;
constexpr EntryImage kFile = EntryImage::ScannedFile;
constexpr EntryImage kIcon = EntryImage::ShellIcon;

// Names in the order the system lists them in folder, which is what "first" and "last" mean for Firefox.
std::vector<std::wstring> ListingOrder(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    win::UniqueFind find(::FindFirstFileW((folder + L"*").c_str(), &data));
    if (!find)
        return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(find.get(), &data));
    return names;
}

TEST(Presets, TheRecycleBinQueuesTheDeletedFilesAndKeepsEveryFolder) {
    test::TempFolder bin(L"recycle");
    const std::wstring user = L"S-1-5-21-1004336348-1177238915-682003330-1000\\";
    MakeTree(bin.path(), {user, user + L"$RAB12CD.txt", user + L"$IAB12CD.txt"});
    StatusRecorder status;
    const ScanResult result = ScanRecycleBin(bin.path(), {nullptr, &status});
    EXPECT_EQ(Listed(result.entries, bin.path() + user),
              (std::vector<test::Entry>{{L"$IAB12CD.txt", kFile}, {L"$RAB12CD.txt", kFile}}));
    EXPECT_EQ(status.texts, (std::vector<std::wstring>{kScanningStatus, L"", kRecycleBinStatus}));

    // The files of a deleted folder are queued, the folder itself stays; so does a folder entry the user
    // queued before.
    MakeTree(bin.path(), {user + L"$R77\\", user + L"$R77\\inner\\", user + L"$R77\\inner\\note.txt"});
    test::TempFolder mine(L"recycle-mine");
    ShredList list;
    list.addFolderEntry(mine.path());
    AppendScanResult(list, ScanRecycleBin(bin.path(), {}));
    ASSERT_EQ(list.count(), 4u);
    EXPECT_EQ(list.entryText(0), mine.path().substr(0, mine.path().size() - 1));
    EXPECT_EQ(list.entryText(1), bin.path() + user + L"$R77\\inner\\note.txt");
    EXPECT_EQ(list.entryText(3), bin.path() + user + L"$RAB12CD.txt");

    // With nothing left to queue the counters are still written, with the adding prefix.
    test::TempFolder empty(L"recycle-empty");
    MakeTree(empty.path(), {user});
    list.clear();
    EXPECT_EQ(list.headerText(), std::wstring(ShredList::kHeaderTitle) + L"  0");
    AppendScanResult(list, ScanRecycleBin(empty.path(), {}));
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(list.headerText(), std::wstring(ShredList::kHeaderTitle) + L"   0");
}

TEST(Presets, FirefoxScansTheLastLocalCacheAndTheFirstRoamingProfile) {
    test::TempFolder local(L"ff-local");
    test::TempFolder roaming(L"ff-roaming");
    const std::wstring localProfiles = local / L"Mozilla\\Firefox\\Profiles\\";
    const std::wstring roamingProfiles = roaming / L"Mozilla\\Firefox\\Profiles\\";
    MakeTree(local.path(), {L"Mozilla\\", L"Mozilla\\Firefox\\", L"Mozilla\\Firefox\\Profiles\\"});
    MakeTree(roaming.path(), {L"Mozilla\\", L"Mozilla\\Firefox\\", L"Mozilla\\Firefox\\Profiles\\"});
    for (const wchar_t* profile : {L"k3x9.default\\", L"p0q7.travail\\"}) {
        const std::wstring cache = std::wstring(profile) + L"Cache\\";
        MakeTree(localProfiles,
                 {profile, cache, cache + L"0\\", cache + L"0\\A1\\", cache + L"0\\A1\\entry", cache + L"_CACHE_MAP_"});
    }
    MakeTree(roamingProfiles, {L"r1.default\\", L"r1.default\\cookies.sqlite", L"r1.default\\formhistory.sqlite",
                               L"r1.default\\places.sqlite", L"r2.autre\\", L"r2.autre\\cookies.sqlite",
                               L"r2.autre\\downloads.sqlite", L"r2.autre\\formhistory.sqlite"});
    const std::wstring lastLocal = ListingOrder(localProfiles).back();
    const std::wstring firstRoaming = ListingOrder(roamingProfiles).front();

    const FirefoxCacheLookup lookup = FindFirefoxCache(local.path());
    EXPECT_TRUE(lookup.profilesFound);
    EXPECT_EQ(lookup.folder, localProfiles + lastLocal + L"\\Cache\\");

    const ScanResult result = ScanFirefox(local.path(), roaming.path(), {});
    std::vector<test::Entry> expected = {{localProfiles + lastLocal + L"\\Cache\\0", kFolder},
                                         {localProfiles + lastLocal + L"\\Cache\\0\\A1", kFolder},
                                         {localProfiles + lastLocal + L"\\Cache\\0\\A1\\entry", kFile},
                                         {localProfiles + lastLocal + L"\\Cache\\_CACHE_MAP_", kFile}};
    const std::wstring profile = roamingProfiles + firstRoaming + L"\\";
    expected.push_back({profile + L"cookies.sqlite", kIcon});
    if (firstRoaming == L"r2.autre")
        expected.push_back({profile + L"downloads.sqlite", kIcon});
    expected.push_back({profile + L"formhistory.sqlite", kIcon});
    EXPECT_EQ(Listed(result.entries, L""), expected);
    EXPECT_TRUE(result.notices.empty());
    EXPECT_TRUE(result.rewriteCounters);
}

TEST(Presets, FirefoxTellsWhichProfilesFolderIsMissing) {
    test::TempFolder nothing(L"ff-nothing");
    ScanResult result = ScanFirefox(nothing.path(), nothing.path(), {});
    EXPECT_TRUE(result.entries.empty());
    EXPECT_EQ(result.notices,
              (std::vector<ScanNotice>{ScanNotice::FirefoxCacheMissing, ScanNotice::FirefoxProfilesMissing}));
    EXPECT_FALSE(result.rewriteCounters);
    EXPECT_FALSE(FindFirefoxCache(nothing.path()).profilesFound);
    EXPECT_FALSE(FindFirefoxCache(L"").profilesFound);

    // Profiles folders without any profile: nothing to scan, nothing to tell.
    MakeTree(nothing.path(), {L"Mozilla\\", L"Mozilla\\Firefox\\", L"Mozilla\\Firefox\\Profiles\\"});
    result = ScanFirefox(nothing.path(), nothing.path(), {});
    EXPECT_TRUE(result.entries.empty());
    EXPECT_TRUE(result.notices.empty());
    EXPECT_EQ(FindFirefoxCache(nothing.path()).folder, L"");
}

TEST(Presets, CachesAndHistoryQueueTheirTwoFoldersInTurn) {
    struct Case {
        ScanKind kind;
        const wchar_t* first;
        const wchar_t* second;
    };
    for (const Case& c : {Case{ScanKind::InternetCache, L"Content.IE5\\", L"Low\\Content.IE5\\"},
                          Case{ScanKind::History, L"History.IE5\\", L"Low\\History.IE5\\"},
                          Case{ScanKind::VirtualizedCache, L"Virtualized\\", nullptr}}) {
        test::TempFolder root(L"two-folders");
        const std::wstring first = c.first;
        MakeTree(root.path(), {first, first + L"ABCD1234\\", first + L"ABCD1234\\pic.jpg", first + L"index.dat",
                               L"Low\\", L"stray.txt"});
        std::vector<test::Entry> expected = {
            {first + L"ABCD1234", kFolder}, {first + L"ABCD1234\\pic.jpg", kFile}, {first + L"index.dat", kFile}};
        std::vector<std::wstring> texts = {kScanningStatus, L""};
        if (c.second) {
            const std::wstring second = c.second;
            MakeTree(root.path(), {second, second + L"page.htm"});
            expected.push_back({second + L"page.htm", kFile});
            texts = {kScanningStatus, L"", kScanningStatus, L""};
        }
        StatusRecorder status;
        const ScanResult result = RunScan(c.kind, root.path(), {nullptr, &status});
        EXPECT_EQ(Listed(result.entries, root.path()), expected) << c.first;
        EXPECT_EQ(status.texts, texts) << c.first;
    }
}

TEST(Presets, PrefetchQueuesTheLayoutsWithItsOwnImage) {
    test::TempFolder prefetch(L"Prefetch");
    MakeTree(prefetch.path(), {L"NOTEPAD.EXE-D8414F97.pf", L"Layout.ini", L"ReadyBoot\\", L"ReadyBoot\\Trace1.fx",
                               L"sub\\", L"sub\\DEEP.EXE-00000001.pf"});
    StatusRecorder status;
    const ScanResult result = RunScan(ScanKind::Prefetch, prefetch.path(), {nullptr, &status});
    EXPECT_EQ(Listed(result.entries, prefetch.path()),
              (std::vector<test::Entry>{{L"NOTEPAD.EXE-D8414F97.pf", EntryImage::Prefetch},
                                        {L"sub\\DEEP.EXE-00000001.pf", EntryImage::Prefetch}}));
    EXPECT_EQ(status.texts, (std::vector<std::wstring>{kScanningStatus, L""}));
}

TEST(Presets, TargetsComeFromTheShellFoldersOfEachPreset) {
    test::TempFolder local(L"sf-local");
    const std::wstring kWindows = L"C:\\windows";
    struct Case {
        Preset preset;
        const wchar_t* valueName;  // Shell Folders value the preset reads
        ScanKind kind;
    };
    const Case cases[] = {
        {Preset::InternetCache, L"Cache", ScanKind::InternetCache},
        {Preset::VirtualizedCache, L"Cache", ScanKind::VirtualizedCache},
        {Preset::Cookies, L"Cookies", ScanKind::Cookies},
        {Preset::Favorites, L"Favorites", ScanKind::Generic},
        {Preset::History, L"History", ScanKind::History},
        {Preset::RecentFiles, L"Recent", ScanKind::Generic},
        {Preset::CdBurning, L"CD Burning", ScanKind::Generic},
        {Preset::Templates, L"Templates", ScanKind::Generic},
        {Preset::MyMusic, L"My Music", ScanKind::Generic},
        {Preset::MyPictures, L"My Pictures", ScanKind::Generic},
        {Preset::MyVideos, L"My Video", ScanKind::Generic},
        {Preset::MyDocuments, L"Personal", ScanKind::Generic},
    };
    for (const Case& c : cases) {
        RegistryValueOverride value(HKEY_CURRENT_USER, kShellFoldersKey, c.valueName,
                                    std::wstring(L"C:\\sf\\") + c.valueName);
        EXPECT_EQ(PresetTarget(c.preset, 80, kWindows), std::wstring(L"C:\\sf\\") + c.valueName + L"\\") << c.valueName;
        EXPECT_EQ(PresetScanKind(c.preset), c.kind) << c.valueName;
    }
    {
        // An unknown folder, or a value that is no absolute path, gives no target: nothing is scanned.
        RegistryValueOverride relative(HKEY_CURRENT_USER, kShellFoldersKey, L"Personal", L"PAS DE CLE");
        EXPECT_EQ(PresetTarget(Preset::MyDocuments, 80, kWindows), L"");
        RegistryValueOverride empty(HKEY_CURRENT_USER, kShellFoldersKey, L"Local AppData", L"");
        EXPECT_EQ(PresetTarget(Preset::MediaPlayerCache, 80, kWindows), L"");
        EXPECT_EQ(PresetTarget(Preset::TemporaryFiles, 80, L""), L"");
    }

    EXPECT_EQ(PresetTarget(Preset::RecycleBin, 60, kWindows), L"C:\\RECYCLER\\");
    EXPECT_EQ(PresetTarget(Preset::RecycleBin, 70, kWindows), L"C:\\$Recycle.bin\\");
    EXPECT_EQ(PresetTarget(Preset::RecycleBin, 100, kWindows), L"C:\\$Recycle.bin\\");
    EXPECT_EQ(PresetScanKind(Preset::RecycleBin), ScanKind::RecycleBin);
    EXPECT_EQ(PresetTarget(Preset::TemporaryFiles, 80, kWindows), L"C:\\windows\\Temp\\");
    EXPECT_EQ(PresetTarget(Preset::PrefetchLayouts, 80, kWindows), L"C:\\windows\\Prefetch\\");
    EXPECT_EQ(PresetScanKind(Preset::PrefetchLayouts), ScanKind::Prefetch);

    RegistryValueOverride localAppData(HKEY_CURRENT_USER, kShellFoldersKey, L"Local AppData", local.path());
    EXPECT_EQ(PresetTarget(Preset::MediaPlayerCache, 80, kWindows),
              local.path() + L"Microsoft\\Media Player\\Cache d\u2019images\\LocalMLS\\");
    EXPECT_EQ(PresetScanKind(Preset::MediaPlayerCache), ScanKind::MediaPlayerCache);
    EXPECT_EQ(PresetTarget(Preset::FirefoxCache, 80, kWindows), L"") << "no profiles folder";
    MakeTree(local.path(), {L"Mozilla\\", L"Mozilla\\Firefox\\", L"Mozilla\\Firefox\\Profiles\\"});
    EXPECT_EQ(PresetTarget(Preset::FirefoxCache, 80, kWindows), local / L"Mozilla\\Firefox\\Profiles\\");
    EXPECT_EQ(PresetScanKind(Preset::FirefoxCache), ScanKind::Firefox);
}

TEST(Presets, MyDocumentsQueuesTheDocumentsContentAndDeletesNothing) {
    const std::wstring documents = PresetTarget(Preset::MyDocuments, 80, L"C:\\windows");
    ASSERT_TRUE(win::IsFolder(documents)) << "the sandbox's own documents folder";
    MakeTree(documents, {L"lettre.txt", L"Projets\\", L"Projets\\plan.txt"});
    ShredList list;
    AppendScanResult(list, RunScan(PresetScanKind(Preset::MyDocuments), documents, {}));
    list.computeTotalSize();
    const std::vector<test::Entry> expected = {
        {L"Projets", kFolder}, {L"Projets\\plan.txt", kFile}, {L"lettre.txt", kFile}};
    std::vector<ShredEntry> queued;
    for (size_t i = 0; i < list.count(); ++i)
        queued.push_back(list.entry(i));
    EXPECT_EQ(Listed(queued, documents), expected);
    EXPECT_EQ(list.totalSizeText(), L"0.000");
    EXPECT_EQ(test::ReadFile(documents + L"Projets\\plan.txt"), "x");
    EXPECT_EQ(test::ReadFile(documents + L"lettre.txt"), "x");
    test::RemoveTree(documents + L"Projets");
    ::DeleteFileW((documents + L"lettre.txt").c_str());
}

TEST(Presets, ATargetThatIsMissingOrNotAbsoluteQueuesNothing) {
    // Folders under the current folder (the program's) that a relative target would reach.
    MakeTree(L"", {L"PAS DE CLE\\", L"PAS DE CLE\\Content.IE5\\", L"PAS DE CLE\\Content.IE5\\a.txt",
                   L"PAS DE CLE\\History.IE5\\", L"PAS DE CLE\\History.IE5\\b.txt", L"PAS DE CLE\\Virtualized\\",
                   L"PAS DE CLE\\Virtualized\\c.txt", L"PAS DE CLE\\d.pf"});
    for (ScanKind kind : {ScanKind::Generic, ScanKind::RecycleBin, ScanKind::InternetCache, ScanKind::VirtualizedCache,
                          ScanKind::Cookies, ScanKind::History, ScanKind::Prefetch, ScanKind::MediaPlayerCache}) {
        for (const wchar_t* target : {L"C:\\nulle-part\\", L"", L"PAS DE CLE\\"}) {
            const ScanResult result = RunScan(kind, target, {});
            EXPECT_TRUE(result.entries.empty()) << static_cast<int>(kind) << " " << win::ToUtf8(target);
            EXPECT_FALSE(result.stopped);
        }
    }
    test::RemoveTree(L"PAS DE CLE");
}

}  // namespace
