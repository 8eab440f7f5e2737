#include "cleaner/CleanerRun.h"

#include "cleaner/RegistryTraces.h"
#include "shred/ShellFolder.h"
#include "win/Files.h"
#include "win/Thread.h"

#include <chrono>
#include <condition_variable>
#include <initializer_list>
#include <mutex>
#include <new>

namespace cleaner {

constexpr std::array<CleanerItemInfo, kCleanerItemCount> kCleanerItems = {{
    {CleanerItem::TypedUrls, true, false},
    {CleanerItem::IeCache, false, false},
    {CleanerItem::Cookies, false, true},
    {CleanerItem::IeHistory, false, false},
    {CleanerItem::Clipboard, true, false},
    {CleanerItem::MruTraces, true, false},
    {CleanerItem::DnsCache, true, false},
    {CleanerItem::RecentDocs, false, true},
    {CleanerItem::WindowsTemp, false, true},
    {CleanerItem::UserTemp, false, true},
    {CleanerItem::BurnTemp, false, true},
    {CleanerItem::MediaPlayerCache, false, true},
    {CleanerItem::PrefetchLayouts, false, true},
    {CleanerItem::RecycleBin, true, false},
}};
static_assert(RowsFollowTheItems(kCleanerItems), "one row per item, in the items' order");

}  // namespace cleaner

namespace cleaner {

namespace {

bool IsAbsoluteFolder(const std::wstring& path) {
    return (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') ||
           (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\');
}

// Whether one of the folders that sub names below base (base\a, base\a\b...) is a link. The base is
// the folder the system or the user chose; what the program appends to it must be real folders.
bool ReachedThroughLink(const std::wstring& base, const std::wstring& sub) {
    for (size_t i = 1; i < sub.size(); ++i) {
        if (sub[i] != L'\\')
            continue;
        const DWORD attributes = ::GetFileAttributesW((base + sub.substr(0, i)).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return true;
    }
    return false;
}

// Hands the DNS flush's output lines and exit code to the observer.
class DnsLinesToObserver final : public LineSink {
public:
    explicit DnsLinesToObserver(CleanerObserver& observer) : observer_(observer) {}
    void line(const std::wstring& text) override { observer_.dnsLine(text); }
    void exitCode(DWORD code) override { observer_.dnsExitCode(code); }

private:
    CleanerObserver& observer_;
};

// The work of one item; true when it counts as done.
bool Perform(CleanerItem item,
             const std::vector<std::wstring>& folders,
             const CleanerRunSettings& settings,
             const CleanerChoices& choices,
             CleanerObserver& observer,
             const win::StopToken& stop) {
    // The single folder of the items that have one, when it exists.
    const std::wstring folder = folders.empty() ? std::wstring() : folders.front();
    const bool folderExists = !folder.empty() && win::IsFolder(folder);
    switch (item) {
        case CleanerItem::TypedUrls:
            CleanTypedUrls(settings.journal);
            return true;
        case CleanerItem::IeCache:
            for (const std::wstring& cache : folders) {
                if (win::IsFolder(cache))
                    SweepFiles(cache, L"*.*", stop);
                RemoveSubFolders(cache, stop);
            }
            return true;
        case CleanerItem::Cookies:
            if (folderExists)
                SweepFiles(folder, L"*.txt", stop);
            return folderExists;
        case CleanerItem::IeHistory:
            for (const std::wstring& history : folders) {
                if (win::IsFolder(history))
                    SweepFiles(history, L"*.*", stop);
            }
            return true;
        case CleanerItem::Clipboard:
            EmptyClipboard();
            return true;
        case CleanerItem::MruTraces:
            CleanMruValues(settings.journal);
            return true;
        case CleanerItem::DnsCache: {
            DnsLinesToObserver lines(observer);
            FlushDnsCache(settings.commandInterpreter, lines, stop);
            return true;
        }
        case CleanerItem::WindowsTemp:
        case CleanerItem::UserTemp:
            if (folderExists)
                SweepTempFiles(folder, L"*.*", choices, stop);
            return folderExists;
        case CleanerItem::PrefetchLayouts:
            if (folderExists)
                SweepFiles(folder, L"*.pf", stop);
            return folderExists;
        case CleanerItem::RecentDocs:
        case CleanerItem::BurnTemp:
        case CleanerItem::MediaPlayerCache:
            if (folderExists)
                SweepFiles(folder, L"*.*", stop);
            return folderExists;
        case CleanerItem::RecycleBin:
            EmptyRecycleBin(false);
            return true;
    }
    return false;
}

// What the process knows of its one run: its stop request while it goes on, nothing otherwise. The state is
// never destroyed, so that a worker still winding down while the program ends never meets a destroyed lock.
struct RunState {
    win::StopToken stop;
    std::atomic<bool> reported{false};  // the observer has been told the end
};

// Passes the run's reports on, and notes when the end has been told.
class EndMarking final : public CleanerObserver {
public:
    EndMarking(CleanerObserver& observer, RunState& state) : observer_(observer), state_(state) {}
    void busy(bool on) override { observer_.busy(on); }
    void itemStarted(CleanerItem item) override { observer_.itemStarted(item); }
    void finished() override { observer_.finished(); }
    void itemDone(CleanerItem item) override { observer_.itemDone(item); }
    void dnsLine(const std::wstring& text) override { observer_.dnsLine(text); }
    void dnsExitCode(DWORD code) override { observer_.dnsExitCode(code); }
    void ended(CleanerEnd end) override {
        state_.reported = true;
        observer_.ended(end);
    }

private:
    CleanerObserver& observer_;
    RunState& state_;
};
struct Runs {
    std::mutex mutex;
    std::condition_variable ended;
    std::shared_ptr<RunState> current;  // set while a run goes on
};
Runs& TheRuns() {
    alignas(Runs) static unsigned char storage[sizeof(Runs)];
    static Runs* runs = new (storage) Runs();
    return *runs;
}

}  // namespace

std::vector<std::wstring> CleanerItemFolders(CleanerItem item, const std::wstring& windowsFolder) {
    std::vector<std::wstring> folders;
    auto add = [&](const std::wstring& base, const std::wstring& sub) {
        // An unknown folder (empty, or the lookup's marker for a missing key) followed by a sub-folder name
        // would name a folder under the current one, and a sub-folder that is a link leads out of the folder
        // the user knows: either is left out, as if it did not exist.
        if (IsAbsoluteFolder(base + sub) && !ReachedThroughLink(base, sub))
            folders.push_back(base + sub);
    };
    auto under = [&](ShellFolder shellFolder, std::initializer_list<const wchar_t*> subFolders) {
        const std::wstring base = ShellFolderPath(shellFolder);
        for (const wchar_t* sub : subFolders)
            add(base, sub);
    };
    switch (item) {
        case CleanerItem::IeCache:
            under(InternetCache, {L"Virtualized\\", L"Content.IE5\\", L"Low\\Content.IE5\\"});
            break;
        case CleanerItem::Cookies:
            under(Cookies, {L""});
            break;
        case CleanerItem::IeHistory:
            under(History, {L"History.IE5\\", L"Low\\History.IE5\\"});
            break;
        case CleanerItem::RecentDocs:
            under(Recent, {L""});
            break;
        case CleanerItem::WindowsTemp:
            add(windowsFolder, L"\\Temp\\");
            break;
        case CleanerItem::UserTemp:
            add(UserTempFolder(), L"");
            break;
        case CleanerItem::BurnTemp:
            under(CdBurning, {L""});
            break;
        case CleanerItem::MediaPlayerCache:
            under(LocalAppData, {L"Microsoft\\Media Player\\Cache d\u2019images\\LocalMLS\\"});
            break;
        case CleanerItem::PrefetchLayouts:
            add(windowsFolder, L"\\Prefetch\\");
            break;
        default:
            break;
    }
    return folders;
}

CleanerEnd CleanerRun::runHere(const CleanerRunSettings& settings,
                               const CleanerChoices& choices,
                               CleanerObserver& observer,
                               const win::StopToken& stop) {
    observer.busy(true);
    for (const CleanerItemInfo& info : kCleanerItems) {
        // Asked now, not at the start: a tick changed during the run counts for the items not reached yet.
        if (!choices.ticked(info.item) || (info.stopChecked && stop.stopRequested()))
            continue;
        observer.itemStarted(info.item);
        const std::vector<std::wstring> folders = CleanerItemFolders(info.item, settings.windowsFolder);
        if (Perform(info.item, folders, settings, choices, observer, stop))
            observer.itemDone(info.item);
    }
    const bool stopped = stop.stopRequested();
    if (!stopped)
        observer.finished();
    observer.busy(false);
    const CleanerEnd end = stopped ? CleanerEnd::Stopped : CleanerEnd::Finished;
    observer.ended(end);
    return end;
}

bool CleanerRun::start(const CleanerRunSettings& settings,
                       std::shared_ptr<const CleanerChoices> choices,
                       std::shared_ptr<CleanerObserver> observer) {
    if (!choices || !observer)
        return false;
    Runs& runs = TheRuns();
    auto state = std::make_shared<RunState>();
    {
        std::unique_lock<std::mutex> lock(runs.mutex);
        // A run that has told its end is only letting go of its observer: a new run asked for at once (the
        // user clicked again as the completion showed) waits for that moment rather than being refused.
        runs.ended.wait_for(lock, std::chrono::seconds(5),
                            [&] { return !runs.current || !runs.current->reported.load(); });
        if (runs.current)
            return false;
        runs.current = state;
    }
    auto work = [settings, state, choices = std::move(choices), observer = std::move(observer)]() mutable {
        EndMarking reports(*observer, *state);
        try {
            runHere(settings, *choices, reports, state->stop);
        } catch (...) {
            // Whatever happened, the owner learns that the run is over.
            try {
                if (!state->reported) {
                    reports.busy(false);
                    reports.ended(CleanerEnd::Stopped);
                }
            } catch (...) {
            }
        }
        // The choices and the observer go before the run counts as ended, so that their owner may rely on
        // no call coming once isRunning() is false.
        choices.reset();
        observer.reset();
        Runs& runs = TheRuns();
        {
            std::lock_guard<std::mutex> lock(runs.mutex);
            runs.current.reset();
        }
        runs.ended.notify_all();
    };
    bool started = false;
    try {
        started = win::StartDetached(std::move(work));
    } catch (...) {
    }
    if (!started) {
        std::lock_guard<std::mutex> lock(runs.mutex);
        runs.current.reset();
        return false;
    }
    return true;
}

bool CleanerRun::isRunning() {
    Runs& runs = TheRuns();
    std::lock_guard<std::mutex> lock(runs.mutex);
    return runs.current != nullptr;
}

void CleanerRun::requestStop() {
    Runs& runs = TheRuns();
    std::lock_guard<std::mutex> lock(runs.mutex);
    if (runs.current)
        runs.current->stop.stop();
}

bool CleanerRun::stopRequested() {
    Runs& runs = TheRuns();
    std::lock_guard<std::mutex> lock(runs.mutex);
    return runs.current && runs.current->stop.stopRequested();
}

bool CleanerRun::waitForEnd(DWORD timeoutMs) {
    Runs& runs = TheRuns();
    std::unique_lock<std::mutex> lock(runs.mutex);
    return runs.ended.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !runs.current; });
}

}  // namespace cleaner
