// The relay between the Fast Cleaner's window and its run: choices published as the user makes them,
// reports queued in order for the window thread, nothing kept once the window has gone.
#include "app/cleaner/CleanerRelay.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using cleaner::CleanerItem;
using cleaner::CleanerRelay;
using Kind = CleanerRelay::Report::Kind;

TEST(CleanerRelay, CarriesARunsReportsInOrderAndItsChoicesAsTheyStand) {
    auto relay = std::make_shared<CleanerRelay>();
    EXPECT_EQ(relay->ageRule(), cleaner::AgeRule::Keep24) << "the default age option";
    for (int item = 0; item < cleaner::kCleanerItemCount; ++item)
        EXPECT_FALSE(relay->ticked(static_cast<CleanerItem>(item)));
    relay->setTicked(CleanerItem::Clipboard, true);
    relay->setAgeRule(cleaner::AgeRule::All);
    EXPECT_EQ(relay->ageRule(), cleaner::AgeRule::All);

    cleaner::CleanerRunSettings settings;
    win::StopToken stop;
    EXPECT_EQ(cleaner::CleanerRun::runHere(settings, *relay, *relay, stop), cleaner::CleanerEnd::Finished);
    const std::vector<CleanerRelay::Report> reports = relay->take();
    ASSERT_EQ(reports.size(), 6u);
    EXPECT_EQ(reports[0].kind, Kind::Busy);
    EXPECT_EQ(reports[0].value, 1);
    EXPECT_EQ(reports[1].kind, Kind::ItemStarted);
    EXPECT_EQ(reports[1].value, static_cast<int>(CleanerItem::Clipboard));
    EXPECT_EQ(reports[2].kind, Kind::ItemDone);
    EXPECT_EQ(reports[2].value, static_cast<int>(CleanerItem::Clipboard));
    EXPECT_EQ(reports[3].kind, Kind::Finished);
    EXPECT_EQ(reports[4].kind, Kind::Busy);
    EXPECT_EQ(reports[4].value, 0);
    EXPECT_EQ(reports[5].kind, Kind::Ended);
    EXPECT_EQ(reports[5].value, static_cast<int>(cleaner::CleanerEnd::Finished));
    EXPECT_TRUE(relay->take().empty()) << "each report is taken once";
}

TEST(CleanerRelay, KeepsEveryReportOfAnotherThreadAndNoneOnceDetached) {
    CleanerRelay relay;
    constexpr int kReports = 20000;
    std::thread worker([&] {
        for (int i = 0; i < kReports; ++i)
            relay.dnsLine(std::to_wstring(i));
    });
    std::vector<std::wstring> seen;
    while (seen.size() < static_cast<size_t>(kReports)) {
        for (const CleanerRelay::Report& report : relay.take())
            seen.push_back(report.text);
    }
    worker.join();
    for (int i = 0; i < kReports; ++i)
        ASSERT_EQ(seen[i], std::to_wstring(i)) << "reports keep their order";

    relay.itemStarted(CleanerItem::Clipboard);
    relay.detach();
    relay.itemStarted(CleanerItem::RecycleBin);
    relay.ended(cleaner::CleanerEnd::Stopped);
    relay.dnsCommandEnded();
    EXPECT_TRUE(relay.take().empty()) << "a window that has gone gets nothing, not even what was waiting";
}

}  // namespace
