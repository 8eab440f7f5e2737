#pragma once

// The cleaner run: a worker thread that walks the fourteen cleaner items in a fixed order and, for each one
// ticked at the moment it gets there, says it starts it, does its work (RegistryTraces.h,
// FileTraces.h) and marks it done. It never touches a window: it asks its CleanerChoices what to do and
// tells its CleanerObserver what happens, both on the worker thread.

#include "cleaner/FileTraces.h"
#include "journal/JournalFile.h"

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace cleaner {

// The items of the "Général" tab, in run order.
enum class CleanerItem {
    TypedUrls,
    IeCache,
    Cookies,
    IeHistory,
    Clipboard,
    MruTraces,
    DnsCache,
    RecentDocs,
    WindowsTemp,
    UserTemp,
    BurnTemp,
    MediaPlayerCache,
    PrefetchLayouts,
    RecycleBin,
};
inline constexpr int kCleanerItemCount = 14;
static_assert(static_cast<int>(CleanerItem::RecycleBin) + 1 == kCleanerItemCount, "one count for the items");

// True when every row of an item table stands at its item's number, none missing: a table indexed by the
// item checks itself with it at compile time.
template <typename Table>
constexpr bool RowsFollowTheItems(const Table& table) {
    if (table.size() != static_cast<size_t>(kCleanerItemCount))
        return false;
    for (size_t i = 0; i < table.size(); ++i) {
        if (static_cast<size_t>(table[i].item) != i)
            return false;
    }
    return true;
}

// How the run treats an item (the dialog's layout holds its caption and status text).
struct CleanerItemInfo {
    CleanerItem item;
    bool stopChecked;       // passed over once a stop has been requested
    bool doneOnlyIfFolder;  // marked done only when its folder existed
};
// Indexed by the item's number.
extern const std::array<CleanerItemInfo, kCleanerItemCount> kCleanerItems;
inline const CleanerItemInfo& InfoOf(CleanerItem item) {
    return kCleanerItems[static_cast<int>(item)];
}

// What the run asks, on the worker thread, at the moment it needs to know: whether an item is ticked when
// the run reaches it, and the age rule (AgeRuleSource) each time a temporary-files sweep enters a folder.
// The dialog answers from values it publishes as the user changes them.
class CleanerChoices : public AgeRuleSource {
public:
    virtual bool ticked(CleanerItem item) const = 0;
};

enum class CleanerEnd { Finished, Stopped };

// What the run tells, on the worker thread, in this order: busy(true); for each item it works on,
// itemStarted(item) then, when the item counts as done, itemDone(item); output lines of the DNS flush as
// they come, then its exit code; at the end finished() unless stopped, busy(false) and ended(...) last.
// After ended() the run makes no further call. An observer whose window has gone must simply do nothing.
class CleanerObserver {
public:
    virtual ~CleanerObserver() = default;
    virtual void busy(bool on) = 0;
    virtual void itemStarted(CleanerItem item) = 0;
    virtual void itemDone(CleanerItem item) = 0;
    // Every ticked item has been worked on (not told when the run was stopped).
    virtual void finished() = 0;
    virtual void dnsLine(const std::wstring& /*text*/) {}
    virtual void dnsExitCode(DWORD /*code*/) {}
    virtual void ended(CleanerEnd end) = 0;
};

// What the run needs from the program's environment.
struct CleanerRunSettings {
    std::wstring windowsFolder;       // WindowsFolderPath(): without a trailing backslash
    std::wstring commandInterpreter;  // CommandInterpreterPath()
    JournalFile journal{std::wstring()};
};

// The folders an item works on, looked up now: shell folders (ShellFolderPath), the Windows folder, the
// long form of the user's temporary folder. Empty for the items that work on no folder.
std::vector<std::wstring> CleanerItemFolders(CleanerItem item, const std::wstring& windowsFolder);

// The one cleaner run of the process. The worker holds its choices and observer until it ends, so their
// owner may go away during a run; a stop request makes the run wind down at once: the stop-checked items
// are passed over, sweeps end before their next entry, a DNS command is ended.
class CleanerRun {
public:
    // Starts a run on a worker thread; false (and nothing started) while a run is still going on. A run
    // that has already reported its end is waited for (not to be called from the observer's calls).
    static bool start(const CleanerRunSettings& settings,
                      std::shared_ptr<const CleanerChoices> choices,
                      std::shared_ptr<CleanerObserver> observer);
    // True from start until the worker has made its last call and let go of its choices and observer.
    static bool isRunning();
    // Asks the run under way, if any, to stop. The request belongs to that run: the next run starts afresh.
    static void requestStop();
    // A stop has been asked of the run under way (false once it has ended).
    static bool stopRequested();
    // Waits at most timeoutMs for the run under way to end; true when none is running. For the program's
    // exit, after requestStop().
    static bool waitForEnd(DWORD timeoutMs);
    // The whole run on the calling thread, for tests and benchmarks; `stop` plays the stop request.
    static CleanerEnd runHere(const CleanerRunSettings& settings,
                              const CleanerChoices& choices,
                              CleanerObserver& observer,
                              const win::StopToken& stop);
};

}  // namespace cleaner
