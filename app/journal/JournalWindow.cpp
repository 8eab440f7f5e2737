#include "app/journal/JournalWindow.h"

#include "controls/PlainTip.h"
#include "journal/JournalFile.h"
#include "journal/JournalSettings.h"
#include "win/Clipboard.h"
#include "win/Files.h"
#include "win/Strings.h"
#include "win/Window.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace {

constexpr wchar_t kClassName[] = L"KestavelJournal";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr COLORREF kExplanationColor = RGB(0x72, 0xa5, 0xdc);
// Bytes read between two looks at the message queue: a few milliseconds of work, so that the window
// answers at once while a journal of any size loads.
constexpr size_t kSliceBytes = 1 << 20;
// The list learns of the rows read at this pace, not after every slice: each new count costs the list
// about 10 ms under Wine.
constexpr DWORD kRowsUpdateMs = 100;
// The clearing worker's wake-up message, and the timer that takes its news should a wake-up be lost.
constexpr UINT kMsgClearingNews = WM_APP + 1;
constexpr UINT_PTR kClearingTimer = 1;
constexpr UINT kClearingPollMs = 250;

constexpr int kListColumnWidth = 680;
// The option box grows to fit its sentence, up to this far short of "Effacer".
constexpr int kOptionGap = 10;

struct ControlSpec {
    JournalWindow::ControlId id;
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    const wchar_t* text;
    const wchar_t* tip;
};

// The window as the user sees it, top to bottom; its places are JournalWindow::kPlaces.
constexpr ControlSpec kControls[] = {
    {JournalWindow::kIdExplanation, L"STATIC", SS_LEFT | SS_NOPREFIX, 0,
     L"Lorsqu'une erreur ou un événement particulier survient lors de la destruction d'un fichier, un rapport est "
     L"généré et consigné ici.\nPour annuler la création automatique de ce journal, cochez l'option dans les "
     L"préférences.",
     nullptr},
    {JournalWindow::kIdEvents, WC_LISTVIEWW,
     WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, WS_EX_CLIENTEDGE, L"", nullptr},
    // Hidden, and the list as above, unless the journal holds more lines than the window keeps.
    {JournalWindow::kIdOlderLines, L"STATIC", SS_LEFT | SS_NOPREFIX, 0, L"", nullptr},
    {JournalWindow::kIdDeleteOnClose, L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0,
     L" Effacer systématiquement le rapport à la fermeture de la fenêtre.", nullptr},
    {JournalWindow::kIdClear, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, L"Effacer",
     L"Supprimer le rapport immédiatement."},
    {JournalWindow::kIdClose, L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, L"Fermer",
     L"Quitter le journal et fermer la fenêtre."},
};

}  // namespace

void JournalWindow::run(HWND owner, const std::wstring& configFolder) {
    JournalWindow window(owner, configFolder);
    if (!window.create())
        return;
    window.loop();
}

JournalWindow::JournalWindow(HWND owner, const std::wstring& configFolder)
    : owner_(owner),
      journalPath_(JournalFile(configFolder).path()),
      settingsPath_(JournalSettings::Path(configFolder)) {}

bool JournalWindow::create() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!win::RegisterWindowClass(instance, kClassName, Proc))
        return false;
    dpi_ = win::DpiOf(owner_);
    const win::Scale scale(dpi_);
    const win::Placement at = win::CentredPlacement(scale(kClientWidth), scale(kClientHeight), kStyle);
    if (!::CreateWindowExW(0, kClassName, kTitle, kStyle, at.x, at.y, at.width, at.height, owner_, nullptr, instance,
                           this))
        return false;
    clearings_->attach(window_, kMsgClearingNews);
    if (owner_)
        ::EnableWindow(owner_, FALSE);
    build();
    // Made at the owner's scale (and cut to the screen by the system if larger): the window's own scale and
    // the table's client area at that scale, exactly.
    onDpiChanged(win::DpiOf(window_), nullptr);
    JournalSettings::ReadDeleteOnClose(settingsPath_, &deleteOnClose_);
    ::SendMessageW(option_, BM_SETCHECK, deleteOnClose_ ? BST_CHECKED : BST_UNCHECKED, 0);
    // The window appears with its first rows.
    fill();
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    return true;
}

void JournalWindow::build() {
    if (owner_) {
        ::SendMessageW(window_, WM_SETICON, ICON_BIG, ::GetClassLongPtrW(owner_, GCLP_HICON));
        ::SendMessageW(window_, WM_SETICON, ICON_SMALL, ::GetClassLongPtrW(owner_, GCLP_HICONSM));
    }
    tips_ = PlainTip::Create(window_);
    for (const ControlSpec& spec : kControls) {
        HWND control = ::CreateWindowExW(spec.exStyle, spec.className, spec.text, WS_CHILD | WS_VISIBLE | spec.style, 0,
                                         0, 0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                         ::GetModuleHandleW(nullptr), nullptr);
        places_.add(control, PlaceIn(JournalWindow::kPlaces, spec.id), FontRole::Dialog);
        if (spec.tip)
            PlainTip::AddTool(tips_, control, spec.tip);
    }
    list_ = ::GetDlgItem(window_, kIdEvents);
    option_ = ::GetDlgItem(window_, kIdDeleteOnClose);
    clear_ = ::GetDlgItem(window_, kIdClear);
    note_ = ::GetDlgItem(window_, kIdOlderLines);
    ::ShowWindow(note_, SW_HIDE);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    addRowTip();
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = kListColumnWidth;
    column.pszText = const_cast<wchar_t*>(L"Événements");
    ListView_InsertColumn(list_, 0, &column);
}

void JournalWindow::place() {
    const win::Scale scale(dpi_);
    places_.place(scale, fonts_);
    sizeList();
    fitOption();
    ListView_SetColumnWidth(list_, 0, scale(kListColumnWidth));
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
    const LONG screenWidth = monitor.rcWork.right - monitor.rcWork.left;
    ::SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, std::max<LONG>(screenWidth - scale(40), scale(kClientWidth)));
    ::InvalidateRect(window_, nullptr, TRUE);
}

// The window has moved to a monitor of another scale (or was made on one): it takes the place Windows
// suggests, and its client area the table's size at that scale; every control follows.
void JournalWindow::onDpiChanged(UINT dpi, const RECT* suggested) {
    dpi_ = dpi ? dpi : win::kBaseDpi;
    FitClientArea(window_, win::Scale(dpi_)(SIZE{kClientWidth, kClientHeight}), suggested);
    place();
}

namespace {

constexpr UINT_PTR kRowTipSubclass = 0x4a52;

}  // namespace

// The column cuts a long line with "…": the row under the resting pointer shows its whole line in the
// window's tooltip, asked for each time it shows (TTN_GETDISPINFOW). The list view's own info tip would do
// it on Windows, but Wine's list view never asks for one. A tip may be as wide as the screen, its line
// wrapped at spaces only beyond that, so a long path stays on one line of the tip.
void JournalWindow::addRowTip() {
    if (!tips_)
        return;
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SetWindowSubclass(list_, RowTipProc, kRowTipSubclass, reinterpret_cast<DWORD_PTR>(this));
}

int JournalWindow::rowUnderPointer() const {
    LVHITTESTINFO hit = {};
    ::GetCursorPos(&hit.pt);
    ::ScreenToClient(list_, &hit.pt);
    const int row = ListView_HitTest(list_, &hit);
    return row >= 0 && static_cast<size_t>(row) < rows_ && (hit.flags & LVHT_ONITEM) ? row : -1;
}

// The tooltip keeps the text it was given while the pointer stays on the list: moving to another row takes
// the tip away, and it comes back, asked for anew, once the pointer rests on that row.
LRESULT CALLBACK
JournalWindow::RowTipProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<JournalWindow*>(data);
    if (message == WM_MOUSEMOVE) {
        const int row = self->rowUnderPointer();
        if (row != self->tipRow_) {
            self->tipRow_ = row;
            ::SendMessageW(self->tips_, TTM_POP, 0, 0);
        }
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(list, RowTipProc, kRowTipSubclass);
    }
    return ::DefSubclassProc(list, message, wParam, lParam);
}

void JournalWindow::rowTipText(NMTTDISPINFOW& info) {
    const int row = rowUnderPointer();
    tipRow_ = row;
    tipText_.clear();
    if (row >= 0 && !placeholder_) {
        const size_t length = lines_.line(static_cast<size_t>(row)).size();
        try {
            tipText_.assign(length + 1, L'\0');
            lines_.copyLine(static_cast<size_t>(row), tipText_.data(), tipText_.size());
            tipText_.resize(length);
        } catch (const std::bad_alloc&) {
            tipText_.clear();
        }
    }
    // An empty text shows no tip: for the space under the last row, and the row that says there is none.
    info.lpszText = tipText_.data();
    info.hinst = nullptr;
}

void JournalWindow::fitOption() {
    // With the fonts of some systems the option's sentence is wider than its 330 pixels; the box then
    // grows to the right, short of the buttons, so that the sentence is never cut.
    const win::Scale scale(dpi_);
    RECT place;
    ::GetWindowRect(option_, &place);
    ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    const int needed = TextWidth(option_) + win::MetricFor(SM_CXMENUCHECK, dpi_) + scale(8);
    RECT clearPlace;
    ::GetWindowRect(clear_, &clearPlace);
    ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&clearPlace), 2);
    const int width = std::min<int>(needed, clearPlace.left - scale(kOptionGap) - place.left);
    if (width > place.right - place.left)
        ::SetWindowPos(option_, nullptr, 0, 0, width, place.bottom - place.top, SWP_NOMOVE | SWP_NOZORDER);
}

void JournalWindow::fill() {
    switch (lines_.open(journalPath_)) {
        case JournalLines::Open::Missing:
            ::EnableWindow(clear_, FALSE);
            placeholderText_ = kNoEvents;
            showRows(1, true);
            break;
        case JournalLines::Open::Unreadable:
            break;  // the list stays empty and "Effacer" may still delete the file
        case JournalLines::Open::Reading:
            rowsShownAt_ = 0;
            readSlice();
            break;
    }
}

void JournalWindow::readSlice() {
    const bool more = lines_.readSome(kSliceBytes);
    const DWORD now = ::GetTickCount();
    if (!more || rowsShownAt_ == 0 || now - rowsShownAt_ >= kRowsUpdateMs) {
        // While the older lines are counted the rows stay as they are: the list is not told again.
        if (lines_.count() != rows_ || !more)
            showRows(lines_.count(), false);
        showOlderLines();
        rowsShownAt_ = now | 1;  // never 0, which means "not yet"
    }
}

void JournalWindow::showRows(size_t count, bool placeholder) {
    placeholder_ = placeholder;
    rows_ = count;
    ListView_SetItemCountEx(list_, static_cast<int>(count), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void JournalWindow::showOlderLines() {
    const bool show = lines_.olderLines() > 0;
    if (show) {
        const std::wstring note = OlderLinesNote(lines_.olderLines(), lines_.reading());
        if (note != noteText_)
            ::SetWindowTextW(note_, (noteText_ = note).c_str());
    }
    if (show == noteShown_)
        return;
    noteShown_ = show;
    sizeList();
    ::ShowWindow(note_, show ? SW_SHOWNA : SW_HIDE);
}

void JournalWindow::sizeList() {
    RECT place;
    ::GetWindowRect(list_, &place);
    const RECT& full = PlaceIn(JournalWindow::kPlaces, kIdEvents);
    const int height = win::Scale(dpi_)(noteShown_ ? kListHeightWithNote : full.bottom - full.top);
    ::SetWindowPos(list_, nullptr, 0, 0, place.right - place.left, height, SWP_NOMOVE | SWP_NOZORDER);
}

void JournalWindow::onListKey(WORD key) {
    if (::GetKeyState(VK_CONTROL) >= 0 || rows_ == 0)
        return;
    if (key == 'A') {
        // Wine applies an "every row" change row by row and repaints each row as it goes; with drawing
        // suspended the rows are repainted once, and a million rows are selected at once.
        ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
        ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list_, nullptr, FALSE);
    } else if (key == 'C') {
        copySelection();
    }
}

// The selected lines, whole, one CR LF between two of them, as a Windows list copies its rows. The text is
// decoded straight into the clipboard's memory, sized first: a line of Windows-1252 is as many UTF-16
// characters as it has bytes. When the system cannot give that much memory (every row of a full journal
// is about 300 MB of text), nothing is copied, the clipboard keeps what it held, and the window beeps.
void JournalWindow::copySelection() {
    if (placeholder_)
        return;
    // After Ctrl+A every row is selected: the rows are then taken in order, without asking the list for
    // each one.
    const bool everyRow = static_cast<size_t>(ListView_GetSelectedCount(list_)) == rows_;
    const auto next = [&](int row) {
        if (everyRow)
            return static_cast<size_t>(row + 1) < rows_ ? row + 1 : -1;
        return ListView_GetNextItem(list_, row, LVNI_SELECTED);
    };
    unsigned long long chars = 1;  // the terminating zero
    int row = -1;
    size_t selected = 0;
    while ((row = next(row)) >= 0) {
        chars += lines_.line(static_cast<size_t>(row)).size() + (selected > 0 ? 2 : 0);
        ++selected;
    }
    if (selected == 0)
        return;
    const unsigned long long bytes = chars * sizeof(wchar_t);
    win::UniqueGlobal memory(bytes <= SIZE_MAX ? ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(bytes)) : nullptr);
    auto* text = memory ? static_cast<wchar_t*>(::GlobalLock(memory.get())) : nullptr;
    if (!text) {
        ::MessageBeep(MB_ICONWARNING);
        return;
    }
    wchar_t* at = text;
    row = -1;
    for (size_t done = 0; done < selected && (row = next(row)) >= 0; ++done) {
        if (done > 0) {
            *at++ = L'\r';
            *at++ = L'\n';
        }
        const size_t length = lines_.line(static_cast<size_t>(row)).size();
        lines_.copyLine(static_cast<size_t>(row), at, length + 1);
        at += length;
    }
    *at = L'\0';
    ::GlobalUnlock(memory.get());
    if (!win::PutClipboardText(window_, std::move(memory)))
        ::MessageBeep(MB_ICONWARNING);
}

std::wstring JournalWindow::OlderLinesNote(unsigned long long count, bool counting) {
    if (counting)
        return L"Les lignes les plus anciennes ne sont pas affichées (décompte en cours).";
    if (count == 1)
        return L"La ligne la plus ancienne n'est pas affichée.";
    std::wstring figure = std::to_wstring(count);
    for (size_t at = figure.size(); at > 3; at -= 3)
        figure.insert(at - 3, 1, L'\u00A0');
    return L"Les " + figure + L" lignes les plus anciennes ne sont pas affichées.";
}

void JournalWindow::loop() {
    MSG message;
    for (;;) {
        if (ending_)
            break;
        // A window asked to close waits for its clearing, and for the one the option asks for, answering
        // all along.
        if (closeRequested_ && !clearing_ && !startClearingAtClose())
            break;
        if (lines_.reading() && !::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            readSlice();
            continue;
        }
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the quit request is for the main loop, after this window has closed.
            if (got == 0)
                ::PostQuitMessage(static_cast<int>(message.wParam));
            ending_ = true;
            break;
        }
        if (!::IsDialogMessageW(window_, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    close();
}

namespace {

std::wstring ClearingFailure(const journal::ClearResult& result, const std::wstring& path) {
    const std::wstring text = std::wstring(JournalWindow::kClearingFailed) + L"\r\r";
    if (result.outcome == journal::ClearOutcome::Link)
        return text + L"[" + path + L"] est un lien ou passe par un lien : il est laissé en place, sa cible intacte.";
    return text + win::SystemErrorText(result.error);
}

}  // namespace

// The journal is cleared off the window's thread: a journal of gigabytes takes seconds to overwrite. The
// window's own reading lets go of the file first; meanwhile "Effacer" is disabled, the list's one row says
// the clearing goes on and the pointer shows the work.
void JournalWindow::startClearing(bool atClose) {
    lines_.clear();
    showOlderLines();
    clearing_ = true;
    ::EnableWindow(clear_, FALSE);
    placeholderText_ = kClearing;
    showRows(1, true);
    ::InvalidateRect(list_, nullptr, TRUE);
    ::SetTimer(window_, kClearingTimer, kClearingPollMs, nullptr);
    auto box = clearings_;
    // "Effacer" clears a read-only journal too; the option at closing leaves it, as it always has.
    if (!journal::clearing::Start(journalPath_, !atClose,
                                  [box](const journal::ClearResult& result) { box->post(result); })) {
        clearings_->post({journal::ClearOutcome::Failed, ERROR_BUSY});
    }
}

void JournalWindow::takeClearingNews() {
    for (const journal::ClearResult& result : clearings_->take()) {
        if (!clearing_)
            continue;
        clearing_ = false;
        ::KillTimer(window_, kClearingTimer);
        using journal::ClearOutcome;
        if (result.outcome == ClearOutcome::Cleared || result.outcome == ClearOutcome::Missing) {
            // Nothing left to show or to clear.
            showRows(0, false);
            continue;
        }
        if (result.outcome != ClearOutcome::ReadOnly)
            ::MessageBoxW(window_, ClearingFailure(result, journalPath_).c_str(), kTitle, MB_OK | MB_ICONWARNING);
        if (!closeRequested_) {
            // What is left of the journal shows again.
            ::EnableWindow(clear_, TRUE);
            fill();
        }
    }
}

bool JournalWindow::startClearingAtClose() {
    if (clearedAtClose_ || !deleteOnClose_ || !win::Exists(journalPath_))
        return false;
    clearedAtClose_ = true;
    startClearing(true);
    return true;
}

void JournalWindow::close() {
    lines_.clear();
    // The program is ending, or the main window has taken this one with it: the clearing the option asks
    // for still starts, and the exit waits for it (MainWindow::letRunStop); no window is left to hear of it.
    if (ending_ && !clearing_ && !clearedAtClose_ && deleteOnClose_ && win::Exists(journalPath_))
        journal::clearing::Start(journalPath_, false, nullptr);
    clearings_->detach();
    JournalSettings::WriteDeleteOnClose(settingsPath_, deleteOnClose_);
    // The owner is enabled first, so that it, and not another program, becomes active.
    if (owner_ && ::IsWindow(owner_))
        ::EnableWindow(owner_, TRUE);
    if (::IsWindow(window_))
        ::DestroyWindow(window_);
}

LRESULT CALLBACK JournalWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = win::WindowObject<JournalWindow>(window, message, lParam);
    if (self && message == WM_NCCREATE)
        self->window_ = window;
    return self ? self->handle(message, wParam, lParam) : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT JournalWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED)
                break;
            if (LOWORD(wParam) == kIdClose || LOWORD(wParam) == IDCANCEL)
                closeRequested_ = true;
            else if (LOWORD(wParam) == kIdClear && !clearing_)
                startClearing(false);
            else if (LOWORD(wParam) == kIdDeleteOnClose)
                deleteOnClose_ = ::SendMessageW(option_, BM_GETCHECK, 0, 0) == BST_CHECKED;
            return 0;
        case WM_NOTIFY: {
            const NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
            // A key typed in the list looks for a row starting with it: none is offered.
            if (header.code == LVN_ODFINDITEMW)
                return -1;
            if (header.idFrom == kIdEvents && header.code == LVN_KEYDOWN) {
                onListKey(reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey);
                return 0;
            }
            if (header.hwndFrom == tips_ && header.code == TTN_GETDISPINFOW &&
                header.idFrom == reinterpret_cast<UINT_PTR>(list_)) {
                rowTipText(*reinterpret_cast<NMTTDISPINFOW*>(lParam));
                return 0;
            }
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
            if (info->hdr.idFrom != kIdEvents || info->hdr.code != LVN_GETDISPINFOW)
                break;
            if (info->item.mask & LVIF_TEXT) {
                const auto row = static_cast<size_t>(info->item.iItem);
                if (placeholder_)
                    lstrcpynW(info->item.pszText, placeholderText_, info->item.cchTextMax);
                else
                    lines_.copyLine(row, info->item.pszText, static_cast<size_t>(info->item.cchTextMax));
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kIdExplanation) {
                auto dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, kExplanationColor);
                ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_CLOSE:
            closeRequested_ = true;
            return 0;
        case kMsgClearingNews:
            takeClearingNews();
            return 0;
        case WM_TIMER:
            if (wParam == kClearingTimer)
                takeClearingNews();
            return 0;
        case WM_SETCURSOR:
            // Over the window and its controls, which ask their parent first.
            if (clearing_ && LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
                return TRUE;
            }
            break;
        case WM_DPICHANGED:
            onDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_GETMINMAXINFO:
            AllowClientArea(window_, win::Scale(dpi_)(SIZE{kClientWidth, kClientHeight}),
                            reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_DESTROY:
            // Also when the main window goes first and takes this one with it: the loop then ends without
            // waiting for anything, and the closing steps still run with the option as the user left it.
            closeRequested_ = true;
            ending_ = true;
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}
