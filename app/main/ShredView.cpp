#include "app/main/ShredView.h"

#include "app/App.h"
#include "app/main/ControlIds.h"
#include "app/main/ListWords.h"
#include "app/main/MainWindowLayout.h"
#include "app/main/ShredViewLayout.h"
#include "app/Environment.h"
#include "controls/Panel.h"
#include "controls/BalloonTip.h"
#include "controls/BigButton.h"
#include "controls/ColorProgressBar.h"
#include "win/Strings.h"

#include <commctrl.h>

#include <utility>

namespace {

using namespace mainwin::layout;

// Where each run value is shown.
constexpr int kTextControls[LatestRunDisplay::kTexts] = {
    kIdRepetitionsLabel,  // RunText::RepetitionsLabel
    kIdRunStatus,         // RunText::Method
    kIdFileLine,          // RunText::CurrentFile
    kIdCycles,            // RunText::Cycles
    kIdPattern,           // RunText::Pattern
    kIdNameWipe,          // RunText::RenameCounter
    kIdRemaining,         // RunText::Remaining
};
constexpr int kBarControls[LatestRunDisplay::kBars] = {
    kIdRepetitionsBar,  // RunBar::Repetitions
    kIdPointerBar,      // RunBar::FilePosition
    kIdOverwriteBar,    // RunBar::Overwrite
    kIdNameWipeBar,     // RunBar::NameWipe
    kIdOverallBar,      // RunBar::Overall
};

// The bars write only their percentage: screen readers name each by the caption beside it, and the overall
// bar, which has none, by its balloon's title.
constexpr std::pair<int, int> kBarCaptions[] = {{kIdPointerBar, kIdPointerCaption},
                                                {kIdOverwriteBar, kIdOverwriteCaption},
                                                {kIdNameWipeBar, kIdNameWipeCaption}};

const wchar_t* CaptionText(int id) {
    for (const Label& label : kDetailLabels) {
        if (label.id == id)
            return label.text;
    }
    for (const Label& label : kRunInfoLabels) {
        if (label.id == id)
            return label.text;
    }
    return L"";
}

const wchar_t* BarName(int bar) {
    if (bar == kIdOverallBar)
        return kOverallTipTitle;
    for (const auto& [id, caption] : kBarCaptions) {
        if (id == bar)
            return CaptionText(caption);
    }
    return L"";
}

// The list hands the files dropped on it to the main window, which queues them.
LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR main) {
    if (message == WM_DROPFILES)
        return ::SendMessageW(reinterpret_cast<HWND>(main), WM_DROPFILES, wParam, lParam);
    if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(list, ListProc, 0);
    return ::DefSubclassProc(list, message, wParam, lParam);
}

template <size_t N>
constexpr bool EveryValueShown(const int (&controls)[N]) {
    for (int id : controls) {
        if (id == 0)
            return false;
    }
    return true;
}
static_assert(EveryValueShown(kTextControls) && EveryValueShown(kBarControls), "a control for every run value");

BOOL CALLBACK CollectChild(HWND child, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

}  // namespace

std::wstring RunButtonCaption(const std::wstring& text) {
    return win::ToUpper(L"          " + text);
}

HWND ShredView::label(HWND parent, const Label& label) {
    const RECT& at = label.place;
    HWND control = ::CreateWindowExW(0, WC_STATICW, label.text,
                                     WS_CHILD | WS_VISIBLE | SS_NOPREFIX | (label.wrap ? SS_LEFT : SS_LEFTNOWORDWRAP),
                                     at.left, at.top, Width(at), Height(at), parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(label.id)), app_.instance, nullptr);
    colors_[label.id] = {label.color, Panel::BackColor(parent)};
    return control;
}

HWND ShredView::progress(HWND parent, const Bar& bar) {
    // Each bar fills a holder of its own size that gives it a thin sunken edge.
    const RECT& at = bar.place;
    HWND holder = Panel::Create(parent, 0, at.left, at.top, Width(at), Height(at), bar.back);
    ::SetWindowLongPtrW(holder, GWL_EXSTYLE, ::GetWindowLongPtrW(holder, GWL_EXSTYLE) | WS_EX_STATICEDGE);
    ::SetWindowPos(holder, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    HWND control = ColorProgressBar::Create(holder, bar.id, 0, 0, Width(at), Height(at), 0, 100, bar.text2, bar.text,
                                            bar.bar, bar.back);
    ::SetWindowTextW(control, BarName(bar.id));  // not drawn: the bar's name for screen readers
    return control;
}

HWND ShredView::button(HWND parent, const Button& button, const std::wstring& caption) {
    const RECT& at = button.place;
    HWND control = BigButton::Create(parent, button.id, at.left, at.top, Width(at), Height(at), caption,
                                     app_.pictures.icon(button.icon, kButtonIcon), BigButton::kIconLeft, &app_.theme);
    AttachBalloonTip(nullptr, control, button.tipTitle, button.tip, reinterpret_cast<HICON>(TTI_INFO));
    return control;
}

HWND ShredView::panel(int id, const RECT& place, COLORREF back) {
    return Panel::Create(view_, id, place.left, place.top, Width(place), Height(place), back);
}

void ShredView::create(HWND main) {
    // Not clipping its children: the detail frame is a child whose inside the view itself paints.
    view_ = Panel::Create(main, kIdShredView, kRightArea.left, kRightArea.top, Width(kRightArea), Height(kRightArea),
                          kViewBack, false);

    // Files and folders dragged from Explorer are dropped on the list itself.
    listView_ = ::CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES, WC_LISTVIEWW, L"",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
                                  kShredList.left, kShredList.top, Width(kShredList), Height(kShredList), view_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdShredList)), app_.instance, nullptr);
    ListView_SetExtendedListViewStyle(listView_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    ::SetWindowSubclass(listView_, ListProc, 0, reinterpret_cast<DWORD_PTR>(main));
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = kShredListColumnWidth;
    column.pszText = const_cast<wchar_t*>(kListHeaderTitle);
    ListView_InsertColumn(listView_, 0, &column);
    shownHeader_ = kListHeaderTitle;

    buildCounters();
    buildDetails();
    buildRunButtons();
    buildRunInfo();
    buildListButtons();
    buildBanner();
    // Controls sit in nested panels; their numbers are unique in the view.
    std::vector<HWND> children;
    ::EnumChildWindows(view_, CollectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children)
        controls_[::GetDlgCtrlID(child)] = child;
    // Tab walks into the view and its panels, in the order they were built: the list, the run buttons,
    // the list buttons.
    for (HWND parent : {view_, control(kIdRunButtonsPanel), listButtons_})
        ::SetWindowLongPtrW(parent, GWL_EXSTYLE, ::GetWindowLongPtrW(parent, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    showRunState(RunController::State::Idle, false);
}

void ShredView::buildCounters() {
    for (const Label& counter : kCounters)
        label(view_, counter);
}

void ShredView::buildDetails() {
    HWND overall = progress(view_, kOverallBar);
    AttachBalloonTip(nullptr, overall, kOverallTipTitle, kOverallTip, reinterpret_cast<HICON>(TTI_INFO));
    label(view_, kFileLine);
    // The frame first, then the texts and bars that sit inside it.
    const RECT& frameAt = kDetailFrame;
    ::CreateWindowExW(0, WC_BUTTONW, L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, frameAt.left, frameAt.top,
                      Width(frameAt), Height(frameAt), view_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdDetailFrame)), app_.instance, nullptr);
    colors_[kIdDetailFrame] = {kValueColor, kViewBack};  // the frame paints its inside with this
    for (const Label& detail : kDetailLabels)
        label(view_, detail);
    for (const Bar& bar : kDetailBars)
        progress(view_, bar);
    const RECT& barAt = kRepetitionsBar;
    HWND repetitions = ::CreateWindowExW(
        0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, barAt.left, barAt.top, Width(barAt), Height(barAt),
        view_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepetitionsBar)), app_.instance, nullptr);
    ::SendMessageW(repetitions, PBM_SETRANGE32, 0, kRepetitionsBarRange);
}

void ShredView::buildRunButtons() {
    HWND buttons = panel(kIdRunButtonsPanel, kRunButtonsPanel, kViewBack);
    for (const Button& run : kRunButtons)
        button(buttons, run, RunButtonCaption(run.caption));
}

void ShredView::buildRunInfo() {
    HWND info = panel(kIdRunInfoPanel, kRunInfoPanel, kViewBack);
    for (const Label& value : kRunInfoLabels)
        label(info, value);
    progress(info, kNameWipeBar);
}

void ShredView::buildListButtons() {
    listButtons_ = panel(kIdListButtonsBar, kListButtonsBar, kViewBack);
    label(listButtons_, kStatusLine);
    for (const Button& list : kListButtons)
        button(listButtons_, list, list.caption);
}

void ShredView::buildBanner() {
    banner_ = panel(kIdRunBanner, kRunBanner, kBannerRed);
    bannerText_ = label(banner_, kRunBannerText);
    ::ShowWindow(banner_, SW_HIDE);
}

HWND ShredView::control(int id) const {
    auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

void ShredView::showRunState(RunController::State state, bool resumed) {
    using State = RunController::State;
    const bool idle = state == State::Idle;
    auto enable = [&](int id, bool on) { ::EnableWindow(control(id), on); };
    enable(kIdStart, idle);
    enable(kIdPause, state == State::Running || state == State::Stopping);
    enable(kIdResume, state == State::Paused);
    // A paused run can be stopped too: the stop ends the pause and the run ends at its next check.
    enable(kIdStop, state == State::Running || state == State::Paused);
    ::ShowWindow(listButtons_, idle ? SW_SHOW : SW_HIDE);
    ::ShowWindow(banner_, idle ? SW_HIDE : SW_SHOW);
    if (state == State::Paused) {
        Panel::SetBackColor(banner_, kBannerYellow);
        colors_[kIdRunBannerText] = {kBannerYellowText, kBannerYellow};
        ::SetWindowTextW(bannerText_, kPausedText);
    } else if (!idle) {
        Panel::SetBackColor(banner_, kBannerRed);
        colors_[kIdRunBannerText] = {kBannerRedText, kBannerRed};
        if (state == State::Running || resumed)
            ::SetWindowTextW(bannerText_, resumed ? kResumedText : kRunningText);
    }
    ::InvalidateRect(bannerText_, nullptr, TRUE);
}

void ShredView::enableListButtons(bool enabled) {
    for (int id : {kIdRemoveSelected, kIdRemoveAll, kIdJournal})
        ::EnableWindow(control(id), enabled);
}

void ShredView::setText(int id, const std::wstring& text) {
    HWND target = control(id);
    wchar_t current[1024];
    ::GetWindowTextW(target, current, 1024);
    if (text != current)
        ::SetWindowTextW(target, text.c_str());
}

void ShredView::refresh() {
    if (listDirty_.exchange(false)) {
        const int count = static_cast<int>(list_.count());
        ListView_SetItemCountEx(listView_, count, LVSICF_NOSCROLL);
        ::InvalidateRect(listView_, nullptr, FALSE);
        const ShredListNumbers numbers = list_.numbers();
        const std::wstring header = ListHeaderText(numbers);
        if (header != shownHeader_) {
            LVCOLUMNW column = {};
            column.mask = LVCF_TEXT;
            column.pszText = const_cast<wchar_t*>(header.c_str());
            ListView_SetColumn(listView_, 0, &column);
            shownHeader_ = header;
        }
        setText(kIdEntryCount, ListCountText(numbers));
        setText(kIdTotalSize, TotalSizeText(numbers));
        setText(kIdStatusLine, ScanStatusText(numbers.status));
    }
    LatestRunDisplay::Changes changes = display_.takeChanges();
    for (size_t i = 0; i < changes.texts.size(); ++i) {
        if (changes.texts[i])
            setText(kTextControls[i], *changes.texts[i]);
    }
    for (size_t i = 0; i < changes.bars.size(); ++i) {
        if (changes.bars[i])
            ::SendMessageW(control(kBarControls[i]), PBM_SETPOS, static_cast<WPARAM>(*changes.bars[i]), 0);
    }
}

int ShredView::imageFor(const ShredEntry& entry) {
    switch (entry.image) {
        case EntryImage::ScannedFolder:
            return 0;
        case EntryImage::ScannedFile:
            return 1;
        case EntryImage::Prefetch:
            return 2;
        case EntryImage::ShellIcon:
            break;
    }
    auto found = shellImages_.find(entry.path);
    if (found != shellImages_.end())
        return found->second;
    int index = 1;
    if (HICON icon = SmallShellIcon(entry.path)) {
        index = ImageList_AddIcon(images_, icon);
        ::DestroyIcon(icon);
    }
    shellImages_.emplace(entry.path, index);
    return index;
}

void ShredView::onGetDisplayInfo(NMLVDISPINFOW& info) {
    const ShredEntry entry = list_.entry(static_cast<size_t>(info.item.iItem));
    if (info.item.mask & LVIF_TEXT) {
        lstrcpynW(info.item.pszText, entry.path.c_str(), info.item.cchTextMax);
    }
    if (info.item.mask & LVIF_IMAGE)
        info.item.iImage = imageFor(entry);
}

std::vector<size_t> ShredView::takeSelection() {
    // Asking the list view for each selected row walks the rows one by one from the start: cheap for a
    // few rows, too slow for a million. The common cases are answered without a walk: every row (Ctrl+A),
    // and the one row that has the focus; otherwise the walk stops at the last selected row.
    const int rows = ListView_GetItemCount(listView_);
    const int selectedCount = static_cast<int>(::SendMessageW(listView_, LVM_GETSELECTEDCOUNT, 0, 0));
    std::vector<size_t> selected;
    if (selectedCount > 0 && selectedCount == rows) {
        selected.resize(static_cast<size_t>(rows));
        for (size_t i = 0; i < selected.size(); ++i)
            selected[i] = i;
    } else if (selectedCount > 0) {
        const int focused = ListView_GetNextItem(listView_, -1, LVNI_FOCUSED);
        if (selectedCount == 1 && focused >= 0 && ListView_GetItemState(listView_, focused, LVIS_SELECTED)) {
            selected.push_back(static_cast<size_t>(focused));
        } else {
            for (int item = ListView_GetNextItem(listView_, -1, LVNI_SELECTED);
                 item >= 0 && static_cast<int>(selected.size()) < selectedCount;
                 item = ListView_GetNextItem(listView_, item, LVNI_SELECTED))
                selected.push_back(static_cast<size_t>(item));
        }
    }
    // The list view keeps selections by position: once these entries are gone, the ones that move up into
    // their places must not look chosen. Wine's list view clears "every row" row by row, a second at a
    // million rows, so the rows are cleared one by one where they are few; a list that loses every row
    // has nothing left to clear, and a huge selection is dropped with the rows themselves.
    const bool everyRow = selected.size() == static_cast<size_t>(rows);
    if (!everyRow && selected.size() <= 4096) {
        for (size_t row : selected)
            ListView_SetItemState(listView_, static_cast<int>(row), 0, LVIS_SELECTED);
    } else if (!everyRow) {
        ListView_SetItemCountEx(listView_, 0, LVSICF_NOSCROLL);
        listDirty_ = true;
    }
    return selected;
}

void ShredView::selectAll() {
    // Wine applies an "every row" change row by row and repaints each row as it goes, 90 s at a million
    // rows; with drawing suspended the rows are repainted once, and the change costs about a microsecond
    // a row.
    ::SendMessageW(listView_, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemState(listView_, -1, LVIS_SELECTED, LVIS_SELECTED);
    ::SendMessageW(listView_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(listView_, nullptr, FALSE);
}

bool ShredView::colorsFor(HWND control, COLORREF* text, COLORREF* back) const {
    auto found = colors_.find(::GetDlgCtrlID(control));
    if (found == colors_.end())
        return false;
    *text = found->second.text;
    *back = found->second.back;
    return true;
}
