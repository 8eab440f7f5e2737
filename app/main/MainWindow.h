#pragma once

#include "app/HandedPaths.h"
#include "app/main/ExplorerTree.h"
#include "app/main/MainWindowLayout.h"
#include "app/main/RunController.h"
#include "app/main/RunWords.h"
#include "app/main/ScanJobs.h"
#include "app/main/ShredView.h"
#include "journal/JournalFile.h"
#include "shred/ShredList.h"
#include "win/Dpi.h"
#include "win/Handle.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

struct App;

// The program's main window: 1014 x 718 client area, centred, fixed size. It is created invisible, filled,
// then shown, so that the user never sees it being built. Its pieces live in files of their own:
// MainWindowBuild.cpp (controls, menus, tray icon), MainWindowCommands.cpp (menu and link commands),
// MainWindowRun.cpp (the destruction run's buttons and end).
class MainWindow {
public:
    explicit MainWindow(App& app);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    bool create();
    void show();
    HWND handle() const { return window_; }
    // True once the user asked to quit and confirmed; the message loop then ends.
    bool quitRequested() const { return quitRequested_; }
    // At exit: a run asked to stop gets a few seconds to reach a safe point. False if it is still running.
    bool letRunStop();
    // The scan of what was left in the temporary working folder, at start.
    void scanTempFolder();
    // Queues the paths of the program's own command line, and from now on takes the paths that later
    // starts hand over (WM_COPYDATA, see app/HandedPaths.h); until then the window answers that it does
    // not take them, and those starts try again.
    void takeHandedPaths(std::vector<std::wstring> paths);

    static constexpr int kClientWidth = mainwin::layout::kClientWidth;
    static constexpr int kClientHeight = mainwin::layout::kClientHeight;
    static constexpr int kMaxRepetitions = mainwin::layout::kMaxRepetitions;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    // MainWindowBuild.cpp
    void buildHeader();
    void buildLeftColumn();
    void buildMenus();
    void addTrayIcon();
    void removeTrayIcon();
    void showPopup(HMENU menu, POINT at);

    // MainWindowCommands.cpp
    void onCommand(int id);
    // Shows one of the two right-hand views and hides the other.
    void showView(bool tools);
    void addFiles();
    void addFolder();
    void openHelp();
    void requestQuit();
    bool confirmQuit();
    void onTray(LPARAM event);
    void showTreeMenu();
    void onTreeCommand(int id);
    // Queues a folder's content (not the folder itself) on a worker; the left column is covered and the
    // list buttons disabled until every scan has ended.
    void startFolderScan(const std::wstring& folder) { startScan(ScanKind::Generic, folder); }
    void startScan(ScanKind kind, const std::wstring& target);
    void onScanDone(const std::vector<ScanNotice>& notices);
    void onPreset(int index);
    // Covers the left column while a run or a scan works, and shows it again when none does.
    void updateLeftColumn();
    std::wstring startFolder() const;

    // MainWindowListInput.cpp
    // The list's own commands (its buttons, Delete, Ctrl+A, a drop) are usable: no run, no scan under way.
    bool listCommandsEnabled() const;
    void onDropFiles(HDROP drop);
    // Queues an existing file or folder as the add commands do, a duplicate left out; false when it does not
    // exist. Throws std::bad_alloc when memory runs out, with the list as it was (but for a folder whose
    // scan could not start: its entry stays, without its content).
    bool queuePath(const std::wstring& path, bool* fileAdded);
    LRESULT onCopyData(const COPYDATASTRUCT& data);
    // Queues the paths handed so far, if the window can take them now (see the definition).
    void queueHandedPaths();
    void queueHandedSlice();
    // Says, once, how many paths were refused for want of room since it was last said.
    void tellRefused();
    void onListKey(WORD key);

    // MainWindowRun.cpp
    void startRun();
    void pauseRun();
    void resumeRun();
    void stopRun();
    void onRunDone(const RunSummary& summary);
    RunSettings runSettings() const;

    // MainWindowScale.cpp
    // Sizes the window to the layout at its DPI (at the suggested place when it moved to a screen of another
    // scale), and places every control, font, picture, icon and menu picture of that scale.
    void applyScale(const RECT* suggested);
    void scaleHeader(const win::Scale& s);
    void scaleLeftColumn(const win::Scale& s);
    void scaleIcons();

    // MainWindow.cpp
    void takeWorkerNews();
    // The action of the tools view's shortcut (1 to kToolCount).
    void runTool(int number);

    int message(const wchar_t* title, const wchar_t* text, UINT flags);

    App& app_;
    HWND window_ = nullptr;
    HWND leftColumn_ = nullptr;
    HWND leftCover_ = nullptr;
    HWND toolsView_ = nullptr;
    HWND methodCombo_ = nullptr;
    HWND repetitionsEdit_ = nullptr;
    HWND repetitionsSpin_ = nullptr;
    HWND repetitionsCaption_ = nullptr;
    int spinWidth_ = 0;  // the arrows' width as the system first gave it, taken as 96 DPI's
    HWND headerBox_ = nullptr;
    HWND cornerBox_ = nullptr;
    UINT dpi_ = win::kBaseDpi;  // the window's screen scale
    win::UniqueBitmap header_;  // the header picture of that scale, with the greeting drawn on it
    std::wstring greeting_[2];  // the greeting's two lines
    win::UniqueMenu presetsMenu_;
    win::UniqueMenu treeMenu_;
    win::UniqueMenu trayMenu_;
    bool trayIcon_ = false;
    bool quitRequested_ = false;
    std::wstring lastFolder_;
    bool takesHandedPaths_ = false;
    HandedQueue handed_;                  // handed by other starts, waiting to be queued
    std::vector<std::wstring> notFound_;  // handed, not queued, not yet named to the user
    // Handed or dropped, refused for want of room (HandedQueue's caps, or memory), not yet told to the user:
    // one message says how many, however many blocks were refused meanwhile.
    size_t refused_ = 0;
    static constexpr size_t kHandedSlice = 256;

    ShredList list_;
    JournalFile journal_;
    LatestRunDisplay runDisplay_;
    RunWords runWords_{runDisplay_};  // what the run reports, worded into runDisplay_
    ShredView shredView_;
    ExplorerTree explorerTree_;
    RunController run_;
    ScanJobs scans_;
};
