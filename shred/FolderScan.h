#pragma once

// Folder scans: the routines that turn a folder, or one of the well-known folders of the presets menu,
// into entries of the shred list. They never touch a window: each takes its folders as arguments,
// collects and sorts everything in memory and returns one batch, which the caller appends with a single
// ShredList::appendScanned call (AppendScanResult) before it recomputes the total size. The window runs
// them on a worker thread; every piece of state lives in the call, so any number of scans may run at once.

#include "shred/ShredList.h"
#include "win/StopToken.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Told what a scan is doing, on the scan's own thread.
class ScanObserver {
public:
    virtual ~ScanObserver() = default;
    // What the scan is doing now; ScanStatus::None when it is done with its work.
    virtual void status(ScanStatus status) = 0;
};

// Keeps a scan's status in a shred list, whose window shows it on the status line.
class ListStatusLine : public ScanObserver {
public:
    explicit ListStatusLine(ShredList& list) : list_(list) {}
    void status(ScanStatus status) override { list_.setScanStatus(status); }

private:
    ShredList& list_;
};

// Given to every scan routine besides its folders. The stop request is read between folders: once made,
// the routine returns at once with `stopped` set and no entries (the window makes it when the program
// ends). By default nobody stops the scan; the observer may be null.
struct ScanContext {
    const win::StopToken& stop = win::StopToken::Never();
    ScanObserver* observer = nullptr;
};

// Something a scan wants the user told; the window words it.
enum class ScanNotice {
    FirefoxCacheMissing,     // "Le répertoire local de Firefox n'a pas été trouvé!"
    FirefoxProfilesMissing,  // "Le répertoire de Firefox n'a pas été trouvé!"
};

// One scan's harvest, in the order the list must hold it.
struct ScanResult {
    std::vector<ShredEntry> entries;
    // The count and the header are written again even when no entry is appended (the recycle bin and the
    // Firefox databases do so after their work).
    bool rewriteCounters = false;
    bool stopped = false;
    std::vector<ScanNotice> notices;
};

// Appends the harvest to the list in one batch, taking its entries over. The caller then runs
// list.computeTotalSize().
void AppendScanResult(ShredList& list, ScanResult result);

// One file system entry found under a scan's root, by its path relative to the root (the file b.txt in
// A\B is A\B\b.txt) exactly as the listing gave its names, whatever characters they hold.
struct ScanRecord {
    std::wstring path;
    std::size_t nameStart = 0;  // where the entry's own name starts in path (after the last backslash)
    bool folder = false;
    bool link = false;       // a reparse point (junction, symbolic link, mount point)
    std::uint64_t size = 0;  // bytes of a file as listed; 0 for a folder
};

// Every entry under root (not root itself), hidden and system ones included, in no particular order.
// Folders that cannot be listed end their branch quietly; there is no depth limit. A reparse point is
// recorded like any entry but never walked into, so nothing outside the root is collected. The root
// itself is listed even when it is a link: it is the folder the caller named.
std::vector<ScanRecord> CollectTree(const std::wstring& root, const ScanContext& context, bool* stopped = nullptr);

// Sorts the records and turns them into list entries: root + the relative path, with the folder image or
// the file image. The order ignores case: every folder comes before everything under it, and in each folder
// its subfolders come before its files. Names of the same kind compare code unit by code unit, a folder's
// name followed by its backslash, so the folder "a b" and its content come between the folder "a" and the
// content of "a" (the space sorts before the backslash). Ties (names that differ only in case, which only a
// case-sensitive volume can hold) keep a fixed order.
std::vector<ShredEntry> SortedEntries(const std::wstring& root, std::vector<ScanRecord> records);

// The whole content of root, every folder before its content, root itself excluded. Reports
// ScanStatus::Scanning while it works and ScanStatus::None at the end. A root that is empty or not an
// absolute path (which would name something under the current folder) gives nothing.
ScanResult ScanFolder(const std::wstring& root, const ScanContext& context);

// ScanFolder of the recycle bin, then without its folder entries: only the deleted files are queued, and
// the per-user folders and the deleted folders stay in place. Reports ScanStatus::SortingRecycleBin while
// it sorts them out, and leaves it so; the entries are counted again even when nothing is left.
ScanResult ScanRecycleBin(const std::wstring& root, const ScanContext& context);

// The entries of folder that match pattern, as paths relative to folder (a matching folder with a
// trailing backslash), in listing order; with recursive, the same in every subfolder, depth first, each
// subfolder's matches after those of its parent. Reparse points are never walked into.
std::vector<std::wstring> CollectMatching(const std::wstring& folder,
                                          const std::wstring& pattern,
                                          bool recursive,
                                          const ScanContext& context,
                                          bool* stopped = nullptr);

// Where Firefox keeps its cache, under the local application-data folder (ShellFolder LocalAppData).
struct FirefoxCacheLookup {
    bool profilesFound = false;  // localAppData\Mozilla\Firefox\Profiles is a folder
    std::wstring folder;         // the cache folder of the last profile listed (with a trailing backslash), or empty
};
FirefoxCacheLookup FindFirefoxCache(const std::wstring& localAppData);

// The profile databases "cookies.sqlite", "downloads.sqlite", "formhistory.sqlite" that exist in the first
// profile listed under appData\Mozilla\Firefox\Profiles (appData: ShellFolder AppData), with their shell icons.
// FirefoxProfilesMissing when that folder does not exist; otherwise the counters are written again.
ScanResult QueueFirefoxFiles(const std::wstring& appData);

// The scan workers, one per kind, each given the folder that PresetTarget gave for its preset.
ScanResult ScanInternetCache(const std::wstring& cacheFolder, const ScanContext& context);  // Content.IE5, Low
ScanResult ScanVirtualizedCache(const std::wstring& cacheFolder, const ScanContext& context);
ScanResult ScanCookies(const std::wstring& cookiesFolder, const ScanContext& context);
ScanResult ScanHistory(const std::wstring& historyFolder, const ScanContext& context);  // History.IE5, Low
// The "*.pf" layouts anywhere under the Prefetch folder, with the Prefetch image, in listing order.
ScanResult ScanPrefetch(const std::wstring& prefetchFolder, const ScanContext& context);
// The cache of the last local profile, then the databases of the first roaming profile.
ScanResult ScanFirefox(const std::wstring& localAppData, const std::wstring& appData, const ScanContext& context);

enum class ScanKind {
    Generic,  // ScanFolder of the target: user folders, generic presets, the start-up scan of TempFolder
    RecycleBin,
    InternetCache,
    VirtualizedCache,
    Cookies,
    History,
    Prefetch,
    MediaPlayerCache,
    Firefox,
};

// The worker of a kind over its target. Firefox ignores the target and looks up the application-data
// folders (ShellFolder LocalAppData and AppData) itself, as it did for the target.
ScanResult RunScan(ScanKind kind, const std::wstring& target, const ScanContext& context);
