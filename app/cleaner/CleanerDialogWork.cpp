// What the Fast Cleaner does: the cleaner run and its reports, the DNS commands and the M.R.U. list.
#include "app/App.h"
#include "app/Environment.h"
#include "app/cleaner/CleanerDialog.h"
#include "app/cleaner/CleanerDialogLayout.h"
#include "controls/BusyPicture.h"
#include "cleaner/RegistryTraces.h"
#include "win/Thread.h"

#include <new>

namespace cleaner {

using namespace layout;

void CleanerDialog::startCleaning() {
    if (!anyTicked()) {
        ask(kNothingTicked, MB_OK | MB_ICONWARNING);
        return;
    }
    if (ask(kConfirmClean, MB_YESNO | MB_ICONWARNING) != IDYES) {
        ask(kCleanDeclined, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!window_)
        return;
    // The ticks as they stand now; from here on every click publishes its change.
    for (int item = 0; item < kCleanerItemCount; ++item)
        relay_->setTicked(static_cast<CleanerItem>(item),
                          ::SendMessageW(checks_[item], BM_GETCHECK, 0, 0) == BST_CHECKED);
    CleanerRunSettings settings;
    settings.windowsFolder = WindowsFolderPath();
    settings.commandInterpreter = CommandInterpreterPath();
    settings.journal = journal_;
    // Refused only while a run stopped from an earlier opening is still winding down; the buttons wait
    // for its end (updateRunButtons), so this is a corner case of a click already on its way.
    if (!CleanerRun::start(settings, relay_, relay_))
        return;
    runActive_ = true;
    updateRunButtons();
}

void CleanerDialog::onTimer() {
    for (CleanerRelay::Report& report : relay_->take())
        pending_.push_back(std::move(report));
    while (window_ && !pending_.empty()) {
        // The end of a run waits for the question on screen (say, whether to stop it) to be answered, so
        // that its notice never comes over the question, and never after the user chose to close.
        if (pending_.front().kind == CleanerRelay::Report::Kind::Ended && modal_ > 0)
            break;
        const CleanerRelay::Report report = std::move(pending_.front());
        pending_.pop_front();
        onReport(report);
    }
    if (window_)
        updateRunButtons();
}

void CleanerDialog::onReport(const CleanerRelay::Report& report) {
    using Kind = CleanerRelay::Report::Kind;
    switch (report.kind) {
        case Kind::Busy:
            BusyPicture::SetBusy(busy_, report.value != 0, kBusyFrameMs);
            break;
        case Kind::ItemStarted:
            if (report.value >= 0 && report.value < kCleanerItemCount)
                ::SetWindowTextW(status_, kItems[report.value].status);
            break;
        case Kind::Finished:
            ::SetWindowTextW(status_, kFinishedStatus);
            break;
        case Kind::ItemDone:
            if (report.value >= 0 && report.value < kCleanerItemCount)
                setItemState(report.value, true);
            break;
        case Kind::DnsLine:
            appendDnsLine(report.text);
            break;
        case Kind::DnsExitCode:
            appendDnsLine(kDnsExitCodeLine + std::to_wstring(static_cast<DWORD>(report.value)));
            break;
        case Kind::DnsCommandEnded:
            dnsBusy_ = false;
            for (const Button& entry : kDnsButtons)
                ::EnableWindow(controls_[entry.id], TRUE);
            break;
        case Kind::MruListed:
            showMruTraces(report.rows);
            mruBusy_ = false;
            if (!mruWaiting_.empty()) {
                const MruWork next = mruWaiting_.front();
                mruWaiting_.pop_front();
                startMruWork(next);
            }
            break;
        case Kind::Ended:
            // The buttons come back once the notice is dismissed.
            if (static_cast<CleanerEnd>(report.value) == CleanerEnd::Finished)
                ask(kCleanFinished, MB_OK | MB_ICONINFORMATION);
            runActive_ = false;
            if (window_)
                updateRunButtons();
            break;
    }
}

void CleanerDialog::updateRunButtons() {
    // A run stopped from an earlier opening may still be winding down: nothing starts before its end.
    const bool on = !runActive_ && !CleanerRun::isRunning();
    if (on == runButtonsOn_)
        return;
    runButtonsOn_ = on;
    for (int id : {kIdClean, kIdSelectAll, kIdDeselectAll})
        ::EnableWindow(controls_[id], on);
}

void CleanerDialog::setItemState(int item, bool done) {
    itemDone_[item] = done;
    BusyPicture::SetPicture(states_[item], app_.pictures.bitmap(done ? IDR_CLEANER_DONE : IDR_CLEANER_WAITING, dpi_),
                            done ? kDoneText : kWaitingText);
}

void CleanerDialog::startDnsCommand(bool flush) {
    if (dnsBusy_)
        return;
    ::SetWindowTextW(dnsText_, L"");
    auto stop = std::make_shared<win::StopToken>();
    std::shared_ptr<CleanerRelay> relay = relay_;
    const std::wstring interpreter = CommandInterpreterPath();
    // The command runs off the window thread, which it may outlive; its lines and its end come back
    // through the relay, whatever happened, and a dialog that closes first stops it.
    auto work = [relay, stop, interpreter, flush] {
        if (flush)
            FlushDnsCache(interpreter, *relay, *stop);
        else
            ShowDnsCache(interpreter, *relay, *stop);
    };
    if (!win::StartDetached(work, [relay](bool) { relay->dnsCommandEnded(); }))
        return;
    dnsStop_ = stop;
    dnsBusy_ = true;
    for (const Button& entry : kDnsButtons)
        ::EnableWindow(controls_[entry.id], FALSE);
}

void CleanerDialog::appendDnsLine(const std::wstring& text) {
    const std::wstring line = text + L"\r\n";
    const int end = ::GetWindowTextLengthW(dnsText_);
    ::SendMessageW(dnsText_, EM_SETSEL, end, end);
    ::SendMessageW(dnsText_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
}

void CleanerDialog::startMruWork(MruWork work) {
    if (mruBusy_) {
        mruWaiting_.push_back(work);
        return;
    }
    std::shared_ptr<CleanerRelay> relay = relay_;
    const JournalFile journal = journal_;
    // Registry work and journal lines (which may wait for a journal in use) run off the window thread; the
    // list as it then stands comes back through the relay, even after a failure.
    auto done = std::make_shared<bool>(false);
    auto task = [relay, journal, work, done] {
        if (work == MruWork::CleanValues)
            CleanMruValues(journal);
        else if (work == MruWork::ResetKey)
            ResetRecentDocsKey(journal);
        relay->mruListed(ListMruTraces(journal));
        *done = true;
    };
    auto end = [relay, done](bool) {
        if (!*done)
            relay->mruListed({});
    };
    mruWorker_.join();  // the previous work has told its end
    if (!mruWorker_.start(task, end)) {
        // No thread to be had: the work is done here rather than not at all.
        task();
        return;
    }
    mruBusy_ = true;
}

void CleanerDialog::showMruTraces(const std::vector<MruRow>& rows) {
    ::SendMessageW(mruList_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(mruList_);
    int index = 0;
    for (const MruRow& row : rows) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = index;
        item.iImage = row.kind == MruRow::Kind::SubKey ? 0 : 1;
        item.pszText = const_cast<wchar_t*>(row.subKey.c_str());
        const int at = ListView_InsertItem(mruList_, &item);
        ListView_SetItemText(mruList_, at, 1, const_cast<wchar_t*>(row.name.c_str()));
        ListView_SetItemText(mruList_, at, 2, const_cast<wchar_t*>(row.value.c_str()));
        ++index;
    }
    ::SendMessageW(mruList_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(mruList_, nullptr, TRUE);
}

}  // namespace cleaner
