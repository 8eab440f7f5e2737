// The main window's content: header, left column, menus and the notification-area icon.
#include "app/App.h"
#include "app/main/ControlIds.h"
#include "app/Environment.h"
#include "app/main/Greeting.h"
#include "app/main/MainWindow.h"
#include "controls/Panel.h"
#include "controls/PictureBox.h"
#include "controls/BalloonTip.h"
#include "controls/ExplorerBar.h"
#include "shred/OverwriteMethod.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

namespace {

// The presets menu, in menu order; command numbers follow from kCmdPresetFirst.
struct PresetItem {
    const wchar_t* submenu;  // null: at the top level
    const wchar_t* text;
    int picture;
    bool separatorAfter;
};
constexpr PresetItem kPresets[] = {
    {nullptr, L"Corbeille Windows", IDB_MENU_RECYCLE, true},
    {L"Internet", L"Fichiers Internet Temporaires", IDB_MENU_INTERNET, false},
    {L"Internet", L"...\\Virtualized\\...", IDB_MENU_INTERNET, false},
    {L"Internet", L"Cookies", IDB_MENU_INTERNET, false},
    {L"Internet", L"Favoris", IDB_MENU_INTERNET, true},
    {L"Internet", L"FireFox Cache", IDB_MENU_INTERNET, false},
    {L"Historique", L"Historique", IDB_MENU_HISTORY, false},
    {L"Historique", L"Fichiers récents", IDB_MENU_HISTORY, false},
    {L"Historique", L"Fichiers temporaires", IDB_MENU_FOLDER, false},
    {L"Historique", L"Fichiers temp à graver", IDB_MENU_FOLDER, false},
    {L"Historique", L"Layouts du Prefetch", IDB_MENU_FOLDER, false},
    {L"Historique", L"Média Player cache", IDB_MENU_FOLDER, false},
    {L"Historique", L"Modèles", IDB_MENU_FOLDER, false},
    {L"Mes Documents", L"Ma Musique", IDB_MENU_DOCUMENTS, false},
    {L"Mes Documents", L"Mes images", IDB_MENU_DOCUMENTS, false},
    {L"Mes Documents", L"Mes Videos", IDB_MENU_DOCUMENTS, false},
    {L"Mes Documents", L"Mes Documents", IDB_MENU_DOCUMENTS, false},
};
constexpr int kPresetVirtualized = kCmdPresetFirst + 2;
constexpr int kPresetFirefox = kCmdPresetFirst + 5;

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
    HBITMAP header = app_.pictures.bitmap(IDR_HEADER);
    const std::wstring first = GreetingFirstLine(LastFolderName(ProfileFolderPath() + L"\\"), IsAdministrator() == 1);
    const std::wstring second = GreetingSecondLine(FrenchDateLine());
    const std::wstring text = DrawGreeting(app_, header, first, second) ? first + L"\r\n" + second : std::wstring();
    HWND box = PictureBox::Create(window_, 0, 0, 834, 60, header, text.c_str());
    ::SetWindowLongPtrW(box, GWLP_ID, kIdHeader);
    HWND corner = PictureBox::Create(window_, 834, 0, 180, 60, app_.pictures.bitmap(IDR_CORNER));
    ::SetWindowLongPtrW(corner, GWLP_ID, kIdCorner);
}

void MainWindow::buildLeftColumn() {
    // While a run or a scan works, a picture covers the column so that nothing there can be used.
    leftCover_ = PictureBox::Create(window_, 0, 60, 260, kClientHeight - 60, app_.pictures.bitmap(IDR_COVER));
    ::SetWindowLongPtrW(leftCover_, GWLP_ID, kIdLeftCover);
    ::ShowWindow(leftCover_, SW_HIDE);
    leftColumn_ = ExplorerBar::Create(window_, kIdLeftColumn, 0, 60, 260, kClientHeight - 60);

    using namespace ExplorerBar;
    struct Entry {
        ItemType type;
        int height;
        int command;
        const wchar_t* caption;
        int picture;
    };
    // The column, top to bottom; a container entry is filled with its controls below.
    static constexpr Entry kEntries[] = {
        {kHeader, 35, 0, L"Menu principal", IDR_GROUP_MAIN},
        {kLink, 25, kCmdHome, L"Accueil Kestavel Shredder", IDR_LINK_HOME},
        {kLink, 25, kCmdCleaner, L"Nettoyage rapide", IDR_LINK_CLEANER},
        {kLink, 25, kCmdTools, L"Outils Windows", IDR_LINK_TOOLS},
        {kLink, 25, kCmdQuit, L"Quitter Kestavel Shredder", IDR_LINK_QUIT},
        {kHeader, 35, 0, L"Destruction de fichiers", IDR_GROUP_SHRED},
        {kContainer, 60, 0, L"", 0},
        {kLink, 25, kCmdAddFiles, L"Ajouter un ou plusieurs fichiers", IDR_LINK_ADD_FILES},
        {kLink, 25, kCmdAddFolder, L"Ajouter un répertoire complet", IDR_LINK_ADD_FOLDER},
        {kLink, 30, kCmdPresets, L"Répertoires système...", IDR_LINK_PRESETS},
        {kLabel, 15, 0, L"Attention! Soyez sûr de vous.", 0},
        {kHeader, 35, 0, L"Explorateur système", IDR_GROUP_EXPLORER},
        {kContainer, 250, 0, L"", 0},
        {kHeader, 35, 0, L"Support", IDR_GROUP_SUPPORT},
        {kLink, 25, kCmdHelp, L"Ouvrir l'aide", IDR_LINK_HELP},
        {kLink, 25, kCmdAbout, L"A propos...", IDR_LINK_ABOUT},
    };
    std::vector<HWND> containers;
    for (const Entry& entry : kEntries) {
        const ItemDescriptor item = {entry.type, entry.height, entry.command,
                                     entry.type == kLabel ? app_.fonts.get(1) : nullptr};
        const INT_PTR added = AddItem(leftColumn_, -1, entry.caption,
                                      entry.picture ? app_.pictures.bitmap(entry.picture) : nullptr, &item);
        if (entry.type == kContainer)
            containers.push_back(reinterpret_cast<HWND>(added));
    }
    HWND methodPanel = containers.at(0);
    HWND treePanel = containers.at(1);

    methodCombo_ = ::CreateWindowExW(
        0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 10, 5, 205, 200, methodPanel,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdMethodCombo)), app_.instance, nullptr);
    ::SendMessageW(methodCombo_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    for (const OverwriteMethod& method : kOverwriteMethods)
        ::SendMessageW(methodCombo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(method.label));
    ::SendMessageW(methodCombo_, CB_SETCURSEL, kDefaultMethodIndex, 0);
    AttachBalloonTip(nullptr, methodCombo_, L"Mode de destruction",
                     L"Sélectionnez l'algorithme à utiliser pour l'écrasement de vos données.",
                     reinterpret_cast<HICON>(TTI_INFO));

    // 120 pixels rather than 110: in the dialog font the colon needs them, and the spin box starts at 130.
    HWND caption = ::CreateWindowExW(
        0, WC_STATICW, L"Nombre de répétitions  :  ", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 10, 37, 120, 15,
        methodPanel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepetitionsCaption)), app_.instance, nullptr);
    ::SendMessageW(caption, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    // Arrows only: the count cannot be typed, so it is always a number between 1 and the maximum.
    repetitionsEdit_ = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_EDITW, L"1", WS_CHILD | WS_VISIBLE | ES_READONLY | ES_NUMBER | ES_CENTER, 130, 35, 35, 20,
        methodPanel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepetitionsEdit)), app_.instance, nullptr);
    ::SendMessageW(repetitionsEdit_, WM_SETFONT, reinterpret_cast<WPARAM>(app_.fonts.get(2)), FALSE);
    repetitionsSpin_ = ::CreateWindowExW(
        0, UPDOWN_CLASSW, L"",
        WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0,
        methodPanel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepetitionsSpin)), app_.instance, nullptr);
    ::SendMessageW(repetitionsSpin_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(repetitionsEdit_), 0);
    ::SendMessageW(repetitionsSpin_, UDM_SETRANGE32, 1, kMaxRepetitions);
    ::SendMessageW(repetitionsSpin_, UDM_SETPOS32, 0, 1);
    AttachBalloonTip(nullptr, repetitionsEdit_, L"Répétitions",
                     L"Le nombre de répétitions multiplie le nombre de cycles.", reinterpret_cast<HICON>(TTI_INFO));

    explorerTree_.create(treePanel, kIdExplorerTree, 0, 0, 220, 248);
}

void MainWindow::buildMenus() {
    presetsMenu_.reset(::CreatePopupMenu());
    HMENU submenu = nullptr;
    const wchar_t* submenuName = nullptr;
    int command = kCmdPresetFirst;
    for (const PresetItem& preset : kPresets) {
        HMENU target = presetsMenu_.get();
        if (preset.submenu) {
            if (!submenuName || wcscmp(submenuName, preset.submenu) != 0) {
                submenu = ::CreatePopupMenu();
                submenuName = preset.submenu;
                ::AppendMenuW(presetsMenu_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), preset.submenu);
            }
            target = submenu;
        }
        AppendItem(target, command++, preset.text, app_.pictures.bitmap(preset.picture));
        if (preset.separatorAfter)
            ::AppendMenuW(target, MF_SEPARATOR, 0, nullptr);
    }
    if (!app_.presets.virtualizedCache)
        ::EnableMenuItem(presetsMenu_.get(), kPresetVirtualized, MF_BYCOMMAND | MF_GRAYED);
    if (!app_.presets.firefoxCache)
        ::EnableMenuItem(presetsMenu_.get(), kPresetFirefox, MF_BYCOMMAND | MF_GRAYED);

    treeMenu_.reset(::CreatePopupMenu());
    ::AppendMenuW(treeMenu_.get(), MF_STRING, kCmdTreeAdd, L"Ajouter pour destruction");
    ::AppendMenuW(treeMenu_.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(treeMenu_.get(), MF_STRING, kCmdTreeAddWithFolder, L"Ajouter aussi le dossier");
    ::AppendMenuW(treeMenu_.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(treeMenu_.get(), MF_STRING, kCmdTreeExplore, L"Explorer");
    ::AppendMenuW(treeMenu_.get(), MF_STRING, kCmdTreeOpen, L"Ouvrir");

    trayMenu_.reset(::CreatePopupMenu());
    AppendItem(trayMenu_.get(), kCmdCleaner, L"Nettoyage rapide", app_.pictures.bitmap(IDB_MENU_CLEANER));
    ::AppendMenuW(trayMenu_.get(), MF_SEPARATOR, 0, nullptr);
    AppendItem(trayMenu_.get(), kCmdHelp, L"Aide ?", app_.pictures.bitmap(IDB_MENU_HELP));
    AppendItem(trayMenu_.get(), kCmdQuit, L"Quitter", app_.pictures.bitmap(IDB_MENU_QUIT));
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
    data.hIcon = app_.pictures.smallIcon(IDI_TRAY);
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
