// The main window's content: header, left column, menus and the notification-area icon.
#include "app/App.h"
#include "app/main/ControlIds.h"
#include "app/Environment.h"
#include "app/main/Greeting.h"
#include "app/main/MainWindow.h"
#include "app/main/MainWindowLayout.h"
#include "controls/Panel.h"
#include "controls/PictureBox.h"
#include "controls/BalloonTip.h"
#include "controls/ExplorerBar.h"
#include "shred/OverwriteMethod.h"
#include "shred/Presets.h"

#include <commctrl.h>
#include <shellapi.h>

#include <iterator>
#include <vector>

using namespace mainwin::layout;

namespace {

// The presets' pictures, by PresetPicture.
constexpr int kPresetPictures[] = {IDB_MENU_RECYCLE, IDB_MENU_INTERNET, IDB_MENU_HISTORY, IDB_MENU_FOLDER,
                                   IDB_MENU_DOCUMENTS};
static_assert(std::size(kPresetPictures) == kPresetPictureCount, "one picture per PresetPicture");

void AppendItem(HMENU menu, int command, const wchar_t* text, HBITMAP picture) {
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_STRING | (picture ? MIIM_BITMAP : 0);
    item.wID = static_cast<UINT>(command);
    item.dwTypeData = const_cast<wchar_t*>(text);
    item.hbmpItem = picture;
    ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &item);
}

}  // namespace

void MainWindow::buildHeader() {
    // The pictures, and the greeting drawn on the header, come with the window's scale (scaleHeader).
    greeting_[0] = GreetingFirstLine(LastFolderName(ProfileFolderPath() + L"\\"), IsAdministrator() == 1);
    greeting_[1] = GreetingSecondLine(FrenchDateLine());
    headerBox_ = PictureBox::Create(window_, kHeaderPicture.left, kHeaderPicture.top, Width(kHeaderPicture),
                                    Height(kHeaderPicture), nullptr);
    ::SetWindowLongPtrW(headerBox_, GWLP_ID, kIdHeader);
    cornerBox_ = PictureBox::Create(window_, kCornerPicture.left, kCornerPicture.top, Width(kCornerPicture),
                                    Height(kCornerPicture), nullptr, kCornerPictureName);
    ::SetWindowLongPtrW(cornerBox_, GWLP_ID, kIdCorner);
}

void MainWindow::buildLeftColumn() {
    // While a run or a scan works, a picture covers the column so that nothing there can be used.
    const RECT& column = kLeftColumn;
    leftCover_ =
        PictureBox::Create(window_, column.left, column.top, Width(column), Height(column), nullptr, kCoverPictureName);
    ::SetWindowLongPtrW(leftCover_, GWLP_ID, kIdLeftCover);
    ::ShowWindow(leftCover_, SW_HIDE);
    leftColumn_ = ExplorerBar::Create(window_, kIdLeftColumn, column.left, column.top, Width(column), Height(column));

    std::vector<HWND> containers;
    for (const ColumnEntry& entry : kColumnEntries) {
        // Pictures and fonts of the window's scale come with scaleLeftColumn.
        const ItemDescriptor item = {entry.type, entry.height, entry.command, nullptr};
        const INT_PTR added = ExplorerBar::AddItem(leftColumn_, -1, entry.caption, nullptr, &item);
        if (entry.type == ExplorerBar::kContainer)
            containers.push_back(reinterpret_cast<HWND>(added));
    }
    HWND methodPanel = containers.at(0);
    HWND treePanel = containers.at(1);

    const RECT& combo = kMethodCombo;
    methodCombo_ =
        ::CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, combo.left,
                          combo.top, Width(combo), Height(combo), methodPanel,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdMethodCombo)), app_.instance, nullptr);
    for (const OverwriteMethod& method : kOverwriteMethods)
        ::SendMessageW(methodCombo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(method.label));
    ::SendMessageW(methodCombo_, CB_SETCURSEL, kDefaultMethodIndex, 0);
    AttachBalloonTip(nullptr, methodCombo_, kMethodTipTitle, kMethodTip, reinterpret_cast<HICON>(TTI_INFO));

    const RECT& label = kRepetitionsCaption;
    repetitionsCaption_ =
        ::CreateWindowExW(0, WC_STATICW, kRepetitionsCaptionText, WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, label.left,
                          label.top, Width(label), Height(label), methodPanel,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepetitionsCaption)), app_.instance, nullptr);
    // Arrows only: the count cannot be typed, so it is always a number between 1 and the maximum.
    const RECT& edit = kRepetitionsEdit;
    repetitionsEdit_ =
        ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, L"1", WS_CHILD | WS_VISIBLE | ES_READONLY | ES_NUMBER | ES_CENTER,
                          edit.left, edit.top, Width(edit), Height(edit), methodPanel,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepetitionsEdit)), app_.instance, nullptr);
    repetitionsSpin_ = ::CreateWindowExW(
        0, UPDOWN_CLASSW, L"",
        WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0,
        methodPanel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepetitionsSpin)), app_.instance, nullptr);
    ::SendMessageW(repetitionsSpin_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(repetitionsEdit_), 0);
    RECT spin = {};
    ::GetWindowRect(repetitionsSpin_, &spin);
    spinWidth_ = Width(spin);
    ::SendMessageW(repetitionsSpin_, UDM_SETRANGE32, 1, kMaxRepetitions);
    ::SendMessageW(repetitionsSpin_, UDM_SETPOS32, 0, 1);
    AttachBalloonTip(nullptr, repetitionsEdit_, kRepetitionsTipTitle, kRepetitionsTip,
                     reinterpret_cast<HICON>(TTI_INFO));

    const RECT& tree = kExplorerTree;
    explorerTree_.create(treePanel, kIdExplorerTree, tree.left, tree.top, Width(tree), Height(tree));
}

// Built again at every change of scale, with that scale's pictures.
void MainWindow::buildMenus() {
    // One item per preset row, in the rows' order: the item's command names its row.
    presetsMenu_.reset(::CreatePopupMenu());
    HMENU submenu = nullptr;
    const wchar_t* submenuName = nullptr;
    for (const PresetRow& preset : kPresets) {
        HMENU target = presetsMenu_.get();
        if (preset.submenu) {
            if (!submenuName || wcscmp(submenuName, preset.submenu) != 0) {
                submenu = ::CreatePopupMenu();
                submenuName = preset.submenu;
                ::AppendMenuW(presetsMenu_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), preset.submenu);
            }
            target = submenu;
        }
        const int command = kCmdPresetFirst + static_cast<int>(preset.preset);
        AppendItem(target, command, preset.label,
                   app_.pictures.bitmap(kPresetPictures[static_cast<size_t>(preset.picture)], dpi_));
        if (preset.separatorAfter)
            ::AppendMenuW(target, MF_SEPARATOR, 0, nullptr);
        const bool offered = preset.needs == PresetNeeds::Nothing ||
                             (preset.needs == PresetNeeds::VirtualizedCache && app_.presets.virtualizedCache) ||
                             (preset.needs == PresetNeeds::Firefox && app_.presets.firefoxCache);
        if (!offered)
            ::EnableMenuItem(presetsMenu_.get(), command, MF_BYCOMMAND | MF_GRAYED);
    }

    treeMenu_.reset(::CreatePopupMenu());
    ::AppendMenuW(treeMenu_.get(), MF_STRING, kCmdTreeAdd, L"Ajouter pour destruction");
    ::AppendMenuW(treeMenu_.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(treeMenu_.get(), MF_STRING, kCmdTreeAddWithFolder, L"Ajouter aussi le dossier");
    ::AppendMenuW(treeMenu_.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(treeMenu_.get(), MF_STRING, kCmdTreeExplore, L"Explorer");
    ::AppendMenuW(treeMenu_.get(), MF_STRING, kCmdTreeOpen, L"Ouvrir");

    trayMenu_.reset(::CreatePopupMenu());
    AppendItem(trayMenu_.get(), kCmdCleaner, L"Nettoyage rapide", app_.pictures.bitmap(IDB_MENU_CLEANER, dpi_));
    ::AppendMenuW(trayMenu_.get(), MF_SEPARATOR, 0, nullptr);
    AppendItem(trayMenu_.get(), kCmdHelp, L"Aide ?", app_.pictures.bitmap(IDB_MENU_HELP, dpi_));
    AppendItem(trayMenu_.get(), kCmdQuit, L"Quitter", app_.pictures.bitmap(IDB_MENU_QUIT, dpi_));
}

void MainWindow::showPopup(HMENU menu, POINT at) {
    // The owner must be in front, or the menu does not close when the user clicks elsewhere.
    ::SetForegroundWindow(window_);
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
    ::PostMessageW(window_, WM_NULL, 0, 0);
}

void MainWindow::addTrayIcon() {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = 1;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kMsgTray;
    data.hIcon = app_.pictures.icon(IDI_TRAY, win::MetricFor(SM_CXSMICON, dpi_));
    lstrcpynW(data.szTip, L"Kestavel Shredder", static_cast<int>(std::size(data.szTip)));
    trayIcon_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void MainWindow::removeTrayIcon() {
    if (!trayIcon_)
        return;
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = 1;
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    trayIcon_ = false;
}
