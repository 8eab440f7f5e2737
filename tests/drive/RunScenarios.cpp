// The shredding workflow from the window: queue files, start, pause, resume, stop, read the summary, quit.
#include "tests/drive/HelpPictures.h"
#include "tests/drive/Session.h"

#include <functional>
#include <set>

using namespace drive;

namespace {}  // namespace

SCENARIO("run-empty-list") {
    Session s;
    Expect(s.enabled(kIdStart) && !s.enabled(kIdPause) && !s.enabled(kIdResume) && !s.enabled(kIdStop),
           L"only DÉTRUIRE TOUT! is enabled at start");
    ExpectEqual(Text(s.control(kIdStart)), L"          DÉTRUIRE TOUT!", L"start button caption");
    ExpectEqual(Text(s.control(kIdMethodCombo)), L"Simples zéros  - 1 cycle", L"method at start");
    s.click(kIdStart);
    MessageBoxInfo error = s.box();
    ExpectEqual(error.title, L"ERREUR", L"title");
    ExpectEqual(error.text, L"Aucun fichier à détruire dans la liste!", L"text");
    Answer(error, IDOK);
    s.quit();  // idle: no question
}

SCENARIO("run-declined") {
    MakeFile(std::wstring(kFolder) + L"keep.txt", 100);
    Session s;
    s.addFiles(kFolder, {L"keep.txt"});

    // The next open dialog starts in the folder of the last file chosen: it lists keep.txt at once.
    s.command(kCmdAddFiles);
    MessageBoxInfo dialog = s.box();
    bool listed = WaitUntil([&] {
        for (HWND view : Children(dialog.window, L"SysListView32")) {
            for (int i = 0, n = ListCount(view); i < n; ++i) {
                if (ListItemText(view, i).rfind(L"keep", 0) == 0)
                    return true;
            }
        }
        return false;
    });
    Answer(dialog, IDCANCEL);
    Expect(listed, L"the open dialog starts in C:\\shred");

    s.addFiles(kFolder, {L"keep.txt"});
    ExpectEqual(s.listCount(), 1, L"the same file added twice is queued once");
    s.click(kIdStart);
    Answer(s.box(), IDNO);
    MessageBoxInfo notice = s.box();
    ExpectEqual(notice.title, L"Processus", L"title");
    ExpectEqual(notice.text, L"La destruction a été annulée par l'utilisateur!", L"text");
    Answer(notice, IDOK);
    Expect(win::IsFile(std::wstring(kFolder) + L"keep.txt"), L"nothing destroyed");

    // "Retirer sélection" takes the selected entry off the list, and only from the list. A double click on
    // the button removes it once: the entry that moves up into its place was never selected.
    MakeFile(std::wstring(kFolder) + L"other.txt", 2 << 20);
    MakeFile(std::wstring(kFolder) + L"third.txt", 0);
    s.addFiles(kFolder, {L"other.txt", L"third.txt"});
    Expect(WaitUntil([&] { return Text(s.control(kIdTotalSize)) == L"2.000"; }), L"total of the three files");
    HWND list = s.control(kIdShredList);
    ListSelectOnly(list, 0);
    RECT button;
    ::GetWindowRect(s.control(kIdRemoveSelected), &button);
    const POINT middle = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    MouseClick(middle);
    MouseClick(middle);
    Expect(WaitUntil([&] { return s.listCount() == 2; }), L"the selected entry is removed");
    drive::Sleep(500);
    ExpectEqual(s.listCount(), 2, L"a double click removes the selection once");
    ExpectEqual(::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 0, L"nothing stays selected after a removal");
    ExpectEqual(ListItemText(list, 0), std::wstring(kFolder) + L"other.txt", L"the others stay");
    ExpectEqual(Text(s.control(kIdEntryCount)), L"2", L"entry count");
    Expect(WaitUntil([&] { return Text(s.control(kIdTotalSize)) == L"2.000"; }), L"total recomputed");
    // "Retirer tout" empties it.
    s.click(kIdRemoveAll);
    Expect(WaitUntil([&] { return s.listCount() == 0; }), L"the list is emptied");
    ExpectEqual(Text(s.control(kIdEntryCount)), L"0", L"entry count");
    ExpectEqual(Text(s.control(kIdTotalSize)), L"", L"no total");
    Expect(win::IsFile(std::wstring(kFolder) + L"keep.txt") && win::IsFile(std::wstring(kFolder) + L"other.txt"),
           L"removing from the list deletes nothing");
    s.quit();
}

SCENARIO("run-three-files") {
    const std::vector<std::wstring> names = {L"a.bin", L"b.bin", L"c.bin"};
    for (const std::wstring& name : names)
        MakeFile(kFolder + name, 256ull << 20);
    Session s;
    s.addFiles(kFolder, names);
    ExpectEqual(s.listCount(), 3, L"three files queued");
    ExpectEqual(Text(s.control(kIdEntryCount)), L"3", L"entry count");
    ExpectEqual(Text(s.control(kIdTotalSize)), L"768.000", L"total size");
    Screenshot(L"run-queued");
    // Three files of 256 MiB may be gone before any look at the running window: the running state is checked
    // on the long runs below; here the run is watched from its start to its summary.
    s.start();
    std::set<int> seen;
    HWND overall = s.control(kIdOverallBar);
    MessageBoxInfo summary;
    WaitUntil(
        [&] {
            seen.insert(ProgressPosition(overall));
            for (HWND window : TopLevelWindows(s.program.processId(), L"Destruction complète!")) {
                summary.window = window;
                return true;
            }
            return false;
        },
        120000, 5);
    Expect(summary.window != nullptr, L"the summary appears");
    summary = s.box();
    // The bar moves by whole files (unit.RunWords proves each step): a poll may miss a step that lasts only a
    // moment, or the whole run on a loaded machine, but never sees anything else than a file's share.
    seen.insert(ProgressPosition(overall));
    for (int position : seen)
        Expect(position == 0 || position == 33 || position == 67 || position == 100,
               L"the overall bar stands at a whole file's share, not " + std::to_wstring(position));
    Expect(seen.count(100) == 1, L"the overall bar reaches 100");
    ExpectEqual(summary.text,
                L"Tous les fichiers sélectionnés ont été traités\r\rLeurs données ont été écrasées  (1 X Nombre de "
                L"cycles )\rAlgorithme choisi : Simples zéros  - 1 cycle\r\r",
                L"summary text");
    Screenshot(L"run-summary");
    HelpPicture(L"destruction-bilan", WindowRectOf(summary.window));
    Answer(summary, IDOK);
    for (const std::wstring& name : names)
        Expect(!win::Exists(kFolder + name), name + L" is gone");
    Expect(WaitUntil([&] { return s.enabled(kIdStart) && s.listCount() == 0; }), L"idle again, list empty");
    Expect(!s.visible(kIdRunBanner) && s.visible(kIdListButtonsBar), L"list buttons back");
    s.quit();
}

// Queues the files, chooses DoD with this many repetitions, starts and waits for the running state.
void StartLongRun(Session& s, const std::vector<std::wstring>& names, int repetitions) {
    for (const std::wstring& name : names)
        MakeFile(kFolder + name, 64ull << 20);
    s.addFiles(kFolder, names);
    ::SendMessageW(s.control(kIdMethodCombo), CB_SETCURSEL, 3, 0);
    ::SendMessageW(s.control(kIdRepetitionsSpin), UDM_SETPOS32, 0, repetitions);
    s.start();
    // The window disables the start button first and enables the others just after: wait for the whole state.
    Expect(WaitUntil([&] {
               return !s.enabled(kIdStart) && s.enabled(kIdPause) && s.enabled(kIdStop) && !s.enabled(kIdResume);
           }),
           L"running buttons");
    Expect(WaitUntil([&] { return s.visible(kIdRunBanner) && !s.visible(kIdListButtonsBar); }),
           L"the red banner replaces the list buttons");
}

void PauseAndCheck(Session& s) {
    s.click(kIdPause);
    Expect(WaitUntil([&] { return s.enabled(kIdResume); }), L"paused: REPRENDRE enabled");
    Expect(!s.enabled(kIdStart) && !s.enabled(kIdPause), L"paused buttons");
    Expect(s.enabled(kIdStop), L"a paused run can be stopped");
    Expect(Text(s.control(kIdRunBannerText)).find(L"a été suspendu") != std::wstring::npos, L"yellow banner text");
    // The block under way finishes and the window shows it within a refresh; after that nothing moves.
    drive::Sleep(300);
    const int pausedAt = ProgressPosition(s.control(kIdOverwriteBar));
    drive::Sleep(500);
    ExpectEqual(ProgressPosition(s.control(kIdOverwriteBar)), pausedAt, L"nothing moves while paused");
}

SCENARIO("run-pause-resume") {
    const std::vector<std::wstring> names = {L"a.bin", L"b.bin", L"c.bin"};
    Session s;
    StartLongRun(s, names, 12);
    Screenshot(L"run-running");
    // The help's pictures: the list and the run buttons while running; the run buttons and the run's
    // details while paused (the banner under them is wider than a help picture).
    const RECT buttons = WindowRectOf(s.control(kIdRunButtonsPanel));
    RECT view = WindowRectOf(s.control(kIdShredView));
    view.right = buttons.right + 6;
    view.bottom = buttons.bottom + 1;
    HelpPicture(L"destruction-en-cours", view);
    PauseAndCheck(s);
    Screenshot(L"run-paused");
    RECT details = Around({buttons, WindowRectOf(s.control(kIdRunInfoPanel))}, 4);
    details.bottom = view.bottom;
    HelpPicture(L"destruction-suspendue", details);
    s.click(kIdResume);
    Expect(WaitUntil([&] { return s.enabled(kIdPause) && !s.enabled(kIdResume); }), L"resumed");
    Expect(Text(s.control(kIdRunBannerText)).find(L"interrompre ou stopper") != std::wstring::npos,
           L"red banner after resume");
    MessageBoxInfo summary = s.box();
    ExpectEqual(summary.title, L"Destruction complète!", L"the resumed run completes");
    Answer(summary, IDOK);
    for (const std::wstring& name : names)
        Expect(!win::Exists(kFolder + name), name + L" is gone");
    s.quit();
}

SCENARIO("run-stop") {
    const std::vector<std::wstring> names = {L"a.bin", L"b.bin", L"c.bin", L"d.bin"};
    Session s;
    StartLongRun(s, names, 100);
    s.click(kIdStop);
    MessageBoxInfo confirm = s.box();
    ExpectEqual(confirm.title, L"Arrêter la destruction", L"stop confirmation");
    ExpectEqual(confirm.text, L"Voulez-vous réellement arrêter la destruction en cours ?", L"stop question");
    Answer(confirm, IDYES);
    Expect(WaitUntil([&] { return !s.enabled(kIdStop); }, 2000), L"STOPPER TOUT! disabled at once");
    MessageBoxInfo summary = s.box();
    ExpectEqual(summary.title, L"Destruction interrompue!", L"summary title");
    Answer(summary, IDOK);
    Expect(win::Exists(kFolder + names.front()), L"the first entry is never reached");
    Expect(WaitUntil([&] { return s.listCount() == 0 && s.enabled(kIdStart); }), L"idle, list empty");

    // Stopping a paused run ends it too.
    StartLongRun(s, {L"e.bin", L"f.bin"}, 100);
    PauseAndCheck(s);
    s.click(kIdStop);
    Answer(s.box(), IDYES);
    // The banner no longer says the run is suspended: it runs on to its end.
    Expect(Text(s.control(kIdRunBannerText)).find(L"interrompre ou stopper") != std::wstring::npos,
           L"the banner of a running run after stopping a paused one");
    summary = s.box();
    ExpectEqual(summary.title, L"Destruction interrompue!", L"a paused run stops");
    Answer(summary, IDOK);
    s.quit();
}

SCENARIO("run-quit-during-run") {
    Session s;
    StartLongRun(s, {L"a.bin", L"b.bin"}, 100);
    Close(s.main);
    MessageBoxInfo question = s.box();
    ExpectEqual(question.title, L"Destruction en cours!", L"quit question title");
    Expect(question.text.find(L"Voulez-vous réellement tout arrêter ?") != std::wstring::npos, L"quit question");
    Answer(question, IDNO);
    drive::Sleep(300);
    Expect(s.program.running() && s.enabled(kIdPause), L"No keeps the run going");
    s.click(kIdPause);
    Expect(WaitUntil([&] { return s.enabled(kIdResume); }), L"paused");
    Close(s.main);
    Answer(s.box(), IDYES);
    ExpectEqual(s.program.waitForExit(20000), 0, L"exit code after quitting a paused run");
    // The worker left at a safe point: the file it was overwriting keeps its name, the other was never
    // reached, and no file is left under an intermediate wiping name.
    Expect(win::IsFile(std::wstring(kFolder) + L"b.bin"), L"the file under way is left, not destroyed after the end");
    Expect(win::IsFile(std::wstring(kFolder) + L"a.bin"), L"the file not reached yet is untouched");
    for (const wchar_t* leftover : {L"AAAAA.aaa", L"MMMMM.mmm", L"ZZZZZ.zzz"})
        Expect(!win::Exists(std::wstring(kFolder) + leftover), L"no half-wiped name");
}

// Windows lets another process read a popup menu's items; Wine keeps menus private to their process
// (GetMenuItemCount answers -1 there). Where they cannot be read, the scenario checks what the items do
// instead, and the screenshot shows their texts.
bool MenuReadable(HWND menu) {
    auto handle = reinterpret_cast<HMENU>(::SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0));
    return ::GetMenuItemCount(handle) > 0;
}

SCENARIO("tree-right-click") {
    MakeFile(std::wstring(kFolder) + L"notes.txt", 10);
    Session s;
    HWND tree = s.control(kIdExplorerTree);
    HTREEITEM drive = TreeChild(tree, nullptr, L"C:\\");
    HTREEITEM folder = TreeChild(tree, drive, L"shred");
    HTREEITEM file = TreeChild(tree, folder, L"notes.txt");
    auto rightClick = [&](HTREEITEM item) {
        RECT place = TreeItemRectOnScreen(tree, item);
        return RightClickForMenu({(place.left + place.right) / 2, (place.top + place.bottom) / 2},
                                 s.program.processId());
    };

    // A click on the menu's first item; the menu may close under the pointer as it opens (see
    // RightClickForMenu), so the hand opens it again until the list shows the item's effect.
    auto chooseFirstItem = [&](HTREEITEM item, const wchar_t* shot, int listedAfter,
                               const std::function<void(HWND)>& checkMenu) {
        for (int attempt = 1; attempt <= 3; ++attempt) {
            HWND menu = rightClick(item);
            Screenshot(shot);
            if (std::wstring(shot) == L"tree-menu-file")
                HelpPicture(L"explorateur-menu", Around({WindowRectOf(tree), WindowRectOf(menu)}), menu);
            if (attempt == 1 && MenuReadable(menu))
                checkMenu(menu);
            RECT box;
            ::GetWindowRect(menu, &box);
            MouseClick({(box.left + box.right) / 2, box.top + 10});
            if (WaitUntil([&] { return s.listCount() == listedAfter; }, 5000))
                return;
        }
        Fail(L"the menu's first item did not queue anything");
    };

    // On a file: the file's items, the folder items disabled; the first item queues the file.
    chooseFirstItem(file, L"tree-menu-file", 1, [](HWND menu) {
        const std::vector<std::wstring> texts = PopupMenuTexts(menu);
        const std::vector<bool> enabled = PopupMenuEnabled(menu);
        ExpectEqual(texts[0], L"Ajouter notes.txt à la destruction", L"first item for a file");
        ExpectEqual(texts[5], L"Ouvrir notes.txt", L"last item for a file");
        Expect(enabled[0] && !enabled[2] && !enabled[4] && enabled[5], L"the two folder items are disabled");
    });
    ExpectEqual(ListItemText(s.control(kIdShredList), 0), std::wstring(kFolder) + L"notes.txt", L"queued path");

    // On a folder: the folder items, and "Ouvrir" disabled. The first item with a folder queues its content
    // only, not the folder itself; a scan does not look for duplicates, so notes.txt is listed a second time.
    chooseFirstItem(folder, L"tree-menu-folder", 2, [](HWND menu) {
        const std::vector<std::wstring> texts = PopupMenuTexts(menu);
        ExpectEqual(texts[0], L"Ajouter le contenu seulement", L"first item for a folder");
        ExpectEqual(texts[2], L"Ajouter le dossier + son contenu", L"second item for a folder");
        ExpectEqual(texts[4], L"Explorer ce dossier avec Windows", L"third item for a folder");
        Expect(!PopupMenuEnabled(menu)[5], L"the open item is disabled for a folder");
    });
    s.waitForScans();
    const std::vector<std::wstring> expected = {std::wstring(kFolder) + L"notes.txt",
                                                std::wstring(kFolder) + L"notes.txt"};
    Expect(s.listTexts() == expected, L"the content only, not the folder");
    s.quit();
}

SCENARIO("tree-follows-disk") {
    // The tree shows what is on disk: a run's destroyed files leave the open folders, and a folder opened
    // again shows the files made since.
    MakeFile(std::wstring(kFolder) + L"notes.txt", 10);
    MakeFile(std::wstring(kFolder) + L"stays.txt", 10);
    Session s;
    s.waitForScans();
    HWND tree = s.control(kIdExplorerTree);
    HTREEITEM folder = TreeChild(tree, TreeChild(tree, nullptr, L"C:\\"), L"shred");
    ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder));
    auto shown = [&] {
        std::wstring texts;
        for (const std::wstring& text : TreeChildTexts(tree, folder))
            texts += (texts.empty() ? L"" : L", ") + text;
        return texts;
    };
    WaitUntil([&] { return shown() == L"notes.txt, stays.txt"; });
    ExpectEqual(shown(), L"notes.txt, stays.txt", L"the folder");

    s.addFiles(kFolder, {L"notes.txt"});
    s.start();
    Answer(s.box(), IDOK);  // "Destruction complète!"
    WaitUntil([&] { return shown() == L"stays.txt"; });
    ExpectEqual(shown(), L"stays.txt", L"the destroyed file leaves the open folder");

    MakeFile(std::wstring(kFolder) + L"later.txt", 10);
    ::SendMessageW(tree, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, reinterpret_cast<LPARAM>(folder));
    ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder));
    WaitUntil([&] { return shown() == L"later.txt, stays.txt"; });
    ExpectEqual(shown(), L"later.txt, stays.txt", L"a folder opened again is read again");
    s.quit();
}

SCENARIO("window-commands") {
    ::CreateDirectoryW(kFolder, nullptr);
    Session s;
    // Help: the program alone, without its help file beside it.
    s.command(kCmdHelp);
    MessageBoxInfo help = s.box();
    ExpectEqual(help.title, L"Aide introuvable!", L"help title");
    ExpectEqual(help.text,
                L"Le fichier d'aide est introuvable.\nAssurez-vous qu'il se trouve bien dans le répertoire de "
                L"l'application.",
                L"help text");
    Answer(help, IDOK);

    // The two right-hand views take turns.
    s.command(kCmdTools);
    Expect(WaitUntil([&] { return s.visible(kIdToolsView) && !s.visible(kIdShredView); }), L"tools view shown");
    s.command(kCmdHome);
    Expect(WaitUntil([&] { return !s.visible(kIdToolsView) && s.visible(kIdShredView); }), L"destruction view back");

    // The folder browser, cancelled: nothing queued.
    s.command(kCmdAddFolder);
    MessageBoxInfo browser = s.box();
    Answer(browser, IDCANCEL);
    drive::Sleep(300);
    ExpectEqual(s.listCount(), 0, L"a cancelled folder browser queues nothing");

    // The folder browser starts at C:\; choosing "shred" there queues the folder itself, then its content.
    s.addFolder(L"shred");
    Expect(WaitUntil([&] { return s.listCount() == 1; }), L"the chosen folder is queued");
    ExpectEqual(ListItemText(s.control(kIdShredList), 0), L"C:\\shred", L"the folder's own entry");

    // The notification-area icon (Wine shows it in its own tray window): its tooltip under the pointer, and
    // its menu on a right click, whose "Quitter" ends the idle program without a question.
    bool quitFromTray = false;
    for (HWND window : Children(::GetDesktopWindow())) {
        if (Text(window) != L"Wine System Tray" || !::IsWindowVisible(window))
            continue;
        const RECT client = ClientRectOnScreen(window);
        const POINT icon = {client.left + 10, client.top + 10};
        // Wine's tray window passes the click on once it has seen the pointer over the icon.
        ::SetCursorPos(icon.x, icon.y);
        drive::Sleep(1500);
        Screenshot(L"tray-icon");
        // The menu may close under the pointer as it opens (see RightClickForMenu): open it again until the
        // click on "Quitter", its last item, lands.
        for (int attempt = 1; attempt <= 3 && s.program.running(); ++attempt) {
            HWND menu = RightClickForMenu(icon, s.program.processId());
            Screenshot(L"tray-menu");
            HelpPicture(L"menu-icone", WindowRectOf(menu), menu);
            RECT box;
            ::GetWindowRect(menu, &box);
            MouseClick({(box.left + box.right) / 2, box.bottom - 10});
            WaitUntil([&] { return !s.program.running(); }, 5000);
        }
        quitFromTray = true;
    }
    if (!quitFromTray)
        s.command(kCmdQuit);  // "Quitter Kestavel Shredder"
    ExpectEqual(s.program.waitForExit(), 0, L"exit code after quitting while idle");
}

SCENARIO("run-journal-and-spin") {
    // The repetition count takes no typing and stays at 1 or more.
    Session s;
    HWND edit = s.control(kIdRepetitionsEdit);
    ::PostMessageW(edit, WM_CHAR, L'7', 0);
    drive::Sleep(200);
    ExpectEqual(Text(edit), L"1", L"typing does not change the repetition count");
    RECT spin;
    ::GetWindowRect(s.control(kIdRepetitionsSpin), &spin);
    MouseClick({(spin.left + spin.right) / 2, spin.bottom - 3});  // the down arrow
    drive::Sleep(200);
    ExpectEqual(Text(edit), L"1", L"the count does not go below 1");
    MouseClick({(spin.left + spin.right) / 2, spin.top + 3});  // the up arrow
    Expect(WaitUntil([&] { return Text(edit) == L"2"; }), L"the up arrow raises the count");
    MouseClick({(spin.left + spin.right) / 2, spin.bottom - 3});

    // An empty file cannot be overwritten: two journal lines, the file stays, the summary says so.
    MakeFile(std::wstring(kFolder) + L"vide.txt", 0);
    s.addFiles(kFolder, {L"vide.txt"});
    s.start();
    MessageBoxInfo summary = s.box();
    ExpectEqual(summary.title, L"Destruction incomplète!", L"summary title");
    Answer(summary, IDOK);
    Expect(win::IsFile(std::wstring(kFolder) + L"vide.txt"), L"the empty file stays");
    const std::wstring journal = KestavelFolder(L"ShredderConfig") + L"KvsErrLog.txt";
    std::string bytes;
    {
        win::UniqueFile file(::CreateFileW(journal.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
        Expect(static_cast<bool>(file), L"the journal exists in ShredderConfig");
        char buffer[4096];
        DWORD read = 0;
        ::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr);
        bytes.assign(buffer, read);
    }
    // Windows-1252 on disk: "à" is 0xE0, "é" is 0xE9; lines end with CR LF.
    const std::string first = " - Le fichier [vide.txt] est vide!\r\n";
    const std::string second =
        " - Les donn\xE9"
        "es du fichier [vide.txt]  n'ont pu \xEA"
        "tre \xE9"
        "cras\xE9"
        "es\r\n";
    Expect(bytes.size() == 2 * 21 + first.size() + second.size(), L"two journal lines");
    Expect(bytes.compare(21, first.size(), first) == 0, L"the empty-file line");
    Expect(bytes.compare(2 * 21 + first.size(), second.size(), second) == 0, L"the not-overwritten line");
    Expect(bytes[2] == '/' && bytes[5] == '/' && bytes.compare(10, 3, " \xE0 ") == 0 && bytes[15] == ':',
           L"timestamp dd/mm/yyyy \xE0 hh:mm:ss");
    s.quit();
}
