// What the main window does for its menu commands, links and list buttons.
#include "app/about/AboutWindow.h"
#include "app/App.h"
#include "app/main/ControlIds.h"
#include "app/Environment.h"
#include "app/main/MainWindow.h"
#include "app/cleaner/CleanerDialog.h"
#include "app/journal/JournalWindow.h"
#include "journal/JournalClearing.h"
#include "shred/Presets.h"
#include "win/Files.h"
#include "win/Paths.h"
#include "win/Strings.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

namespace {

// The folder browser starts in the folder the program gives it.
int CALLBACK BrowseStart(HWND dialog, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED)
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

using HtmlHelpFn = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);

}  // namespace

void MainWindow::showView(bool tools) {
    ::ShowWindow(tools ? shredView_.window() : toolsView_, SW_HIDE);
    ::ShowWindow(tools ? toolsView_ : shredView_.window(), SW_SHOW);
}

void MainWindow::onCommand(int id) {
    switch (id) {
        case kCmdHome:
            showView(false);
            break;
        case kCmdTools:
            showView(true);
            break;
        case kCmdQuit:
            requestQuit();
            break;
        case kCmdCleaner:
            // Returns when the Fast Cleaner closes; the main window is disabled meanwhile, so that no
            // second one opens over it.
            if (::IsWindowEnabled(window_))
                cleaner::CleanerDialog(app_, journal_).run(window_);
            break;
        case kCmdAddFiles:
            showView(false);
            addFiles();
            break;
        case kCmdAddFolder:
            showView(false);
            addFolder();
            break;
        case kCmdPresets: {
            showView(false);
            POINT at;
            ::GetCursorPos(&at);
            showPopup(presetsMenu_.get(), at);
            break;
        }
        case kCmdHelp:
            openHelp();
            break;
        case kCmdAbout:
            AboutWindow::run(app_, window_);
            break;
        case kIdJournal:
            JournalWindow::run(window_, app_.folders.config);
            break;
        case kCmdTreeAdd:
        case kCmdTreeAddWithFolder:
        case kCmdTreeExplore:
        case kCmdTreeOpen:
            onTreeCommand(id);
            break;
        default:
            if (id >= kCmdPresetFirst && id < kCmdPresetFirst + kPresetCount)
                onPreset(id - kCmdPresetFirst);
            break;
        case kIdRemoveSelected:
            list_.removeSelected(shredView_.takeSelection());
            break;
        case kIdRemoveAll:
            list_.clear();
            break;
        case kIdStart:
            startRun();
            break;
        case kIdPause:
            pauseRun();
            break;
        case kIdResume:
            resumeRun();
            break;
        case kIdStop:
            stopRun();
            break;
    }
}

std::wstring MainWindow::startFolder() const {
    return lastFolder_.empty() ? L"c:\\" : lastFolder_;
}

void MainWindow::addFiles() {
    // Room for a few thousand names: the dialog returns the folder, then every chosen name.
    std::vector<wchar_t> names(256 * 1024, L'\0');
    const std::wstring start = startFolder();
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = L"*.*\0*.*\0";
    dialog.lpstrFile = names.data();
    dialog.nMaxFile = static_cast<DWORD>(names.size());
    dialog.lpstrInitialDir = start.c_str();
    dialog.lpstrTitle = L"Sélectionnez un fichier, il sera listé prêt pour la destruction";
    dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (::GetOpenFileNameW(&dialog)) {
        // One name: a full path. Several: the folder, then each name, each ended by a zero.
        const wchar_t* cursor = names.data();
        const std::wstring first = cursor;
        cursor += first.size() + 1;
        std::vector<std::wstring> chosen;
        if (*cursor == L'\0') {
            chosen.push_back(first);
        } else {
            for (; *cursor; cursor += wcslen(cursor) + 1)
                chosen.push_back(win::WithTrailingBackslash(first) + cursor);
        }
        for (const std::wstring& path : chosen) {
            lastFolder_ = win::FolderPartOf(path);
            list_.addPath(path);
        }
    }
    list_.computeTotalSize();
}

void MainWindow::addFolder() {
    const std::wstring start = startFolder();
    BROWSEINFOW browse = {};
    browse.hwndOwner = window_;
    browse.lpszTitle = L"Sélectionnez un répertoire, le dossier et son contenu seront listés prêts pour la destruction";
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = BrowseStart;
    browse.lParam = reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&browse);
    if (!chosen)
        return;
    wchar_t path[MAX_PATH] = {};
    const bool ok = ::SHGetPathFromIDListW(chosen, path) && path[0];
    ::CoTaskMemFree(chosen);
    if (!ok)
        return;
    const std::wstring folder = win::WithTrailingBackslash(path);
    list_.addFolderEntry(folder);
    lastFolder_ = folder;
    startFolderScan(folder);
}

void MainWindow::startScan(ScanKind kind, const std::wstring& target) {
    if (!scans_.start(kind, target))
        return;
    updateLeftColumn();
    shredView_.enableListButtons(false);
}

void MainWindow::onScanDone(const std::vector<ScanNotice>& notices) {
    if (!scans_.active()) {
        // What the scans queued is on screen before the explorer bar comes back, not a refresh later.
        shredView_.refresh();
        updateLeftColumn();
        shredView_.enableListButtons(true);
        ::PostMessageW(window_, kMsgHandedPaths, 0, 0);  // what was handed during the scans
    }
    for (ScanNotice notice : notices) {
        message(L"Erreur!",
                notice == ScanNotice::FirefoxCacheMissing ? L"Le répertoire local de Firefox n'a pas été trouvé!"
                                                          : L"Le répertoire de Firefox n'a pas été trouvé!",
                MB_OK | MB_ICONWARNING);
    }
}

void MainWindow::updateLeftColumn() {
    const bool covered = run_.active() || scans_.active();
    ::ShowWindow(leftCover_, covered ? SW_SHOW : SW_HIDE);
    ::ShowWindow(leftColumn_, covered ? SW_HIDE : SW_SHOW);
}

void MainWindow::scanTempFolder() {
    if (!app_.folders.temp.empty())
        startScan(ScanKind::Generic, app_.folders.temp);
}

void MainWindow::onPreset(int index) {
    if (index < 0 || index >= kPresetCount)
        return;
    const PresetRow& row = kPresets[static_cast<size_t>(index)];
    if (row.confirmTitle && message(row.confirmTitle, row.confirmQuestion, MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    const std::wstring target = PresetTarget(row.preset, app_.osLevel, WindowsFolderPath());
    if (target.empty()) {
        if (row.root == PresetRoot::FirefoxProfiles)
            message(L"Erreur!", L"Le répertoire de Firefox n'a pas été trouvé!", MB_OK | MB_ICONWARNING);
        return;
    }
    startScan(row.scan, target);
}

void MainWindow::showTreeMenu() {
    POINT at;
    ::GetCursorPos(&at);
    const ExplorerTree::Selection selected = explorerTree_.selectAt(at);
    if (selected.kind == ExplorerTree::Selection::None)
        return;
    HMENU menu = treeMenu_.get();
    auto setText = [&](int command, const std::wstring& text) {
        ::ModifyMenuW(menu, command, MF_BYCOMMAND | MF_STRING, command, text.c_str());
    };
    auto enable = [&](int command, bool on) {
        ::EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    // Disabled items keep the text they last had.
    if (selected.kind == ExplorerTree::Selection::File) {
        setText(kCmdTreeAdd, L"Ajouter " + selected.name + L" à la destruction");
        setText(kCmdTreeOpen, L"Ouvrir " + selected.name);
        enable(kCmdTreeOpen, true);
        enable(kCmdTreeAddWithFolder, false);
        enable(kCmdTreeExplore, false);
    } else {
        setText(kCmdTreeAdd, L"Ajouter le contenu seulement");
        setText(kCmdTreeAddWithFolder, L"Ajouter le dossier + son contenu");
        setText(kCmdTreeExplore, L"Explorer ce dossier avec Windows");
        enable(kCmdTreeAddWithFolder, true);
        enable(kCmdTreeExplore, true);
        enable(kCmdTreeOpen, false);
    }
    showPopup(menu, at);
}

void MainWindow::onTreeCommand(int id) {
    // The command acts on what is selected when it arrives.
    const ExplorerTree::Selection selected = explorerTree_.selection();
    if (selected.kind == ExplorerTree::Selection::None)
        return;
    const bool folder = selected.kind == ExplorerTree::Selection::Folder;
    switch (id) {
        case kCmdTreeAdd:
        case kCmdTreeAddWithFolder:
            showView(false);
            if (!folder) {
                list_.addPath(selected.path);
                list_.computeTotalSize();
            } else {
                if (id == kCmdTreeAddWithFolder)
                    list_.addFolderEntry(selected.path);
                startFolderScan(selected.path);
            }
            break;
        case kCmdTreeExplore:
            ::ShellExecuteW(window_, L"explore", selected.path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            break;
        case kCmdTreeOpen:
            ::ShellExecuteW(window_, L"open", selected.path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            break;
    }
}

void MainWindow::openHelp() {
    const std::wstring file = app_.programFolder + L"Aide Kestavel Shredder.chm";
    HWND viewer = nullptr;
    if (win::IsFile(file)) {
        if (HMODULE library = ::LoadLibraryW(L"hhctrl.ocx")) {
            auto htmlHelp =
                reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(::GetProcAddress(library, "HtmlHelpW")));
            if (htmlHelp)
                viewer = htmlHelp(::GetDesktopWindow(), file.c_str(), 0 /* HH_DISPLAY_TOPIC */, 0);
            // The viewer lives in this process: the library stays loaded for it.
        }
    }
    if (!viewer)
        message(L"Aide introuvable!",
                L"Le fichier d'aide est introuvable.\nAssurez-vous qu'il se trouve bien dans le répertoire de "
                L"l'application.",
                MB_OK | MB_ICONWARNING);
}

bool MainWindow::confirmQuit() {
    if (!run_.active())
        return true;
    const int answer = message(L"Destruction en cours!",
                               L"Attention! Le processus de destruction est actif!\rIl est fortement recommandé "
                               L"d'attendre qu'il se termine.\r\rVoulez-vous réellement tout arrêter ?",
                               MB_YESNO | MB_ICONWARNING);
    if (answer != IDYES)
        return false;
    run_.stop();
    return true;
}

void MainWindow::requestQuit() {
    if (quitRequested_ || !confirmQuit())
        return;
    quitRequested_ = true;
    ::DestroyWindow(window_);
}

bool MainWindow::letRunStop() {
    // Long enough for the block or rename under way to finish, short enough not to feel stuck. Scans
    // stop between two folders.
    const bool scansEnded = scans_.stopAndWait(2000);
    explorerTree_.stopListings();
    // A cleaner run is stopped whenever its dialog closes during it; it ends between two entries, or at
    // once for a DNS command, and gets a moment for it.
    cleaner::CleanerRun::requestStop();
    const bool cleanerEnded = cleaner::CleanerRun::waitForEnd(1000);
    // A clearing of the journal leaves the rest of its overwrite at once and closes the journal, which goes
    // whole: never cut half overwritten.
    const bool journalCleared = journal::clearing::QuitAndWait(2000);
    return run_.quitAndWait(5000) && scansEnded && cleanerEnded && journalCleared;
}

void MainWindow::onTray(LPARAM event) {
    // While a dialog or a message box holds the window, its menu stays closed: it would reach commands
    // (quit, the Fast Cleaner) that the open dialog must end first.
    if (event != WM_RBUTTONDOWN || !::IsWindowEnabled(window_))
        return;
    POINT at;
    ::GetCursorPos(&at);
    showPopup(trayMenu_.get(), at);
}
