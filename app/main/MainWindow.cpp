#include "app/main/MainWindow.h"

#include "app/App.h"
#include "app/main/ControlIds.h"
#include "app/main/ListWords.h"
#include "app/Environment.h"
#include "controls/BigButton.h"
#include "shred/ShellFolder.h"
#include "tools/ToolActions.h"
#include "app/tools/ToolItems.h"
#include "app/tools/ToolsView.h"
#include "win/Window.h"

#include <commctrl.h>

#include <new>

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 40;  // the run's displays are put on screen at this pace, whatever the worker does

}  // namespace

MainWindow::MainWindow(App& app)
    : app_(app),
      journal_(app.folders.config),
      shredView_(app, list_, runDisplay_),
      run_(list_, journal_, runWords_),
      scans_(list_) {}

bool MainWindow::create() {
    if (!win::RegisterWindowClass(app_.instance, kMainWindowClass, Proc, app_.pictures.icon(IDI_APP),
                                  app_.pictures.smallIcon(IDI_APP)))
        return false;
    // Made at the system's scale; once the window knows its own, applyScale sizes it again if need be.
    const win::Scale system(win::SystemDpi());
    const win::Placement place = win::CentredPlacement(system(kClientWidth), system(kClientHeight), kStyle);
    window_ = ::CreateWindowExW(0, kMainWindowClass, kProgramTitle, kStyle, place.x, place.y, place.width, place.height,
                                nullptr, nullptr, app_.instance, this);
    if (!window_)
        return false;
    dpi_ = win::DpiOf(window_);
    run_.attach(window_, kMsgWorkerNews);
    scans_.attach(window_, kMsgWorkerNews);
    explorerTree_.attach(window_, kMsgWorkerNews);
    buildHeader();
    buildLeftColumn();
    shredView_.create(window_);
    // The Windows tools view shares the right-hand area; it is hidden until the user asks for it.
    ToolsView::Pictures toolPictures;
    toolPictures.linkFont = app_.fonts.get(FontRole::BoldItalic);
    // Drawn for the window's scale; after a move to a screen of another scale the view draws them to it.
    toolPictures.itemIcons = app_.pictures.bitmap(IDR_TOOLS_ITEMS, dpi_);
    toolPictures.tabIcons = app_.pictures.bitmap(IDR_TOOLS_TABS, dpi_);
    using namespace mainwin::layout;
    toolsView_ = ToolsView::Create(window_, kIdToolsView, kRightArea.left, kRightArea.top, Width(kRightArea),
                                   Height(kRightArea), toolPictures);
    list_.setObserver(&shredView_);
    addTrayIcon();
    // Everything is built at the tables' 96-DPI places, then placed for the window's scale, the same way
    // as when the window moves to a screen of another scale.
    applyScale(nullptr);
    ::SetTimer(window_, kRefreshTimer, kRefreshMs, nullptr);
    return true;
}

void MainWindow::show() {
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
}

LRESULT CALLBACK MainWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = win::WindowObject<MainWindow>(window, message, lParam);
    if (!self)
        return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCCREATE)
        self->window_ = window;
    // No exception may cross the system's frames: memory that runs out where the window takes its input
    // (handed paths, a drop) is dealt with there, paths counted; anywhere else it is told here, and the
    // window goes on, a run's worker with it. The list keeps every entry whole (ShredList).
    try {
        return self->handle(message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        self->message(kOutOfMemoryTitle, kOutOfMemoryText, MB_OK | MB_ICONWARNING);
        return 0;
    }
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM:
            if (BigButton::Draw(message, wParam, lParam))
                return TRUE;
            break;
        case WM_COMMAND:
            // Owner-drawn buttons also report double clicks; for a button a command is one click.
            if (lParam && HIWORD(wParam) != BN_CLICKED)
                return 0;
            if (IsToolLink(LOWORD(wParam))) {
                runTool(LOWORD(wParam) - kToolLinkFirst);
                return 0;
            }
            onCommand(LOWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->idFrom == kIdShredList && header->code == LVN_GETDISPINFOW) {
                shredView_.onGetDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
                return 0;
            }
            if (header->idFrom == kIdShredList && header->code == LVN_KEYDOWN) {
                onListKey(reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey);
                return 0;
            }
            if (header->idFrom == kIdExplorerTree && header->code == NM_RCLICK) {
                showTreeMenu();
                return TRUE;
            }
            LRESULT answer = 0;
            if (explorerTree_.onNotify(*header, &answer))
                return answer;
            break;
        }
        case WM_CTLCOLORSTATIC: {
            COLORREF text = 0, back = 0;
            const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            // The repetition controls sit on the column's blue.
            const bool repetitions = id == kIdRepetitionsCaption || id == kIdRepetitionsEdit;
            if (repetitions) {
                using namespace mainwin::layout;
                text = id == kIdRepetitionsCaption ? kRepetitionsCaptionColor : kRepetitionsEditColor;
                back = kColumnBody;
            }
            if (repetitions || shredView_.colorsFor(reinterpret_cast<HWND>(lParam), &text, &back)) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, text);
                ::SetBkColor(dc, back);
                ::SetDCBrushColor(dc, back);
                return reinterpret_cast<LRESULT>(::GetStockObject(DC_BRUSH));
            }
            break;
        }
        case WM_TIMER:
            if (wParam == kRefreshTimer) {
                shredView_.refresh();
                takeWorkerNews();  // should a wake-up have been lost
                return 0;
            }
            break;
        case WM_DROPFILES:
            onDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_COPYDATA:
            return lParam ? onCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) : 0;
        case kMsgHandedPaths:
            queueHandedPaths();
            return 0;
        case WM_ENABLE:
            // A box or a dialog over the window has closed: what was handed meanwhile is queued now.
            if (wParam)
                ::PostMessageW(window_, kMsgHandedPaths, 0, 0);
            break;
        case WM_NEXTDLGCTL: {
            // Tab and Shift+Tab as a dialog handles them (the message loop passes keys through
            // IsDialogMessage): the next or previous control that takes the focus, or the one given.
            HWND focus = ::GetFocus();
            HWND next = lParam ? reinterpret_cast<HWND>(wParam)
                               : ::GetNextDlgTabItem(window_, focus == window_ ? nullptr : focus,
                                                     static_cast<BOOL>(wParam != 0));
            if (next)
                ::SetFocus(next);
            return 0;
        }
        case kMsgWorkerNews:
            takeWorkerNews();
            return 0;
        case kMsgTray:
            onTray(lParam);
            return 0;
        case WM_DPICHANGED:
            dpi_ = HIWORD(wParam);
            applyScale(reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_THEMECHANGED:
            app_.theme.refreshActive();
            break;
        case WM_CLOSE:
            requestQuit();
            return 0;
        case WM_DESTROY:
            ::KillTimer(window_, kRefreshTimer);
            removeTrayIcon();
            ::PostQuitMessage(0);
            return 0;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

// The workers' news, taken from their mailboxes: every message box it shows runs a message loop, which
// may bring the next news in before this call is over.
void MainWindow::takeWorkerNews() {
    explorerTree_.takeListings();
    for (const std::vector<ScanNotice>& notices : scans_.takeEnded())
        onScanDone(notices);
    if (std::optional<RunSummary> summary = run_.takeEnd())
        onRunDone(*summary);
}

// The tools view's links: the launch table reads the machine as it is at the moment of the click.
void MainWindow::runTool(int number) {
    ToolContext context;
    context.owner = window_;
    context.osLevel = app_.osLevel;
    app_.bitnessLabel = OsBitnessLabel();
    context.windows64 = app_.bitnessLabel == L"64 bit";
    context.systemFolder = SystemFolderPath();
    context.commandInterpreter = CommandInterpreterPath();
    context.appData = ShellFolderPath(ShellFolder::AppData);
    context.configFolder = app_.folders.config;
    RunToolAction(ToolItemAt(number).action, context);
}

int MainWindow::message(const wchar_t* title, const wchar_t* text, UINT flags) {
    return ::MessageBoxW(window_, text, title, flags);
}
