#include "shred/FolderScan.h"

#include "shred/EntryWalk.h"

#include "shred/ShellFolder.h"
#include "win/Files.h"
#include "win/FolderWalk.h"
#include "win/Paths.h"
#include "win/Strings.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <initializer_list>
#include <iterator>
#include <utility>

namespace {

bool StopRaised(const ScanContext& context) {
    return context.stop.stopRequested();
}

void ReportStatus(const ScanContext& context, ScanStatus status) {
    if (context.observer)
        context.observer->status(status);
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
    if (root.empty())
        return {};
    // The order of the walk does not matter: the records are sorted afterwards.
    class Collector : public win::FolderVisitor {
    public:
        explicit Collector(size_t rootLength) : rootLength_(rootLength) {}
        // The folder's path below the root, with its trailing backslash: what its entries' paths start with.
        void enter(const std::wstring& folder, size_t) override { prefix_.assign(folder, rootLength_); }
        bool visit(const win::FolderEntry& entry) override {
            ScanRecord record;
            record.folder = entry.isFolder();
            record.link = entry.isLink();
            record.path.reserve(prefix_.size() + wcslen(entry.name()));
            record.path = prefix_;
            record.path += entry.name();
            record.nameStart = prefix_.size();
            if (!record.folder)
                record.size = entry.size();
            records.push_back(std::move(record));
            return true;
        }

        std::vector<ScanRecord> records;

    private:
        size_t rootLength_;
        std::wstring prefix_;
    };
    const std::wstring base = win::ExtendedPath(win::WithTrailingBackslash(root));
    Collector collector(base.size());
    if (win::WalkFolders(base, L"*", collector, context.stop) == win::WalkEnd::Stopped) {
        if (stopped)
            *stopped = true;
        return {};
    }
    return std::move(collector.records);
}

std::vector<ShredEntry> SortedEntries(const std::wstring& root, std::vector<ScanRecord> records) {
    // Each path is folded once, by the system's lower-casing (accented letters included, the same folding
    // as the list's duplicate test), then compared code unit by code unit. The locale's collation would
    // ignore hyphens; a sort of 100,000 folded paths takes about a tenth of a second. The kind of each
    // component is read from the record's structure, never from the names, which may hold any character.
    struct SortItem {
        std::wstring folded;
        size_t index;
    };
    std::vector<SortItem> items;
    items.reserve(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        std::wstring folded = records[i].path;
        if (!folded.empty())
            ::CharLowerBuffW(folded.data(), static_cast<DWORD>(folded.size()));
        items.push_back({std::move(folded), i});
    }
    std::sort(items.begin(), items.end(), [&records](const SortItem& a, const SortItem& b) {
        const ScanRecord& recordA = records[a.index];
        const ScanRecord& recordB = records[b.index];
        const std::wstring& pathA = a.folded;
        const std::wstring& pathB = b.folded;
        const size_t common = std::min(pathA.size(), pathB.size());
        size_t at = 0;
        while (at < common && pathA[at] == pathB[at])
            ++at;
        // Every component before the one that holds the first difference ends with a backslash in both
        // paths: a folder of both. In that component a folder comes before a file.
        const size_t component = at == 0 ? 0 : pathA.rfind(L'\\', at - 1) + 1;
        const bool fileA = !recordA.folder && component == recordA.nameStart;
        const bool fileB = !recordB.folder && component == recordB.nameStart;
        if (fileA != fileB)
            return fileB;
        if (at < common)
            return pathA[at] < pathB[at];
        if (pathA.size() != pathB.size())
            return pathA.size() < pathB.size();  // a folder before what lies under it
        return recordA.path < recordB.path;
    });

    const std::wstring base = win::WithTrailingBackslash(root);
    std::vector<ShredEntry> entries;
    entries.reserve(records.size());
    for (const SortItem& item : items) {
        const ScanRecord& record = records[item.index];
        ShredEntry entry;
        entry.path.reserve(base.size() + record.path.size());
        entry.path = base;
        entry.path += record.path;
        // The kind comes from the listing just made rather than from a second query of every path: the
        // same answer, without a second trip to the disk per entry.
        entry.image = record.folder ? EntryImage::ScannedFolder : EntryImage::ScannedFile;
        entry.listedSize = static_cast<long long>(record.size);
        entry.kind = !record.folder ? EntryKind::File : record.link ? EntryKind::FolderLink : EntryKind::Folder;
        entries.push_back(std::move(entry));
    }
    return entries;
}

ScanResult ScanFolder(const std::wstring& folder, const ScanContext& context) {
    ScanResult result;
    if (!win::IsAbsolutePath(folder))
        return result;
    // What the scan queues lies under the place the folder's path leads to now, with no link on the way.
    const std::wstring root = ResolveScanRoot(folder);
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
    if (folder.empty())
        return {};
    // Each folder's matches are listed as the walk enters it, so they come before those of its subfolders.
    class Matcher : public win::FolderVisitor {
    public:
        Matcher(size_t rootLength, const std::wstring& pattern) : rootLength_(rootLength), pattern_(pattern) {}
        void enter(const std::wstring& folder, size_t) override {
            const std::wstring relative = folder.substr(rootLength_);
            lister_.list(folder, pattern_.c_str(), [&](const WIN32_FIND_DATAW& data) {
                found.push_back(relative + data.cFileName + (win::IsFolder(data) ? L"\\" : L""));
                return true;
            });
        }
        bool visit(const win::FolderEntry&) override { return true; }

        std::vector<std::wstring> found;

    private:
        size_t rootLength_;
        const std::wstring& pattern_;
        win::FolderLister lister_;
    };
    const std::wstring base = win::ExtendedPath(win::WithTrailingBackslash(folder));
    Matcher matcher(base.size(), pattern);
    bool ended = false;
    if (recursive) {
        ended = win::WalkFolders(base, L"*", matcher, context.stop) == win::WalkEnd::Stopped;
    } else {
        ended = StopRaised(context);
        if (!ended)
            matcher.enter(base, 0);
    }
    if (ended) {
        if (stopped)
            *stopped = true;
        return {};
    }
    return std::move(matcher.found);
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
    win::FolderLister lister;
    lister.list(win::ExtendedPath(profiles + L'\\'), L"*", [&](const WIN32_FIND_DATAW& data) {
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
    win::FolderLister lister;
    lister.list(win::ExtendedPath(profiles + L'\\'), L"*", [&](const WIN32_FIND_DATAW& data) {
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
