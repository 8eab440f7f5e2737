#include "app/cleaner/CleanerDialog.h"

#include "app/App.h"
#include "app/cleaner/CleanerDialogLayout.h"
#include "cleaner/RegistryTraces.h"
#include "win/Window.h"

namespace cleaner {

namespace {

constexpr wchar_t kClassName[] = L"KestavelFastCleaner";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr UINT_PTR kReportTimer = 1;
constexpr UINT kReportMs = 50;  // how often the window takes the reports of its workers, should a wake-up be lost
constexpr UINT kMsgWorkerNews = WM_APP + 1;  // a worker has posted a report to the relay

}  // namespace

using namespace layout;

CleanerDialog::CleanerDialog(App& app, const JournalFile& journal)
    : app_(app), journal_(journal), relay_(std::make_shared<CleanerRelay>()) {}

CleanerDialog::~CleanerDialog() {
    if (window_)
        close();
}

bool CleanerDialog::create(HWND owner) {
    if (!win::RegisterWindowClass(app_.instance, kClassName, Proc, app_.pictures.icon(IDI_APP),
                                  app_.pictures.smallIcon(IDI_APP)))
        return false;
    // The owner's scale until the dialog knows its own, which is the same but across monitors.
    dpi_ = win::DpiOf(owner);
    const win::Scale scale(dpi_);
    const win::Placement at =
        win::CentredPlacement(scale(kClientWidth), scale(kClientHeight), kStyle, WS_EX_CONTROLPARENT);
    if (!::CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, kTitle, kStyle, at.x, at.y, at.width, at.height, owner,
                           nullptr, app_.instance, this))
        return false;
    pageBrush_.reset(::CreateSolidBrush(kPageBack));
    sheetBrush_.reset(::CreateSolidBrush(kSheetBack));
    buildBanner();
    buildTabs();
    // Made at the owner's scale (and cut to the screen by the system if larger): the window's own scale and
    // the table's client area at that scale, exactly.
    onDpiChanged(win::DpiOf(window_), nullptr);
    showPage(kGeneral);
    relay_->attach(window_, kMsgWorkerNews);
    ::SetTimer(window_, kReportTimer, kReportMs, nullptr);
    updateRunButtons();
    return true;
}

void CleanerDialog::run(HWND owner) {
    owner_ = owner;
    ::EnableWindow(owner_, FALSE);
    if (!create(owner)) {
        if (window_)
            ::DestroyWindow(window_);
        ::EnableWindow(owner_, TRUE);
        return;
    }
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    MSG message;
    while (window_) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the quit message belongs to the main loop.
            if (got == 0)
                ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        // Escape anywhere in the dialog is the close box. Taken here, before a control sees it: a multi-line
        // text box would otherwise close its own parent, the tab's page.
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
            (message.hwnd == window_ || ::IsChild(window_, message.hwnd))) {
            requestClose();
            continue;
        }
        if (!::IsDialogMessageW(window_, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    if (window_)
        close();
}

LRESULT CALLBACK CleanerDialog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = win::WindowObject<CleanerDialog>(window, message, lParam);
    if (self && message == WM_NCCREATE)
        self->window_ = window;
    if (message == WM_NCDESTROY) {
        if (self)
            self->window_ = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return self ? self->handle(message, wParam, lParam) : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CleanerDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
                showPage(TabCtrl_GetCurSel(tabs_));
                return 0;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            LRESULT brush = 0;
            if (brushFor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam), &brush))
                return brush;
            break;
        }
        case WM_TIMER:
            if (wParam == kReportTimer) {
                onTimer();
                return 0;
            }
            break;
        case kMsgWorkerNews:
            onTimer();
            return 0;
        case WM_CLOSE:
            requestClose();
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_GETMINMAXINFO:
            AllowClientArea(window_, win::Scale(dpi_)(SIZE{kClientWidth, kClientHeight}),
                            reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

// The dialog has moved to a monitor of another scale (or was made on one): it takes the place Windows
// suggests, and its client area the table's size at that scale; every control follows.
void CleanerDialog::onDpiChanged(UINT dpi, const RECT* suggested) {
    dpi_ = dpi ? dpi : win::kBaseDpi;
    FitClientArea(window_, win::Scale(dpi_)(SIZE{kClientWidth, kClientHeight}), suggested);
    place();
}

bool CleanerDialog::brushFor(HWND control, HDC dc, LRESULT* brush) {
    const int id = ::GetDlgCtrlID(control);
    if (id == kIdDnsText) {
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, kSheetBack);
        *brush = reinterpret_cast<LRESULT>(sheetBrush_.get());
        return true;
    }
    // Everything else on the pages sits on the page's colour.
    if (::GetParent(control) == tabs_ || control == tabs_)
        return false;
    auto found = textColors_.find(control);
    ::SetTextColor(dc, found != textColors_.end() ? found->second : ::GetSysColor(COLOR_BTNTEXT));
    ::SetBkColor(dc, kPageBack);
    ::SetBkMode(dc, TRANSPARENT);
    *brush = reinterpret_cast<LRESULT>(pageBrush_.get());
    return true;
}

void CleanerDialog::onCommand(int id, int code) {
    if (id == IDCANCEL) {  // Escape
        requestClose();
        return;
    }
    if (code != BN_CLICKED)
        return;
    if (id >= kIdCheckFirst && id < kIdCheckFirst + kCleanerItemCount) {
        const int item = id - kIdCheckFirst;
        relay_->setTicked(static_cast<CleanerItem>(item),
                          ::SendMessageW(checks_[item], BM_GETCHECK, 0, 0) == BST_CHECKED);
        return;
    }
    for (const AgeOption& option : kAgeOptions) {
        if (id == option.id) {
            relay_->setAgeRule(option.rule);
            return;
        }
    }
    switch (id) {
        case kIdSelectAll:
            tickAll(true);
            break;
        case kIdDeselectAll:
            tickAll(false);
            break;
        case kIdClean:
            startCleaning();
            break;
        case kIdClose:
            requestClose();
            break;
        case kIdDnsShow:
            startDnsCommand(false);
            break;
        case kIdDnsFlush:
            if (ask(kConfirmFlush, MB_YESNO | MB_ICONWARNING) == IDYES)
                startDnsCommand(true);
            break;
        case kIdMruShow:
            startMruWork(MruWork::Show);
            break;
        case kIdMruValues:
            startMruWork(MruWork::CleanValues);
            break;
        case kIdMruAll:
            startMruWork(MruWork::ResetKey);
            break;
    }
}

void CleanerDialog::showPage(int index) {
    for (int i = 0; i < static_cast<int>(pages_.size()); ++i)
        ::ShowWindow(pages_[i], i == index ? SW_SHOW : SW_HIDE);
}

void CleanerDialog::tickAll(bool on) {
    for (int item = 0; item < kCleanerItemCount; ++item) {
        ::SendMessageW(checks_[item], BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        relay_->setTicked(static_cast<CleanerItem>(item), on);
    }
}

bool CleanerDialog::anyTicked() const {
    for (HWND check : checks_) {
        if (::SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED)
            return true;
    }
    return false;
}

void CleanerDialog::requestClose() {
    // A question or notice is open over the dialog: it is answered first.
    if (modal_ > 0)
        return;
    if (runActive_) {
        if (ask(kConfirmStop, MB_YESNO | MB_ICONWARNING) != IDYES || !window_)
            return;
        // The run winds down by itself; the dialog does not wait for it.
        CleanerRun::requestStop();
    }
    close();
}

void CleanerDialog::close() {
    relay_->detach();
    if (dnsStop_)
        dnsStop_->stop();
    ::KillTimer(window_, kReportTimer);
    // The owner first, so that it takes the activation back when the dialog goes.
    ::EnableWindow(owner_, TRUE);
    ::DestroyWindow(window_);
}

int CleanerDialog::ask(const wchar_t* text, UINT flags) {
    ++modal_;
    const int answer = ::MessageBoxW(window_, text, kMessageTitle, flags);
    --modal_;
    return answer;
}

}  // namespace cleaner
