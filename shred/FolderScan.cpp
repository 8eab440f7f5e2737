#include "shred/FolderScan.h"

#include "shred/ShellFolder.h"
#include "win/Files.h"
#include "win/Handle.h"
#include "win/Paths.h"
#include "win/Strings.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <initializer_list>
#include <iterator>
#include <utility>

namespace {

constexpr wchar_t kFolderMarker[] = L"?1?";
constexpr wchar_t kFileMarker[] = L"?2?";
constexpr int kOsLevelVista = 70;  // OsLevel's code for Windows Vista

bool StopRaised(const ScanContext& context) {
    return context.stop && context.stop->load(std::memory_order_relaxed);
}

void ReportStatus(const ScanContext& context, ScanStatus status) {
    if (context.observer)
        context.observer->status(status);
}

// Lists folders for one walk. Where the system knows them (Windows 7 on), it asks for the basic
// information level, which skips the short 8.3 names, and for large fetches; older systems refuse both
// with ERROR_INVALID_PARAMETER, and the lister then uses the classic call for the rest of its walk.
class FolderLister {
public:
    // Calls visit(data) for each entry of folder (ending with a backslash) that matches pattern, "." and
    // ".." excepted, until visit answers false. False when the folder cannot be listed.
    template <typename Visit>
    bool list(const std::wstring& folder, const wchar_t* pattern, Visit&& visit) {
        WIN32_FIND_DATAW data;
        win::UniqueFind find(open(win::ExtendedPath(folder + pattern), data));
        if (!find)
            return false;
        do {
            if (!win::IsDots(data.cFileName) && !visit(data))
                break;
        } while (::FindNextFileW(find.get(), &data));
        return true;
    }

private:
    HANDLE open(const std::wstring& query, WIN32_FIND_DATAW& data) {
        if (basic_) {
            HANDLE find = ::FindFirstFileExW(query.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH);
            if (find != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_INVALID_PARAMETER)
                return find;
            basic_ = false;
        }
        return ::FindFirstFileW(query.c_str(), &data);
    }

    bool basic_ = true;
};

// The relative path that a key stands for: the key without its markers.
void AppendWithoutMarkers(std::wstring& out, const std::wstring& key) {
    const size_t length = key.size();
    for (size_t i = 0; i < length; ++i) {
        if (key[i] == L'?' && i + 2 < length && key[i + 2] == L'?' && (key[i + 1] == L'1' || key[i + 1] == L'2')) {
            i += 2;
            continue;
        }
        out += key[i];
    }
}

// Adds a scan's harvest to another's; false when the added scan was stopped (the whole is then stopped).
bool Merge(ScanResult& into, ScanResult&& from) {
    if (from.stopped) {
        into = ScanResult();
        into.stopped = true;
        return false;
    }
    if (into.entries.empty())
        into.entries = std::move(from.entries);
    else
        into.entries.insert(into.entries.end(), std::make_move_iterator(from.entries.begin()),
                            std::make_move_iterator(from.entries.end()));
    into.rewriteCounters = into.rewriteCounters || from.rewriteCounters;
    into.notices.insert(into.notices.end(), from.notices.begin(), from.notices.end());
    return true;
}

// ScanFolder of each of base + subfolder, in order, into one harvest.
ScanResult ScanSubfolders(const std::wstring& base,
                          std::initializer_list<const wchar_t*> subfolders,
                          const ScanContext& context) {
    ScanResult result;
    if (!win::IsAbsolutePath(base))
        return result;
    const std::wstring folder = win::WithTrailingBackslash(base);
    for (const wchar_t* subfolder : subfolders) {
        if (!Merge(result, ScanFolder(folder + subfolder, context)))
            break;
    }
    return result;
}

}  // namespace

void AppendScanResult(ShredList& list, ScanResult result) {
    if (!result.entries.empty())
        list.appendScanned(std::move(result.entries));
    else if (result.rewriteCounters)
        list.refreshCounters();
}

std::vector<ScanRecord> CollectTree(const std::wstring& root, const ScanContext& context, bool* stopped) {
    if (stopped)
        *stopped = false;
    std::vector<ScanRecord> records;
    if (root.empty())
        return records;
    const std::wstring base = win::WithTrailingBackslash(root);
    FolderLister lister;
    // Folders still to list, as their path relative to the root and the key prefix of their content, both
    // with a trailing backslash. A stack rather than recursion: the depth of a tree has no limit, a
    // thread's stack has. The order of the walk does not matter, the records are sorted afterwards.
    struct Pending {
        std::wstring relative;
        std::wstring prefix;
    };
    std::vector<Pending> pending(1);
    while (!pending.empty()) {
        if (StopRaised(context)) {
            if (stopped)
                *stopped = true;
            return {};
        }
        const Pending folder = std::move(pending.back());
        pending.pop_back();
        lister.list(base + folder.relative, L"*", [&](const WIN32_FIND_DATAW& data) {
            ScanRecord record;
            record.folder = win::IsFolder(data);
            record.link = win::IsLink(data);
            record.key.reserve(folder.prefix.size() + 3 + wcslen(data.cFileName));
            record.key = folder.prefix;
            record.key += record.folder ? kFolderMarker : kFileMarker;
            record.key += data.cFileName;
            if (record.folder && !record.link)
                pending.push_back({folder.relative + data.cFileName + L'\\', record.key + L'\\'});
            if (!record.folder)
                record.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            records.push_back(std::move(record));
            return true;
        });
    }
    return records;
}

std::vector<ShredEntry> SortedEntries(const std::wstring& root, std::vector<ScanRecord> records) {
    // Each key is folded once, by the system's lower-casing (accented letters included, the same folding
    // as the list's duplicate test), then compared code unit by code unit. The locale's collation would
    // ignore hyphens and put the markers' '?' where it likes; a sort of 100,000 folded keys takes about a
    // tenth of a second.
    struct SortItem {
        std::wstring folded;
        size_t index;
    };
    std::vector<SortItem> items;
    items.reserve(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        std::wstring folded = records[i].key;
        if (!folded.empty())
            ::CharLowerBuffW(folded.data(), static_cast<DWORD>(folded.size()));
        items.push_back({std::move(folded), i});
    }
    std::sort(items.begin(), items.end(), [&records](const SortItem& a, const SortItem& b) {
        const int order = a.folded.compare(b.folded);
        if (order != 0)
            return order < 0;
        return records[a.index].key < records[b.index].key;
    });

    const std::wstring base = win::WithTrailingBackslash(root);
    std::vector<ShredEntry> entries;
    entries.reserve(records.size());
    for (const SortItem& item : items) {
        const ScanRecord& record = records[item.index];
        ShredEntry entry;
        entry.path.reserve(base.size() + record.key.size());
        entry.path = base;
        AppendWithoutMarkers(entry.path, record.key);
        // The kind comes from the listing just made rather than from a second query of every path: the
        // same answer, without a second trip to the disk per entry.
        entry.image = record.folder ? EntryImage::ScannedFolder : EntryImage::ScannedFile;
        entry.listedSize = static_cast<long long>(record.size);
        entries.push_back(std::move(entry));
    }
    return entries;
}

ScanResult ScanFolder(const std::wstring& root, const ScanContext& context) {
    ScanResult result;
    if (!win::IsAbsolutePath(root))
        return result;
    ReportStatus(context, ScanStatus::Scanning);
    std::vector<ScanRecord> records = CollectTree(root, context, &result.stopped);
    if (!result.stopped)
        result.entries = SortedEntries(root, std::move(records));
    ReportStatus(context, ScanStatus::None);
    return result;
}

ScanResult ScanRecycleBin(const std::wstring& root, const ScanContext& context) {
    ScanResult result = ScanFolder(root, context);
    if (result.stopped || !win::IsAbsolutePath(root))
        return result;
    ReportStatus(context, ScanStatus::SortingRecycleBin);
    // Only what this scan found is sorted out: folder entries the user queued before stay queued. A folder
    // is kept only when its path holds both of these account markers, which no recycle bin path does.
    auto isKeptFolder = [](const std::wstring& path) {
        return path.find(L"\\S-1-5-21-") != std::wstring::npos && path.find(L"\\S-1-5-20-") != std::wstring::npos;
    };
    result.entries.erase(std::remove_if(result.entries.begin(), result.entries.end(),
                                        [&](const ShredEntry& entry) {
                                            return entry.image == EntryImage::ScannedFolder &&
                                                   !isKeptFolder(entry.path);
                                        }),
                         result.entries.end());
    result.rewriteCounters = true;
    return result;
}

std::vector<std::wstring> CollectMatching(const std::wstring& folder,
                                          const std::wstring& pattern,
                                          bool recursive,
                                          const ScanContext& context,
                                          bool* stopped) {
    if (stopped)
        *stopped = false;
    std::vector<std::wstring> found;
    if (folder.empty())
        return found;
    const std::wstring base = win::WithTrailingBackslash(folder);
    FolderLister lister;
    // Relative folders still to list; each folder's subfolders go on in reverse so that they come off in
    // listing order, which gives the depth-first order of a recursive walk without its stack depth.
    std::vector<std::wstring> pending(1);
    while (!pending.empty()) {
        if (StopRaised(context)) {
            if (stopped)
                *stopped = true;
            return {};
        }
        const std::wstring relative = std::move(pending.back());
        pending.pop_back();
        lister.list(base + relative, pattern.c_str(), [&](const WIN32_FIND_DATAW& data) {
            found.push_back(relative + data.cFileName + (win::IsFolder(data) ? L"\\" : L""));
            return true;
        });
        if (!recursive)
            break;
        std::vector<std::wstring> subfolders;
        lister.list(base + relative, L"*", [&](const WIN32_FIND_DATAW& data) {
            if (win::IsFolder(data) && !win::IsLink(data))
                subfolders.push_back(relative + data.cFileName + L'\\');
            return true;
        });
        pending.insert(pending.end(), std::make_move_iterator(subfolders.rbegin()),
                       std::make_move_iterator(subfolders.rend()));
    }
    return found;
}

FirefoxCacheLookup FindFirefoxCache(const std::wstring& localAppData) {
    FirefoxCacheLookup lookup;
    if (!win::IsAbsolutePath(localAppData))
        return lookup;
    const std::wstring profiles = win::WithTrailingBackslash(localAppData) + L"Mozilla\\Firefox\\Profiles";
    if (!win::IsFolder(win::ExtendedPath(profiles)))
        return lookup;
    lookup.profilesFound = true;
    // Every entry names a candidate and the last one listed wins; a profile without a Cache folder gives a
    // folder that a scan finds empty.
    FolderLister lister;
    lister.list(profiles + L'\\', L"*", [&](const WIN32_FIND_DATAW& data) {
        if (data.cFileName[0])
            lookup.folder = profiles + L'\\' + data.cFileName + L"\\Cache\\";
        return true;
    });
    return lookup;
}

ScanResult QueueFirefoxFiles(const std::wstring& appData) {
    ScanResult result;
    const std::wstring profiles = win::WithTrailingBackslash(appData) + L"Mozilla\\Firefox\\Profiles";
    if (!win::IsAbsolutePath(appData) || !win::IsFolder(win::ExtendedPath(profiles))) {
        result.notices.push_back(ScanNotice::FirefoxProfilesMissing);
        return result;
    }
    std::wstring profile;
    FolderLister lister;
    lister.list(profiles + L'\\', L"*", [&](const WIN32_FIND_DATAW& data) {
        if (!data.cFileName[0])
            return true;
        profile = profiles + L'\\' + data.cFileName + L'\\';
        return false;
    });
    if (profile.empty() || !win::IsFolder(win::ExtendedPath(profile)))
        return result;
    for (const wchar_t* name : {L"cookies.sqlite", L"downloads.sqlite", L"formhistory.sqlite"}) {
        if (win::IsFile(win::ExtendedPath(profile + name)))
            result.entries.push_back({profile + name, EntryImage::ShellIcon});
    }
    result.rewriteCounters = true;
    return result;
}

ScanResult ScanInternetCache(const std::wstring& cacheFolder, const ScanContext& context) {
    return ScanSubfolders(cacheFolder, {L"Content.IE5\\", L"Low\\Content.IE5\\"}, context);
}

ScanResult ScanVirtualizedCache(const std::wstring& cacheFolder, const ScanContext& context) {
    return ScanSubfolders(cacheFolder, {L"Virtualized\\"}, context);
}

ScanResult ScanCookies(const std::wstring& cookiesFolder, const ScanContext& context) {
    return ScanFolder(cookiesFolder, context);
}

ScanResult ScanHistory(const std::wstring& historyFolder, const ScanContext& context) {
    return ScanSubfolders(historyFolder, {L"History.IE5\\", L"Low\\History.IE5\\"}, context);
}

ScanResult ScanPrefetch(const std::wstring& prefetchFolder, const ScanContext& context) {
    ScanResult result;
    if (!win::IsAbsolutePath(prefetchFolder))
        return result;
    ReportStatus(context, ScanStatus::Scanning);
    const std::wstring base = win::WithTrailingBackslash(prefetchFolder);
    std::vector<std::wstring> found = CollectMatching(base, L"*.pf", true, context, &result.stopped);
    result.entries.reserve(found.size());
    for (const std::wstring& relative : found) {
        // A folder that matches comes with a trailing backslash; list entries name folders without one.
        std::wstring path = base + relative;
        if (path.back() == L'\\')
            path.pop_back();
        result.entries.push_back({std::move(path), EntryImage::Prefetch});
    }
    ReportStatus(context, ScanStatus::None);
    return result;
}

ScanResult ScanFirefox(const std::wstring& localAppData, const std::wstring& appData, const ScanContext& context) {
    ScanResult result;
    const FirefoxCacheLookup cache = FindFirefoxCache(localAppData);
    if (!cache.profilesFound)
        result.notices.push_back(ScanNotice::FirefoxCacheMissing);
    else if (!cache.folder.empty() && !Merge(result, ScanFolder(cache.folder, context)))
        return result;
    Merge(result, QueueFirefoxFiles(appData));
    return result;
}

ScanKind PresetScanKind(Preset preset) {
    switch (preset) {
        case Preset::RecycleBin:
            return ScanKind::RecycleBin;
        case Preset::InternetCache:
            return ScanKind::InternetCache;
        case Preset::VirtualizedCache:
            return ScanKind::VirtualizedCache;
        case Preset::Cookies:
            return ScanKind::Cookies;
        case Preset::FirefoxCache:
            return ScanKind::Firefox;
        case Preset::History:
            return ScanKind::History;
        case Preset::PrefetchLayouts:
            return ScanKind::Prefetch;
        case Preset::MediaPlayerCache:
            return ScanKind::MediaPlayerCache;
        case Preset::Favorites:
        case Preset::RecentFiles:
        case Preset::TemporaryFiles:
        case Preset::CdBurning:
        case Preset::Templates:
        case Preset::MyMusic:
        case Preset::MyPictures:
        case Preset::MyVideos:
        case Preset::MyDocuments:
            break;
    }
    return ScanKind::Generic;
}

std::wstring PresetTarget(Preset preset, int osLevel, const std::wstring& windowsFolder) {
    std::wstring target;
    switch (preset) {
        case Preset::RecycleBin:
            target = osLevel < kOsLevelVista ? L"C:\\RECYCLER\\" : L"C:\\$Recycle.bin\\";
            break;
        case Preset::InternetCache:
        case Preset::VirtualizedCache:
            target = ShellFolderPath(ShellFolder::InternetCache);
            break;
        case Preset::Cookies:
            target = ShellFolderPath(ShellFolder::Cookies);
            break;
        case Preset::Favorites:
            target = ShellFolderPath(ShellFolder::Favorites);
            break;
        case Preset::FirefoxCache: {
            const std::wstring localAppData = ShellFolderPath(ShellFolder::LocalAppData);
            if (FindFirefoxCache(localAppData).profilesFound)
                target = win::WithTrailingBackslash(localAppData) + L"Mozilla\\Firefox\\Profiles\\";
            break;
        }
        case Preset::History:
            target = ShellFolderPath(ShellFolder::History);
            break;
        case Preset::RecentFiles:
            target = ShellFolderPath(ShellFolder::Recent);
            break;
        case Preset::TemporaryFiles:
            if (!windowsFolder.empty())
                target = win::WithTrailingBackslash(windowsFolder) + L"Temp\\";
            break;
        case Preset::CdBurning:
            target = ShellFolderPath(ShellFolder::CdBurning);
            break;
        case Preset::PrefetchLayouts:
            if (!windowsFolder.empty())
                target = win::WithTrailingBackslash(windowsFolder) + L"Prefetch\\";
            break;
        case Preset::MediaPlayerCache: {
            // "Cache d’images" with the typographic apostrophe (0x92 in Windows-1252), as Media Player names it.
            const std::wstring localAppData = ShellFolderPath(ShellFolder::LocalAppData);
            if (!localAppData.empty())
                target = localAppData + L"Microsoft\\Media Player\\Cache d\u2019images\\LocalMLS\\";
            break;
        }
        case Preset::Templates:
            target = ShellFolderPath(ShellFolder::Templates);
            break;
        case Preset::MyMusic:
            target = ShellFolderPath(ShellFolder::MyMusic);
            break;
        case Preset::MyPictures:
            target = ShellFolderPath(ShellFolder::MyPictures);
            break;
        case Preset::MyVideos:
            target = ShellFolderPath(ShellFolder::MyVideo);
            break;
        case Preset::MyDocuments:
            target = ShellFolderPath(ShellFolder::Personal);
            break;
    }
    return win::IsAbsolutePath(target) ? target : std::wstring();
}

ScanResult RunScan(ScanKind kind, const std::wstring& target, const ScanContext& context) {
    switch (kind) {
        case ScanKind::Generic:
        case ScanKind::MediaPlayerCache:
            return ScanFolder(target, context);
        case ScanKind::RecycleBin:
            return ScanRecycleBin(target, context);
        case ScanKind::InternetCache:
            return ScanInternetCache(target, context);
        case ScanKind::VirtualizedCache:
            return ScanVirtualizedCache(target, context);
        case ScanKind::Cookies:
            return ScanCookies(target, context);
        case ScanKind::History:
            return ScanHistory(target, context);
        case ScanKind::Prefetch:
            return ScanPrefetch(target, context);
        case ScanKind::Firefox:
            return ScanFirefox(ShellFolderPath(ShellFolder::LocalAppData), ShellFolderPath(ShellFolder::AppData),
                               context);
    }
    return {};
}
