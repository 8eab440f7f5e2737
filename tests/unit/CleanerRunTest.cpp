#include "cleaner/CleanerRun.h"

#include "app/Environment.h"
#include "cleaner/Registry.h"
#include "cleaner/RegistryTraces.h"
#include "shred/ShellFolder.h"
#include "tests/unit/CleanerSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

using cleaner::AgeRule;
using cleaner::CleanerItem;
using cleaner::CleanerRun;
using Events = std::vector<std::wstring>;

std::wstring Started(CleanerItem item) {
    return L"start:" + std::to_wstring(static_cast<int>(item));
}
std::wstring Done(CleanerItem item) {
    return L"done:" + std::to_wstring(static_cast<int>(item));
}

// Keeps what the run tells, in order, and lets the test wait for its end.
class Recorder : public cleaner::CleanerObserver {
public:
    std::function<void(CleanerItem)> onStart;  // called on the worker as each item starts

    void busy(bool on) override { add(on ? L"busy on" : L"busy off"); }
    void itemStarted(CleanerItem item) override {
        add(Started(item));
        if (onStart)
            onStart(item);
    }
    void itemDone(CleanerItem item) override { add(Done(item)); }
    void finished() override { add(L"all worked on"); }
    void dnsLine(const std::wstring& text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        dns_.push_back(text);
    }
    void dnsExitCode(DWORD code) override {
        std::lock_guard<std::mutex> lock(mutex_);
        dns_.push_back(L"exit code " + std::to_wstring(code));
    }
    void ended(cleaner::CleanerEnd end) override {
        add(end == cleaner::CleanerEnd::Finished ? L"finished" : L"stopped");
        std::lock_guard<std::mutex> lock(mutex_);
        over_ = true;
        changed_.notify_all();
    }

    // Waits until the end is told (a minute at most, for a loaded machine).
    void waitForEnded() {
        std::unique_lock<std::mutex> lock(mutex_);
        EXPECT_TRUE(changed_.wait_for(lock, std::chrono::minutes(1), [&] { return over_; }));
    }
    // The events, once the run has told its end and its worker has ended.
    Events events() {
        waitForEnded();
        EXPECT_TRUE(CleanerRun::waitForEnd(60000));
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }
    std::vector<std::wstring> dns() {
        std::lock_guard<std::mutex> lock(mutex_);
        return dns_;
    }

private:
    void add(const std::wstring& event) {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(event);
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    Events events_;
    std::vector<std::wstring> dns_;
    bool over_ = false;
};

// The ticks and the age option, as the dialog publishes them: they may change while the run goes on.
class Ticks : public cleaner::CleanerChoices {
public:
    Ticks(std::initializer_list<CleanerItem> items) {
        for (CleanerItem item : items)
            set(item, true);
    }
    void set(CleanerItem item, bool on) { ticks_[static_cast<int>(item)] = on; }
    bool ticked(CleanerItem item) const override { return ticks_[static_cast<int>(item)]; }
    AgeRule ageRule() const override {
        if (onAgeRule)
            onAgeRule();
        return AgeRule::All;
    }
    std::function<void()> onAgeRule;

private:
    std::array<std::atomic<bool>, cleaner::kCleanerItemCount> ticks_{};
};

struct Cleaning {
    test::TempFolder config{L"run-journal"};
    cleaner::CleanerRunSettings settings{WindowsFolderPath(), CommandInterpreterPath(), JournalFile(config.path())};
    std::shared_ptr<Ticks> ticks;
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    explicit Cleaning(std::initializer_list<CleanerItem> items) : ticks(std::make_shared<Ticks>(items)) {}
    bool start() { return CleanerRun::start(settings, ticks, recorder); }
};

TEST(CleanerRun, CookiesWithoutTheirFolderShowTheStatusAndAreNotDone) {
    test::RegistryValueOverride cookies(HKEY_CURRENT_USER, kShellFoldersKey, L"Cookies", L"C:\\no-cookies-here");
    Cleaning run({CleanerItem::Cookies});
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.recorder->events(),
              (Events{L"busy on", Started(CleanerItem::Cookies), L"all worked on", L"busy off", L"finished"}));
    EXPECT_FALSE(CleanerRun::isRunning());
    EXPECT_EQ(run.recorder.use_count(), 1) << "the worker has let go of its observer";
    EXPECT_EQ(run.ticks.use_count(), 1);

    // A run asked for as soon as the previous one has told its end starts.
    Cleaning again({CleanerItem::Cookies});
    ASSERT_TRUE(again.start());
    again.recorder->waitForEnded();
    Cleaning third({CleanerItem::Cookies});
    EXPECT_TRUE(third.start());
    EXPECT_EQ(third.recorder->events().back(), L"finished");
}

TEST(CleanerRun, ItemsWorkOnTheirOwnFolders) {
    // The cache: only Content.IE5 of its three sub-folders exists, the item counts as done all the same.
    test::TempFolder cache(L"run-cache");
    test::MakeTree(cache.path(),
                   {L"Content.IE5\\", L"Content.IE5\\index.dat", L"Content.IE5\\AB12\\", L"Content.IE5\\AB12\\page.htm",
                    L"Content.IE5\\AB12\\deeper\\", L"Content.IE5\\CD34\\", L"Content.IE5\\CD34\\image.png"});
    test::RegistryValueOverride cacheFolder(HKEY_CURRENT_USER, kShellFoldersKey, L"Cache", cache.path());
    // The Media Player's folder, with its typographic apostrophe.
    const std::wstring media =
        ShellFolderPath(LocalAppData) + L"Microsoft\\Media Player\\Cache d\u2019images\\LocalMLS\\";
    ::SHCreateDirectoryExW(nullptr, media.c_str(), nullptr);
    test::MakeTree(media, {L"a.jpg", L"b.jpg"});
    // No Prefetch folder: the item shows its status and is not done.
    test::RemoveTree(WindowsFolderPath() + L"\\Prefetch");
    cleaner::Registry::createKey(cleaner::kTypedUrlsKey, cleaner::Registry::kLocal);
    test::RegistryValueOverride url(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\TypedURLs", L"url5",
                                    L"http://example.org/");

    Cleaning run({CleanerItem::TypedUrls, CleanerItem::IeCache, CleanerItem::DnsCache, CleanerItem::MediaPlayerCache,
                  CleanerItem::PrefetchLayouts});
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.recorder->events(),
              (Events{L"busy on", Started(CleanerItem::TypedUrls), Done(CleanerItem::TypedUrls),
                      Started(CleanerItem::IeCache), Done(CleanerItem::IeCache), Started(CleanerItem::DnsCache),
                      Done(CleanerItem::DnsCache), Started(CleanerItem::MediaPlayerCache),
                      Done(CleanerItem::MediaPlayerCache), Started(CleanerItem::PrefetchLayouts), L"all worked on",
                      L"busy off", L"finished"}));
    // The files are swept, then the sub-folders removed, but for one that holds a folder.
    EXPECT_EQ(test::Under(cache.path()),
              (std::set<std::wstring>{L"Content.IE5\\", L"Content.IE5\\AB12\\", L"Content.IE5\\AB12\\deeper\\"}));
    EXPECT_TRUE(test::Under(media).empty());
    const std::vector<std::wstring> dns = run.recorder->dns();
    ASSERT_FALSE(dns.empty());
    EXPECT_EQ(dns.back().rfind(L"exit code ", 0), 0u) << "the flush's output ends with its code";
    const std::vector<std::wstring> journal = JournalFile::readLines(run.settings.journal.path());
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].substr(21), L" - URL supprim\u00E9e : " + std::wstring(cleaner::kTypedUrlsKey) + L"\\url5");
}

// The sandbox runner made, under C:\runlinks\cache, the links Content.IE5 (to C:\runlinks\documents), Low
// (to C:\runlinks\lowtarget, which holds a Content.IE5) and Virtualized\elsewhere (to the documents).
TEST(CleanerRun, TheCacheIsNeverLeftThroughALink) {
    const std::wstring base = L"C:\\runlinks\\";
    test::MakeTree(
        base,
        {L"documents\\doc.txt", L"documents\\Folder\\", L"documents\\Folder\\x.txt", L"lowtarget\\Content.IE5\\",
         L"lowtarget\\Content.IE5\\y.dat", L"lowtarget\\Content.IE5\\Sub\\", L"lowtarget\\Content.IE5\\Sub\\z.dat",
         L"cache\\Virtualized\\v.dat", L"cache\\Virtualized\\sub\\", L"cache\\Virtualized\\sub\\w.dat"});
    const std::set<std::wstring> documents = test::Under(base + L"documents\\");
    const std::set<std::wstring> low = test::Under(base + L"lowtarget\\");
    test::RegistryValueOverride cacheFolder(HKEY_CURRENT_USER, kShellFoldersKey, L"Cache", base + L"cache");

    Cleaning run({CleanerItem::IeCache});
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.recorder->events(), (Events{L"busy on", Started(CleanerItem::IeCache), Done(CleanerItem::IeCache),
                                              L"all worked on", L"busy off", L"finished"}));
    EXPECT_EQ(test::Under(base + L"cache\\Virtualized\\"), (std::set<std::wstring>{L"elsewhere\\"}));
    EXPECT_EQ(test::Under(base + L"documents\\"), documents);
    EXPECT_EQ(test::Under(base + L"lowtarget\\"), low);
}

TEST(CleanerRun, TicksAreReadWhenTheRunReachesThem) {
    test::TempFolder f(L"run-recycle");
    test::MakeTree(f.path(), {L"kept-in-the-bin.txt"});
    ASSERT_TRUE(test::Recycle(f / L"kept-in-the-bin.txt"));
    const long long inTheBin = test::RecycleBinItems();
    ASSERT_GE(inTheBin, 1);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::SetClipboardData(CF_UNICODETEXT, ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 16));
    ::CloseClipboard();

    Cleaning run({CleanerItem::Clipboard, CleanerItem::RecycleBin});
    // The user unticks the recycle bin while the run empties the clipboard.
    run.recorder->onStart = [&](CleanerItem item) {
        if (item == CleanerItem::Clipboard)
            run.ticks->set(CleanerItem::RecycleBin, false);
    };
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.recorder->events(), (Events{L"busy on", Started(CleanerItem::Clipboard), Done(CleanerItem::Clipboard),
                                              L"all worked on", L"busy off", L"finished"}));
    EXPECT_EQ(test::RecycleBinItems(), inTheBin);
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST(CleanerRun, AStopWindsTheRunDownAndBelongsToItAlone) {
    test::TempFolder temp(L"run-stop");  // in the user's temporary folder
    test::MakeTree(temp.path(), {L"a.tmp", L"b.tmp", L"sub\\", L"sub\\c.tmp"});
    const std::wstring media =
        ShellFolderPath(LocalAppData) + L"Microsoft\\Media Player\\Cache d\u2019images\\LocalMLS\\";
    ::SHCreateDirectoryExW(nullptr, media.c_str(), nullptr);
    test::MakeTree(media, {L"a.jpg"});
    test::MakeTree(temp.path(), {L"recycled.txt"});
    ASSERT_TRUE(test::Recycle(temp / L"recycled.txt"));
    const long long inTheBin = test::RecycleBinItems();
    Cleaning run({CleanerItem::UserTemp, CleanerItem::MediaPlayerCache, CleanerItem::RecycleBin});
    const std::set<std::wstring> before = test::Under(cleaner::UserTempFolder());
    bool refused = false, seen = false;
    // The dialog asks for the stop as the temporary files' sweep enters its folder.
    run.ticks->onAgeRule = [&] {
        CleanerRun::requestStop();
        seen = CleanerRun::stopRequested();
        refused = !run.start();
    };
    ASSERT_TRUE(run.start());
    // The items that are not stop-checked still show their status and end at once; the recycle bin is
    // passed over; no completion.
    EXPECT_EQ(run.recorder->events(), (Events{L"busy on", Started(CleanerItem::UserTemp), Done(CleanerItem::UserTemp),
                                              Started(CleanerItem::MediaPlayerCache),
                                              Done(CleanerItem::MediaPlayerCache), L"busy off", L"stopped"}));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(refused) << "one run at a time";
    EXPECT_EQ(test::Under(cleaner::UserTempFolder()), before);
    EXPECT_TRUE(test::FileExists(media + L"a.jpg"));
    EXPECT_EQ(test::RecycleBinItems(), inTheBin);
    EXPECT_FALSE(CleanerRun::stopRequested());
    EXPECT_FALSE(CleanerRun::isRunning());

    // The next run starts afresh, and so does a stop asked for when no run goes on.
    CleanerRun::requestStop();
    Cleaning next({CleanerItem::MediaPlayerCache});
    ASSERT_TRUE(next.start());
    EXPECT_EQ(next.recorder->events().back(), L"finished");
    EXPECT_FALSE(test::FileExists(media + L"a.jpg"));
    cleaner::EmptyRecycleBin(false);
}

}  // namespace
