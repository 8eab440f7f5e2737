// Folders queued with their content: the folder browser, the explorer tree, the presets, the start-up scan.
#include "tests/drive/HelpPictures.h"
#include "tests/drive/Session.h"

#include "shred/Presets.h"

using namespace drive;

namespace {

void Write(const std::wstring& path, const char* content = "x") {
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Expect(static_cast<bool>(file), L"can write " + path);
    DWORD done = 0;
    ::WriteFile(file.get(), content, static_cast<DWORD>(strlen(content)), &done, nullptr);
}

}  // namespace

SCENARIO("scan-add-folder") {
    ::CreateDirectoryW(L"C:\\S", nullptr);
    ::CreateDirectoryW(L"C:\\S\\A", nullptr);
    Write(L"C:\\S\\z.txt");
    Write(L"C:\\S\\A\\b.txt");
    Session s;
    s.waitForScans();
    s.addFolder(L"S");
    s.waitForScans();
    // The folder itself first, then every folder before its content: the run walks the list backwards.
    const std::vector<std::wstring> expected = {L"C:\\S", L"C:\\S\\A", L"C:\\S\\A\\b.txt", L"C:\\S\\z.txt"};
    Expect(s.listTexts() == expected, L"folder, then its content in order");
    ExpectEqual(Text(s.control(kIdEntryCount)), L"4", L"entry count");
    ExpectEqual(Text(s.control(kIdTotalSize)), L"0.000", L"total size");
    Screenshot(L"scan-add-folder");
    s.quit();
}

SCENARIO("scan-startup-temp") {
    const std::wstring temp = RegisteredFolder(L"Local AppData") + L"\\Kestavel\\ShredderTemp\\";
    ::CreateDirectoryW((RegisteredFolder(L"Local AppData") + L"\\Kestavel").c_str(), nullptr);
    ::CreateDirectoryW(temp.c_str(), nullptr);
    Write(temp + L"left-over.tmp", "from an earlier run");
    Session s;
    s.waitForScans();
    ExpectEqual(s.listCount(), 1, L"what was left in the temporary folder is queued at start");
    ExpectEqual(ListItemText(s.control(kIdShredList), 0), temp + L"left-over.tmp", L"queued path");
    Expect(win::Exists(temp + L"left-over.tmp"), L"queued, not destroyed");
    s.quit();
}

SCENARIO("scan-preset-documents") {
    const std::wstring documents = RegisteredFolder(L"Personal");
    Write(documents + L"\\lettre.doc", "ma lettre");
    ::CreateDirectoryW((documents + L"\\Photos").c_str(), nullptr);
    Write(documents + L"\\Photos\\plage.jpg", "une photo");
    Session s;
    s.waitForScans();
    const int presetDocuments = kCmdPresetFirst + static_cast<int>(Preset::MyDocuments);

    s.command(presetDocuments);
    MessageBoxInfo question = s.box();
    ExpectEqual(question.title, L"DESTRUCTION DE: > MES DOCUMENTS", L"confirmation title");
    Answer(question, IDNO);
    drive::Sleep(500);
    ExpectEqual(s.listCount(), 0, L"a preset answered No queues nothing");

    s.command(presetDocuments);
    Answer(s.box(), IDYES);
    s.waitForScans();
    const std::vector<std::wstring> expected = {documents + L"\\Photos", documents + L"\\Photos\\plage.jpg",
                                                documents + L"\\lettre.doc"};
    Expect(s.listTexts() == expected, L"the documents folder's content, in order");
    Expect(win::Exists(documents + L"\\lettre.doc"), L"nothing is deleted yet");
    s.quit();
}

SCENARIO("scan-presets-menu") {
    // The sandbox has no Firefox: its preset is disabled. The menu's items cannot be read from here under
    // Wine, so the keyboard walks to them and the program's answer tells enabled from disabled.
    Session s;
    s.waitForScans();
    auto choose = [&](std::initializer_list<WORD> keys) {
        // On a loaded machine the menu can close as it opens (see the README): the command is given again.
        bool open = false;
        for (int attempt = 1; attempt <= 4 && !open; ++attempt) {
            s.command(kCmdPresets);
            open = FindPopupMenu(s.program.processId(), 5000) != nullptr;
        }
        Expect(open, L"the presets menu opens");
        drive::Sleep(300);
        for (WORD key : keys)
            KeyPress(key);
    };
    // Down to "Internet", into its submenu, down to its fourth item, "Favoris", which asks first.
    HWND confirm = nullptr;
    for (int attempt = 1; attempt <= 3 && !confirm; ++attempt) {
        choose({VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
        confirm = FindMessageBox(s.program.processId(), 3000);
        if (!confirm) {
            KeyPress(VK_ESCAPE);
            KeyPress(VK_ESCAPE);
        }
    }
    Expect(confirm != nullptr, L"the favourites preset asks for confirmation");
    ExpectEqual(Text(confirm), L"DESTRUCTION DE: > MES FAVORIS", L"the favourites question");
    Answer(MessageBoxInfo{confirm, Text(confirm), L""}, IDNO);

    // Up from the submenu's first item wraps to its last, "Firefox Cache": Enter there does nothing.
    choose({VK_DOWN, VK_DOWN, VK_RIGHT, VK_UP});
    Screenshot(L"presets-menu");
    // The help's picture: the menu and its open submenu, on the window under them.
    std::vector<HWND> menus;
    if (TakingHelpPictures()) {
        WaitUntil([&] {
            menus.clear();
            for (HWND window : Children(::GetDesktopWindow(), L"#32768")) {
                if (::IsWindowVisible(window))
                    menus.push_back(window);
            }
            return menus.size() == 2;
        });
        Expect(menus.size() == 2, L"the presets menu and its submenu are open");
        HelpPicture(L"repertoires-systeme", Around({WindowRectOf(menus[0]), WindowRectOf(menus[1])}, 16), menus[1]);
    }
    KeyPress(VK_RETURN);
    Expect(FindMessageBox(s.program.processId(), 2000) == nullptr, L"the disabled Firefox preset does nothing");
    KeyPress(VK_ESCAPE);
    KeyPress(VK_ESCAPE);
    ExpectEqual(s.listCount(), 0, L"nothing queued");
    s.quit();
}

SCENARIO("scan-firefox-missing") {
    // Firefox is installed, but it never made a cache in this profile.
    ::CreateDirectoryW(L"C:\\Program Files\\Mozilla Firefox", nullptr);
    Write(L"C:\\Program Files\\Mozilla Firefox\\firefox.exe");
    Session s;
    s.waitForScans();
    s.command(kCmdPresetFirst + static_cast<int>(Preset::FirefoxCache));
    MessageBoxInfo error = s.box();
    ExpectEqual(error.title, L"Erreur!", L"title");
    ExpectEqual(error.text, L"Le répertoire de Firefox n'a pas été trouvé!", L"text");
    Answer(error, IDOK);
    ExpectEqual(s.listCount(), 0, L"nothing queued");
    s.quit();
}

SCENARIO("scan-folder-with-content") {
    // "Ajouter le dossier + son contenu" on C:\Data\a: the folder goes too, although "a\" also ends
    // "Data\". Its neighbour stays.
    ::CreateDirectoryW(L"C:\\Data", nullptr);
    ::CreateDirectoryW(L"C:\\Data\\a", nullptr);
    Write(L"C:\\Data\\a\\x.txt");
    Write(L"C:\\Data\\garder.txt");
    ::CreateDirectoryW(L"C:\\vide", nullptr);
    Session s;
    s.waitForScans();
    HWND tree = s.control(kIdExplorerTree);
    HTREEITEM a = TreeChild(tree, TreeChild(tree, TreeChild(tree, nullptr, L"C:\\"), L"Data"), L"a");
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
    s.command(kCmdTreeAddWithFolder);
    Expect(WaitUntil([&] { return s.listCount() == 2; }), L"the folder and its file are queued");
    s.waitForScans();
    Expect(s.listTexts() == std::vector<std::wstring>{L"C:\\Data\\a", L"C:\\Data\\a\\x.txt"}, L"folder, then file");
    s.start();
    MessageBoxInfo summary = s.box();
    ExpectEqual(summary.title, L"Destruction complète!", L"summary");
    Answer(summary, IDOK);
    Expect(!win::Exists(L"C:\\Data\\a"), L"the folder is destroyed with its content");
    Expect(win::Exists(L"C:\\Data\\garder.txt"), L"its neighbour stays");

    // An empty folder is one entry, and the counters say so although its scan appends nothing.
    Expect(WaitUntil([&] { return s.enabled(kIdStart) && s.listCount() == 0; }), L"idle again");
    s.addFolder(L"vide");
    s.waitForScans();
    Expect(s.listTexts() == std::vector<std::wstring>{L"C:\\vide"}, L"the empty folder's entry");
    ExpectEqual(Text(s.control(kIdEntryCount)), L"1", L"entry count of an empty folder");
    s.quit();
}
