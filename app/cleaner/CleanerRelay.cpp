#include "app/cleaner/CleanerRelay.h"

#include "app/cleaner/CleanerDialogLayout.h"

#include <utility>

namespace cleaner {

CleanerRelay::CleanerRelay() : ageRule_(layout::kDefaultAgeRule) {
    for (std::atomic<bool>& tick : ticked_)
        tick = false;
}

void CleanerRelay::setTicked(CleanerItem item, bool on) {
    ticked_[static_cast<int>(item)] = on;
}

void CleanerRelay::setAgeRule(AgeRule rule) {
    ageRule_ = rule;
}

std::vector<CleanerRelay::Report> CleanerRelay::take() {
    return reports_.take();
}

void CleanerRelay::detach() {
    reports_.detach();
}

bool CleanerRelay::ticked(CleanerItem item) const {
    return ticked_[static_cast<int>(item)];
}

AgeRule CleanerRelay::ageRule() const {
    return ageRule_;
}

void CleanerRelay::push(Report report) {
    reports_.post(std::move(report));
}

void CleanerRelay::busy(bool on) {
    push({Report::Kind::Busy, on ? 1 : 0, {}, {}});
}

void CleanerRelay::itemStarted(CleanerItem item) {
    push({Report::Kind::ItemStarted, static_cast<int>(item), {}, {}});
}

void CleanerRelay::itemDone(CleanerItem item) {
    push({Report::Kind::ItemDone, static_cast<int>(item), {}, {}});
}

void CleanerRelay::finished() {
    push({Report::Kind::Finished, 0, {}, {}});
}

void CleanerRelay::dnsLine(const std::wstring& text) {
    push({Report::Kind::DnsLine, 0, text, {}});
}

void CleanerRelay::dnsExitCode(DWORD code) {
    push({Report::Kind::DnsExitCode, static_cast<int>(code), {}, {}});
}

void CleanerRelay::ended(CleanerEnd end) {
    push({Report::Kind::Ended, static_cast<int>(end), {}, {}});
}

void CleanerRelay::dnsCommandEnded() {
    push({Report::Kind::DnsCommandEnded, 0, {}, {}});
}

void CleanerRelay::mruListed(std::vector<MruRow> rows) {
    push({Report::Kind::MruListed, 0, {}, std::move(rows)});
}

}  // namespace cleaner
