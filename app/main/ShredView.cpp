#include "app/main/ShredView.h"

#include "app/App.h"
#include "app/main/ControlIds.h"
#include "app/main/ListWords.h"
#include "app/Environment.h"
#include "controls/Panel.h"
#include "controls/BalloonTip.h"
#include "controls/BigButton.h"
#include "controls/ColorProgressBar.h"
#include "win/Strings.h"

#include <commctrl.h>

namespace {

constexpr COLORREF kCaption = RGB(115, 131, 173);
constexpr COLORREF kViewBack = RGB(236, 240, 247);
constexpr COLORREF kBannerRed = RGB(214, 32, 11);
constexpr COLORREF kBannerYellow = RGB(244, 207, 45);

constexpr wchar_t kRunningText[] =
    L"Le processus de destruction est en cours, veuillez patienter s'il vous plaît... Si vous souhaitez "
    L"suspendre temporairement ou arrêter définitivement le processus, vous pouvez utilisez les boutons "
    L"[Interrompre] ou [Stopper tout!] ci-dessus.";
constexpr wchar_t kResumedText[] =
    L"Le processus de destruction est en cours, veuillez patienter s'il vous plaît... Si vous souhaitez "
    L"interrompre ou stopper le processus, vous pouvez utilisez les boutons ci-dessus.";
constexpr wchar_t kPausedText[] =
    L"Le processus de destruction a été suspendu. Si vous souhaitez le relancer utilisez le bouton [ Reprendre ] "
    L"ci-dessus. Si vous préférez tout arrêter cliquez sur le bouton [ Stopper tout! ]";

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

// The list hands the files dropped on it to the main window, which queues them.
LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR main) {
    if (message == WM_DROPFILES)
        return ::SendMessageW(reinterpret_cast<HWND>(main), WM_DROPFILES, wParam, lParam);
    if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(list, ListProc, 0);
    return ::DefSubclassProc(list, message, wParam, lParam);
}

BOOL CALLBACK CollectChild(HWND child, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

}  // namespace

std::wstring RunButtonCaption(const std::wstring& text) {
    return win::ToUpper(L"          " + text);
}

HWND ShredView::label(HWND parent,
                      int id,
                      int x,
                      int y,
                      int width,
                      int height,
                      const wchar_t* text,
                      COLORREF color,
                      HFONT font,
                      bool wrap) {
    HWND control = ::CreateWindowExW(
        0, WC_STATICW, text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | (wrap ? SS_LEFT : SS_LEFTNOWORDWRAP), x, y, width,
        height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : captionFont_.get()), FALSE);
    colors_[id] = {color, Panel::BackColor(parent)};
    return control;
}

HWND ShredView::progress(HWND parent,
                         int id,
                         int x,
                         int y,
                         int width,
                         int height,
                         COLORREF bar,
                         COLORREF back,
                         COLORREF text,
                         COLORREF text2) {
    // Each bar fills a holder of its own size that gives it a thin sunken edge.
    HWND holder = Panel::Create(parent, 0, x, y, width, height, back);
    ::SetWindowLongPtrW(holder, GWL_EXSTYLE, ::GetWindowLongPtrW(holder, GWL_EXSTYLE) | WS_EX_STATICEDGE);
    ::SetWindowPos(holder, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    return ColorProgressBar::Create(holder, id, 0, 0, width, height, 0, 100, text2, text, bar, back);
}

void ShredView::create(HWND main) {
    // A compact face keeps the captions within the widths of the layout.
    captionFont_.reset(::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    // Not clipping its children: the detail frame is a child whose inside the view itself paints.
    view_ = Panel::Create(main, kIdShredView, 265, 65, 744, 653, kViewBack, false);

    // Files and folders dragged from Explorer are dropped on the list itself.
    listView_ = ::CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES, WC_LISTVIEWW, L"",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
                                  5, 5, 734, 375, view_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdShredList)),
                                  app_.instance, nullptr);
    ListView_SetExtendedListViewStyle(listView_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    ::SetWindowSubclass(listView_, ListProc, 0, reinterpret_cast<DWORD_PTR>(main));
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 720;
    column.pszText = const_cast<wchar_t*>(kListHeaderTitle);
    ListView_InsertColumn(listView_, 0, &column);
    shownHeader_ = kListHeaderTitle;
    images_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 64);
    // Pictures of the program's own for what scans add: a folder, a file, a Prefetch layout.
    for (int id : {IDR_LINK_ADD_FOLDER, IDR_LINK_ADD_FILES, IDR_LINK_PRESETS})
        ImageList_Add(images_, app_.pictures.bitmap(id), nullptr);
    ListView_SetImageList(listView_, images_, LVSIL_SMALL);

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
    label(view_, kIdTotalCaption, 5, 385, 40, 15, L"Total :", kCaption);
    label(view_, kIdEntryCount, 45, 385, 100, 18, L"", RGB(0, 0, 0));
    label(view_, kIdSizeCaption, 160, 385, 65, 15, L"Taille (Mo) :", kCaption);
    label(view_, kIdTotalSize, 225, 385, 100, 18, L"", RGB(0, 0, 0));
    label(view_, kIdRemainingCaption, 508, 385, 130, 15, L"Fichiers restant à détruire :", kCaption);
    label(view_, kIdRemaining, 638, 385, 100, 18, L"", RGB(0, 0, 0));
}

void ShredView::buildDetails() {
    HWND overall = progress(view_, kIdOverallBar, 5, 408, 734, 15, RGB(119, 230, 120), RGB(226, 232, 241), RGB(0, 0, 0),
                            RGB(0, 0, 0));
    AttachBalloonTip(nullptr, overall, L"Progression",
                     L"Etat d'avancement général de la destruction en cours, indique le pourcentage d'éléments "
                     L"détruits.",
                     reinterpret_cast<HICON>(TTI_INFO));
    label(view_, kIdFileLine, 5, 430, 300, 15, L"", RGB(63, 81, 225));
    HWND frame =
        ::CreateWindowExW(0, WC_BUTTONW, L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 5, 451, 260, 133, view_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdDetailFrame)), app_.instance, nullptr);
    ::SendMessageW(frame, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    colors_[kIdDetailFrame] = {RGB(0, 0, 0), kViewBack};  // the frame paints its inside with this
    label(view_, kIdDetailNote, 10, 455, 240, 12, L"Visible sur les gros fichiers uniquement:", RGB(0, 0, 0),
          app_.fonts.get(1));
    label(view_, kIdPointerCaption, 10, 480, 150, 15, L"Avancement pointeur", kCaption);
    progress(view_, kIdPointerBar, 10, 495, 250, 13, RGB(226, 53, 29), RGB(214, 225, 254), RGB(255, 255, 255),
             RGB(0, 0, 0));
    label(view_, kIdOverwriteCaption, 10, 512, 150, 15, L"Ecrasement réalisé", kCaption);
    progress(view_, kIdOverwriteBar, 10, 527, 250, 13, RGB(157, 196, 224), RGB(214, 225, 254), RGB(255, 255, 255),
             RGB(0, 0, 0));
    label(view_, kIdRepetitionsLabel, 10, 548, 150, 15, L"Répétitions :", kCaption);
    HWND repetitions =
        ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 10, 563, 250, 12, view_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepetitionsBar)), app_.instance, nullptr);
    ::SendMessageW(repetitions, PBM_SETRANGE32, 0, 100);
}

void ShredView::buildRunButtons() {
    HWND panel = Panel::Create(view_, kIdRunButtonsPanel, 270, 448, 210, 138, kViewBack);
    struct ButtonSpec {
        int id;
        int y;
        const wchar_t* caption;
        int icon;
        const wchar_t* tipTitle;
        const wchar_t* tip;
    };
    static constexpr ButtonSpec kButtons[] = {
        {kIdStart, 5, L"Détruire tout!", IDI_BTN_DESTROY, L"Destruction",
         L"Démarrer le processus de destruction de tous les fichiers listés. Pas de retour possible!"},
        {kIdPause, 38, L"Interrompre", IDI_BTN_PAUSE, L"Paramètres logiciel",
         L"Interrompre momentanément le processus de destruction."},
        {kIdResume, 71, L"Reprendre", IDI_BTN_RESUME, L"Reprendre", L"Relancer le processus préalablement interrompu."},
        {kIdStop, 104, L"Stopper tout!", IDI_BTN_STOP, L"Arrêter", L"Arrêter le processus et annuler tout."},
    };
    for (const ButtonSpec& spec : kButtons) {
        HWND button = BigButton::Create(panel, spec.id, 10, spec.y, 190, 32, RunButtonCaption(spec.caption),
                                        app_.pictures.icon(spec.icon), BigButton::kIconLeft, &app_.theme);
        AttachBalloonTip(nullptr, button, spec.tipTitle, spec.tip, reinterpret_cast<HICON>(TTI_INFO));
    }
}

void ShredView::buildRunInfo() {
    HWND panel = Panel::Create(view_, kIdRunInfoPanel, 484, 448, 255, 138, kViewBack);
    label(panel, kIdRunStatus, 5, 10, 245, 17, L"", RGB(227, 83, 61), app_.fonts.get(3));
    label(panel, kIdCyclesCaption, 5, 40, 85, 15, L"Cycles effectués:", kCaption);
    label(panel, kIdCycles, 100, 40, 100, 15, L"", RGB(0, 0, 0));
    label(panel, kIdPatternCaption, 5, 60, 85, 17, L"Write Data:", kCaption);
    label(panel, kIdPattern, 90, 60, 160, 15, L"", RGB(0, 0, 0));
    label(panel, kIdNameWipeCaption, 5, 100, 140, 15, L"Ecrasement mémoire du nom", kCaption);
    label(panel, kIdNameWipe, 150, 100, 45, 15, L"", RGB(0, 0, 0));
    progress(panel, kIdNameWipeBar, 5, 115, 245, 15, RGB(235, 183, 29), RGB(214, 225, 254), RGB(255, 255, 255),
             RGB(0, 0, 0));
}

void ShredView::buildListButtons() {
    listButtons_ = Panel::Create(view_, kIdListButtonsBar, 5, 588, 734, 60, kViewBack);
    label(listButtons_, kIdStatusLine, 5, 5, 500, 15, L"", RGB(0, 0, 0));
    struct ButtonSpec {
        int id;
        int x;
        int width;
        const wchar_t* caption;
        int icon;
        const wchar_t* tip;
    };
    static constexpr ButtonSpec kButtons[] = {
        {kIdRemoveSelected, 5, 130, L"Retirer sélection", IDI_BTN_REMOVE_SELECTED,
         L"Retirer les éléments cochés de la liste."},
        {kIdRemoveAll, 135, 130, L"Retirer tout", IDI_BTN_REMOVE_ALL,
         L"Annuler et retirer tous les éléments de la liste."},
        {kIdJournal, 630, 100, L"Journal", IDI_BTN_JOURNAL,
         L"Consulter les évènements relatifs aux suppressions effectuées"},
    };
    for (const ButtonSpec& spec : kButtons) {
        HWND button = BigButton::Create(listButtons_, spec.id, spec.x, 25, spec.width, 32, spec.caption,
                                        app_.pictures.icon(spec.icon), BigButton::kIconLeft, &app_.theme);
        AttachBalloonTip(nullptr, button, spec.caption, spec.tip, reinterpret_cast<HICON>(TTI_INFO));
    }
}

void ShredView::buildBanner() {
    banner_ = Panel::Create(view_, kIdRunBanner, 5, 588, 734, 60, kBannerRed);
    bannerText_ =
        label(banner_, kIdRunBannerText, 5, 5, 720, 45, kRunningText, RGB(255, 255, 255), app_.fonts.get(3), true);
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
        colors_[kIdRunBannerText] = {RGB(0, 0, 0), kBannerYellow};
        ::SetWindowTextW(bannerText_, kPausedText);
    } else if (!idle) {
        Panel::SetBackColor(banner_, kBannerRed);
        colors_[kIdRunBannerText] = {RGB(255, 255, 255), kBannerRed};
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
