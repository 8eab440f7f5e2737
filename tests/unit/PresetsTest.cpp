#include "shred/Presets.h"

#include "shred/FolderScan.h"
#include "shred/ShellFolder.h"
#include "tests/unit/ScanSupport.h"
#include "win/Files.h"

#include <gtest/gtest.h>

namespace {

using test::Entry;
using test::Listed;
using test::MakeTree;
using test::StatusRecorder;

constexpr EntryImage kFolder = EntryImage::ScannedFolder;
constexpr EntryImage kFile = EntryImage::ScannedFile;
constexpr wchar_t kProfiles[] = L"Mozilla\\Firefox\\Profiles\\";

// Names in the order the system lists them, which is what "first" and "last" profile mean.
std::vector<std::wstring> ListingOrder(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    win::UniqueFind find(::FindFirstFileW((folder + L"*").c_str(), &data));
    for (bool more = bool(find); more; more = ::FindNextFileW(find.get(), &data)) {
        if (std::wstring(data.cFileName) != L"." && std::wstring(data.cFileName) != L"..")
            names.push_back(data.cFileName);
    }
    return names;
}

TEST(Presets, TheRecycleBinQueuesTheDeletedFilesAndKeepsEveryFolder) {
    test::TempFolder bin(L"recycle");
    const std::wstring user = L"S-1-5-21-1004336348-1177238915-682003330-1000\\";
    MakeTree(bin.path(), {user, user + L"$RAB12CD.txt", user + L"$IAB12CD.txt"});
    StatusRecorder status;
    EXPECT_EQ(Listed(ScanRecycleBin(bin.path(), {win::StopToken::Never(), &status}).entries, bin.path() + user),
              (std::vector<Entry>{{L"$IAB12CD.txt", kFile}, {L"$RAB12CD.txt", kFile}}));
    EXPECT_EQ(status.statuses,
              (std::vector<ScanStatus>{ScanStatus::Scanning, ScanStatus::None, ScanStatus::SortingRecycleBin}));

    // The files of a deleted folder go, the folder stays; a folder entry the user queued before stays.
    MakeTree(bin.path(), {user + L"$R77\\", user + L"$R77\\note.txt"});
    test::TempFolder mine(L"recycle-mine");
    ShredList list;
    list.addFolderEntry(mine.path());
    AppendScanResult(list, ScanRecycleBin(bin.path(), {}));
    ASSERT_EQ(list.count(), 4u);
    EXPECT_EQ(list.entryText(0) + L"\\", mine.path());
    EXPECT_EQ(list.entryText(1), bin.path() + user + L"$R77\\note.txt");

    // Nothing left to queue: the counters are written all the same, with the adding prefix.
    test::TempFolder empty(L"recycle-empty");
    MakeTree(empty.path(), {user});
    list.clear();
    AppendScanResult(list, ScanRecycleBin(empty.path(), {}));
    EXPECT_EQ(list.numbers().counted, ShredListNumbers::Counted::AfterAdding);
    EXPECT_EQ(list.numbers().count, 0u);
}

TEST(Presets, FirefoxScansTheLastLocalCacheAndTheFirstRoamingProfile) {
    test::TempFolder local(L"ff-local"), roaming(L"ff-roaming"), none(L"ff-none");
    for (const test::TempFolder* base : {&local, &roaming})
        MakeTree(base->path(), {L"Mozilla\\", L"Mozilla\\Firefox\\", kProfiles});
    const std::wstring localProfiles = local / kProfiles, roamingProfiles = roaming / kProfiles;
    for (const std::wstring profile : {L"k3x9.default\\", L"p0q7.travail\\"})
        MakeTree(localProfiles, {profile, profile + L"Cache\\", profile + L"Cache\\0\\", profile + L"Cache\\0\\A1"});
    MakeTree(roamingProfiles, {L"r1\\", L"r1\\cookies.sqlite", L"r1\\formhistory.sqlite", L"r1\\places.sqlite", L"r2\\",
                               L"r2\\cookies.sqlite", L"r2\\downloads.sqlite", L"r2\\formhistory.sqlite"});
    const std::wstring cache = localProfiles + ListingOrder(localProfiles).back() + L"\\Cache\\";
    const std::wstring profile = roamingProfiles + ListingOrder(roamingProfiles).front() + L"\\";
    EXPECT_EQ(FindFirefoxCache(local.path()).folder, cache);

    const ScanResult result = ScanFirefox(local.path(), roaming.path(), {});
    std::vector<Entry> expected = {{cache + L"0", kFolder}, {cache + L"0\\A1", kFile}};
    for (const wchar_t* name : {L"cookies.sqlite", L"downloads.sqlite", L"formhistory.sqlite"}) {
        if (win::IsFile(profile + name))
            expected.push_back({profile + name, EntryImage::ShellIcon});
    }
    EXPECT_EQ(Listed(result.entries, L""), expected);
    EXPECT_TRUE(result.notices.empty());

    // Each missing profiles folder is told once, and nothing is queued.
    const ScanResult missing = ScanFirefox(none.path(), none.path(), {});
    EXPECT_TRUE(missing.entries.empty());
    EXPECT_EQ(missing.notices,
              (std::vector<ScanNotice>{ScanNotice::FirefoxCacheMissing, ScanNotice::FirefoxProfilesMissing}));
}

TEST(Presets, CachesAndHistoryQueueBothOfTheirFoldersInTurn) {
    for (const std::wstring folder : {L"Content.IE5\\", L"History.IE5\\"}) {
        test::TempFolder root(L"two-folders");
        MakeTree(root.path(), {folder, folder + L"ABCD1234\\", folder + L"index.dat", L"Low\\", L"Low\\" + folder,
                               L"Low\\" + folder + L"page.htm", L"stray.txt"});
        const ScanKind kind = folder == L"History.IE5\\" ? ScanKind::History : ScanKind::InternetCache;
        EXPECT_EQ(Listed(RunScan(kind, root.path(), {}).entries, root.path()),
                  (std::vector<Entry>{{folder + L"ABCD1234", kFolder},
                                      {folder + L"index.dat", kFile},
                                      {L"Low\\" + folder + L"page.htm", kFile}}));
    }
}

TEST(Presets, PrefetchQueuesTheLayoutsWithItsOwnImage) {
    test::TempFolder prefetch(L"Prefetch");
    MakeTree(prefetch.path(), {L"NOTEPAD.EXE-D8414F97.pf", L"Layout.ini", L"sub\\", L"sub\\DEEP.EXE-01.pf"});
    EXPECT_EQ(Listed(RunScan(ScanKind::Prefetch, prefetch.path(), {}).entries, prefetch.path()),
              (std::vector<Entry>{{L"NOTEPAD.EXE-D8414F97.pf", EntryImage::Prefetch},
                                  {L"sub\\DEEP.EXE-01.pf", EntryImage::Prefetch}}));
}

TEST(Presets, TargetsFollowTheShellFoldersAndTheSystem) {
    const std::pair<Preset, const wchar_t*> cases[] = {
        {Preset::InternetCache, L"Cache"},    {Preset::VirtualizedCache, L"Cache"}, {Preset::Cookies, L"Cookies"},
        {Preset::Favorites, L"Favorites"},    {Preset::History, L"History"},        {Preset::RecentFiles, L"Recent"},
        {Preset::CdBurning, L"CD Burning"},   {Preset::Templates, L"Templates"},    {Preset::MyMusic, L"My Music"},
        {Preset::MyPictures, L"My Pictures"}, {Preset::MyVideos, L"My Video"},      {Preset::MyDocuments, L"Personal"},
    };
    for (const auto& [preset, name] : cases) {
        test::RegistryValueOverride value(HKEY_CURRENT_USER, kShellFoldersKey, name, std::wstring(L"C:\\sf\\") + name);
        EXPECT_EQ(PresetTarget(preset, 80, L"C:\\windows"), std::wstring(L"C:\\sf\\") + name + L"\\") << name;
    }
    test::RegistryValueOverride relative(HKEY_CURRENT_USER, kShellFoldersKey, L"Personal", L"PAS DE CLE");
    EXPECT_EQ(PresetTarget(Preset::MyDocuments, 80, L"C:\\windows"), L"");
    test::RegistryValueOverride local(HKEY_CURRENT_USER, kShellFoldersKey, L"Local AppData", L"C:\\loc");
    EXPECT_EQ(PresetTarget(Preset::MediaPlayerCache, 80, L"C:\\windows"),
              L"C:\\loc\\Microsoft\\Media Player\\Cache d\u2019images\\LocalMLS\\");
    EXPECT_EQ(PresetTarget(Preset::RecycleBin, 60, L"C:\\windows"), L"C:\\RECYCLER\\");
    EXPECT_EQ(PresetTarget(Preset::RecycleBin, 80, L"C:\\windows"), L"C:\\$Recycle.bin\\");
    EXPECT_EQ(PresetTarget(Preset::TemporaryFiles, 80, L"C:\\windows"), L"C:\\windows\\Temp\\");
}

TEST(Presets, MyDocumentsQueuesTheDocumentsContentAndDeletesNothing) {
    const std::wstring documents = PresetTarget(Preset::MyDocuments, 80, L"C:\\windows");
    ASSERT_TRUE(win::IsFolder(documents)) << "the sandbox's own documents folder";
    MakeTree(documents, {L"lettre.txt", L"Projets\\", L"Projets\\plan.txt"});
    ShredList list;
    AppendScanResult(list, RunScan(PresetScanKind(Preset::MyDocuments), documents, {}));
    ASSERT_EQ(list.count(), 3u);
    EXPECT_EQ(list.entryText(0), documents + L"Projets");
    EXPECT_EQ(list.entryText(2), documents + L"lettre.txt");
    EXPECT_EQ(test::ReadFile(documents + L"Projets\\plan.txt"), "x");
    test::RemoveTree(documents + L"Projets");
    ::DeleteFileW((documents + L"lettre.txt").c_str());
}

TEST(Presets, ATargetThatIsMissingOrNotAbsoluteQueuesNothing) {
    // What a relative target would reach under the current folder, the program's own.
    MakeTree(L"", {L"PAS DE CLE\\", L"PAS DE CLE\\Content.IE5\\", L"PAS DE CLE\\Content.IE5\\a.txt",
                   L"PAS DE CLE\\History.IE5\\", L"PAS DE CLE\\Virtualized\\", L"PAS DE CLE\\d.pf"});
    for (ScanKind kind : {ScanKind::Generic, ScanKind::RecycleBin, ScanKind::InternetCache, ScanKind::VirtualizedCache,
                          ScanKind::Cookies, ScanKind::History, ScanKind::Prefetch, ScanKind::MediaPlayerCache}) {
        for (const wchar_t* target : {L"C:\\nulle-part\\", L"", L"PAS DE CLE\\"})
            EXPECT_TRUE(RunScan(kind, target, {}).entries.empty()) << int(kind) << " " << win::ToUtf8(target);
    }
    test::RemoveTree(L"PAS DE CLE");
}

}  // namespace
