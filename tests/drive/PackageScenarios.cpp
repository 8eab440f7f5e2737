// The shipped packages, as a user and an administrator meet them: the installer run silently, the program
// started from its Start menu shortcut with its help, the installer run again over a running program, the
// silent uninstaller; and the portable archive's program started from the folder it unpacks into.
#include "tests/drive/HelpPictures.h"
#include "tests/drive/Session.h"

#include "journal/JournalFile.h"
#include "win/Strings.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>

namespace drive {
namespace {

constexpr wchar_t kSetup[] = L"KestavelShredder-3.20-setup.exe";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KestavelShredder";
constexpr wchar_t kHelpName[] = L"Aide Kestavel Shredder.chm";
constexpr wchar_t kHelpTitle[] = L"Aide de Kestavel Shredder 3.20";

std::wstring KnownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    Expect(SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)),
           L"the shell knows folder " + std::to_wstring(csidl));
    return path;
}

// A value of the uninstall entry, or nothing when the entry or the value is absent.
std::wstring UninstallText(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

DWORD UninstallNumber(const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    ::RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

bool UninstallEntryExists() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

// A text value of a key of HKEY_CLASSES_ROOT, or nothing when the key or the value is absent.
std::wstring ClassesText(const std::wstring& key, const wchar_t* name = nullptr) {
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

bool ClassesKeyExists(const std::wstring& key) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(opened);
    return true;
}

// The verb's keys under each class Explorer could show it for; only files and folders have it.
constexpr const wchar_t* kVerbClasses[] = {L"*", L"Directory"};
constexpr const wchar_t* kNoVerbClasses[] = {L"Drive", L"Folder", L"Directory\\Background", L"DesktopBackground",
                                             L"AllFilesystemObjects"};
std::wstring VerbKey(const wchar_t* type) {
    return std::wstring(type) + L"\\shell\\KestavelShredder";
}

struct Shortcut {
    std::wstring target;
    std::wstring folder;
};

Shortcut ReadShortcut(const std::wstring& path) {
    IShellLinkW* link = nullptr;
    Expect(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                        reinterpret_cast<void**>(&link))),
           L"a shell link object");
    Shortcut shortcut;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            wchar_t text[MAX_PATH] = {};
            if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0)))
                shortcut.target = text;
            text[0] = L'\0';
            if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH)))
                shortcut.folder = text;
        }
        file->Release();
    }
    link->Release();
    Expect(!shortcut.target.empty(), L"the shortcut " + path + L" can be read");
    return shortcut;
}

// Names of the entries of a folder, "." and ".." left out.
std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    win::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(find.get(), &found));
    return names;
}

// "Aide": the HTML Help viewer opens the help file in the program's process; it closes again.
void OpenAndCloseHelp(const Program& program, HWND main, const wchar_t* shot) {
    ::PostMessageW(main, WM_COMMAND, kCmdHelp, 0);
    HWND viewer = FindProcessWindow(program.processId(), L"HH Parent", 20000);
    if (!viewer) {
        if (HWND box = FindMessageBox(program.processId(), 0))
            Fail(L"\"Aide\" answered with a message box: " + Text(box));
        Fail(L"\"Aide\" opens no window of the HTML Help viewer");
    }
    ExpectEqual(Text(viewer), kHelpTitle, L"the help viewer's title");
    // The contents pane lists the help's pages (fourteen and one book), the index its keywords, accents whole.
    int topics = 0;
    WaitUntil([&] {
        for (HWND tree : Children(viewer, L"SysTreeView32"))
            topics = static_cast<int>(::SendMessageW(tree, TVM_GETCOUNT, 0, 0));
        return topics >= 15;
    });
    ExpectEqual(topics, 15, L"entries of the contents pane");
    std::vector<HWND> lists = Children(viewer, L"SysListView32");
    Expect(!lists.empty() && ListCount(lists.front()) > 50, L"the index pane lists the keywords");
    ExpectEqual(ListItemText(lists.front(), 0), L"À propos (fenêtre)", L"the index's first keyword");
    Screenshot(shot);
    Close(viewer);
    Expect(WaitUntil([&] { return !::IsWindow(viewer) || !::IsWindowVisible(viewer); }), L"the help viewer closes");
}

// Clicks through the installer's wizard with its default choices: each page's main button (Suivant,
// Installer, Fermer) once the page offers it, until the installer ends.
void ClickThroughWizard(Program& setup) {
    HWND wizard = FindMessageBox(setup.processId(), 20000);
    Expect(wizard != nullptr, L"the installer's wizard appears");
    auto page = [&] { return ::FindWindowExW(wizard, nullptr, L"#32770", nullptr); };
    // Until the installer ends. Its wizard's visibility is no sign of the end: under load the clicks once
    // stopped on a wizard reported hidden, while the installer waited on its next page.
    for (int step = 0; step < 8 && setup.running() && ::IsWindow(wizard); ++step) {
        HWND next = ::GetDlgItem(wizard, IDOK);
        Expect(WaitUntil([&] { return !setup.running() || ::IsWindowEnabled(next); }, 60000),
               L"the wizard's page offers its next step");
        if (!setup.running())
            break;
        const HWND shown = page();
        Log(L"wizard: " + Text(next));
        if (step == 1) {
            // The components page: the program with its help, the optional desktop shortcut and the
            // integration to Explorer.
            auto components = [&] {
                for (HWND tree : Children(wizard, L"SysTreeView32")) {
                    if (::IsWindowVisible(tree))
                        return static_cast<int>(::SendMessageW(tree, TVM_GETCOUNT, 0, 0));
                }
                return 0;
            };
            Expect(WaitUntil([&] { return components() == 3; }), L"the wizard offers three components");
            WaitUntil([&] {  // the header's title and subtitle
                return !Text(::GetDlgItem(wizard, 1037)).empty() && !Text(::GetDlgItem(wizard, 1038)).empty();
            });
            // Painted before the picture is taken: the update is sent to the wizard's thread and waited for.
            ::RedrawWindow(wizard, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            Screenshot(L"setup-components");
            HelpPicture(L"installation-composants", WindowRectOf(wizard));
        }
        Click(next);
        Expect(WaitUntil([&] { return !setup.running() || page() != shown; }, 60000), L"the wizard moves on");
    }
    ExpectEqual(setup.waitForExit(60000), 0, L"exit code of the installer");
}

}  // namespace

SCENARIO("package-install") {
    ::CoInitialize(nullptr);
    // Silent install, as an administrator deploying it would.
    Program setup = Program::Start(kSetup, L"/S");
    ExpectEqual(setup.waitForExit(120000), 0, L"exit code of the silent installer");

    // The uninstall entry, read back from the registry.
    const std::wstring folder = KnownFolder(CSIDL_PROGRAM_FILES) + L"\\Kestavel Shredder";
    const std::wstring exe = folder + L"\\KestavelShredder.exe";
    ExpectEqual(UninstallText(L"InstallLocation"), folder, L"installed in the program files folder");
    ExpectEqual(UninstallText(L"DisplayName"), L"Kestavel Shredder 3.20", L"name in the list of programs");
    ExpectEqual(UninstallText(L"DisplayVersion"), L"3.20", L"version in the list of programs");
    ExpectEqual(UninstallText(L"Publisher"), L"Kestavel", L"publisher in the list of programs");
    ExpectEqual(UninstallText(L"DisplayIcon"), exe + L",0", L"icon in the list of programs");
    ExpectEqual(UninstallText(L"UninstallString"), L"\"" + folder + L"\\uninstall.exe\"", L"uninstaller");
    const DWORD size = UninstallNumber(L"EstimatedSize");
    Log(L"estimated size: " + std::to_wstring(size) + L" KiB");
    Expect(size > 1000 && size < 100000, L"a plausible size in KiB");

    // The files and the shortcuts, which start in the install folder.
    for (const std::wstring& name :
         {std::wstring(L"KestavelShredder.exe"), std::wstring(kHelpName), std::wstring(L"uninstall.exe")})
        Expect(win::IsFile(folder + L"\\" + name), name + L" is installed");
    const std::wstring menu = KnownFolder(CSIDL_COMMON_PROGRAMS) + L"\\Kestavel Shredder";
    const std::wstring startShortcut = menu + L"\\Kestavel Shredder.lnk";
    const std::wstring helpShortcut = menu + L"\\Aide Kestavel Shredder.lnk";
    const std::wstring desktopShortcut = KnownFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Kestavel Shredder.lnk";
    for (const std::wstring& path : {startShortcut, desktopShortcut}) {
        const Shortcut shortcut = ReadShortcut(path);
        ExpectEqual(shortcut.target, exe, L"target of " + path);
        ExpectEqual(shortcut.folder, folder, L"working folder of " + path);
    }
    ExpectEqual(ReadShortcut(helpShortcut).target, folder + L"\\" + kHelpName, L"target of the help shortcut");

    // The integration to Explorer: the verb on files and folders, nowhere else, and the Send To shortcut.
    for (const wchar_t* type : kVerbClasses) {
        const std::wstring key = VerbKey(type);
        ExpectEqual(ClassesText(key), L"Détruire avec Kestavel Shredder", L"the verb's text on " + key);
        ExpectEqual(ClassesText(key, L"Icon"), exe + L",0", L"the verb's icon on " + key);
        ExpectEqual(ClassesText(key, L"MultiSelectModel"), L"Player", L"the verb's selection model on " + key);
        ExpectEqual(ClassesText(key + L"\\command"), L"\"" + exe + L"\" \"%1\"", L"the verb's command on " + key);
    }
    for (const wchar_t* type : kNoVerbClasses)
        Expect(!ClassesKeyExists(VerbKey(type)), L"no verb on " + std::wstring(type));
    const std::wstring sendTo = KnownFolder(CSIDL_SENDTO) + L"\\Kestavel Shredder.lnk";
    ExpectEqual(ReadShortcut(sendTo).target, exe, L"target of the Send To shortcut");

    // The program, started from its Start menu shortcut as the user would, and its help.
    Expect(reinterpret_cast<INT_PTR>(
               ::ShellExecuteW(nullptr, L"open", startShortcut.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32,
           L"the shell opens the Start menu shortcut");
    HWND main = FindWindowTitled(kTitle, 20000);
    Expect(main != nullptr, L"the program's window appears");
    DWORD processId = 0;
    ::GetWindowThreadProcessId(main, &processId);
    Program program = Program::Attach(processId);
    OpenAndCloseHelp(program, main, L"help-viewer");

    // The program made its working folders; a journal line stands for the user's data there.
    const std::wstring config = KnownFolder(CSIDL_LOCAL_APPDATA) + L"\\Kestavel\\ShredderConfig\\";
    const JournalFile journal(config);
    Expect(journal.appendLine(JournalFile::timestamp() + L" - Le fichier [avant.txt] est vide!"),
           L"a journal line in " + config);

    // Installing over it while it runs: a silent install gives up, the wizard asks to close the program.
    Program silentAgain = Program::Start(kSetup, L"/S");
    ExpectEqual(silentAgain.waitForExit(60000), 2, L"exit code of a silent install while the program runs");
    Program setupAgain = Program::Start(kSetup);
    MessageBoxInfo running = WaitForMessageBox(setupAgain.processId(), 30000);
    ExpectEqual(running.text, L"Kestavel Shredder est ouvert.\r\n\r\nFermez-le, puis cliquez sur Réessayer.",
                L"the installer asks to close the program");
    Close(main);
    ExpectEqual(program.waitForExit(), 0, L"exit code of the program");
    // What the new install must put back.
    Expect(::DeleteFileW((folder + L"\\" + kHelpName).c_str()) && ::DeleteFileW(desktopShortcut.c_str()),
           L"the help file and the desktop shortcut can be removed");
    Answer(running, IDRETRY);
    ClickThroughWizard(setupAgain);
    Expect(win::IsFile(folder + L"\\" + kHelpName), L"the help file is back");
    Expect(win::IsFile(desktopShortcut), L"the desktop shortcut is back");
    ExpectEqual(UninstallText(L"InstallLocation"), folder, L"the same install folder after the new install");

    // The uninstaller's wizard (run from a copy of itself) says where the user's data stays; cancelled, it
    // leaves everything in place.
    Program askUninstall = Program::Start(folder + L"\\uninstall.exe");
    HWND unwizard = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : Children(::GetDesktopWindow(), L"#32770")) {
                if (::IsWindowVisible(window) && Text(window).rfind(L"Désinstallation de Kestavel Shredder", 0) == 0)
                    unwizard = window;
            }
            return unwizard != nullptr;
        },
        30000);
    Expect(unwizard != nullptr, L"the uninstaller's wizard appears");
    const std::wstring dataFolder = KnownFolder(CSIDL_LOCAL_APPDATA) + L"\\Kestavel";
    Expect(WaitUntil([&] {
               for (HWND child : Children(unwizard, L"Static")) {
                   if (Text(child).find(L"Votre journal et vos réglages ne sont pas supprimés : ils restent dans " +
                                        dataFolder) != std::wstring::npos)
                       return true;
               }
               return false;
           }),
           L"the uninstaller says that the journal and the settings stay in " + dataFolder);
    ::RedrawWindow(unwizard, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Screenshot(L"uninstall-confirm");
    HelpPicture(L"desinstallation", WindowRectOf(unwizard));
    Click(::GetDlgItem(unwizard, IDCANCEL));
    Expect(WaitUntil([&] { return !::IsWindow(unwizard); }), L"the cancelled uninstaller ends");
    Expect(UninstallEntryExists() && win::IsFile(exe), L"a cancelled uninstall changes nothing");

    // Silent uninstall. The uninstaller runs on from a copy of itself in the temporary folder: wait for its
    // work to show.
    Program uninstall = Program::Start(folder + L"\\uninstall.exe", L"/S");
    ExpectEqual(uninstall.waitForExit(60000), 0, L"exit code of the uninstaller");
    auto everythingGone = [&] {
        return !UninstallEntryExists() && !win::Exists(folder) && !win::Exists(menu) && !win::Exists(desktopShortcut) &&
               !win::Exists(sendTo) && !ClassesKeyExists(VerbKey(L"*")) && !ClassesKeyExists(VerbKey(L"Directory"));
    };
    WaitUntil(everythingGone, 60000);
    Expect(!UninstallEntryExists(), L"the uninstall entry is gone");
    Expect(!win::Exists(exe) && !win::Exists(folder + L"\\" + kHelpName), L"the program files are gone");
    Expect(!win::Exists(folder), L"the install folder is gone");
    Expect(!win::Exists(menu), L"the Start menu folder is gone");
    Expect(!win::Exists(desktopShortcut), L"the desktop shortcut is gone");
    Expect(!win::Exists(sendTo), L"the Send To shortcut is gone");
    for (const wchar_t* type : kVerbClasses)
        Expect(!ClassesKeyExists(VerbKey(type)), L"the verb is gone from " + std::wstring(type));
    Expect(ClassesKeyExists(L"*") && ClassesKeyExists(L"Directory"), L"the classes themselves stay");
    const std::vector<std::wstring> lines = JournalFile::readLines(journal.path());
    Expect(lines.size() == 1 && lines[0].find(L"[avant.txt]") != std::wstring::npos,
           L"the journal in Local AppData is kept");
    ::CoUninitialize();
}

SCENARIO("package-explorer") {
    ::CoInitialize(nullptr);
    Program setup = Program::Start(kSetup, L"/S");
    ExpectEqual(setup.waitForExit(120000), 0, L"exit code of the silent installer");

    // Forty-nine files and a folder chosen together, the program not running: Explorer starts the verb's
    // command once per item, all at once. Wine's Explorer shows no registered verb, so the shell is asked
    // as Explorer asks it, with the item's class named.
    const std::wstring chosen = L"C:\\choix\\";
    const std::wstring folder = chosen + L"dossier choisi";
    ::CreateDirectoryW(chosen.c_str(), nullptr);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    MakeFile(folder + L"\\dedans.txt", 1);
    std::vector<std::wstring> expected = {folder, folder + L"\\dedans.txt"};
    for (int i = 0; i < 49; ++i) {
        expected.push_back(chosen + L"fichier " + std::to_wstring(i) + L".txt");
        MakeFile(expected.back(), 1);
    }
    std::vector<win::UniqueHandle> started;
    auto invoke = [&](const wchar_t* type, const std::wstring& path) {
        SHELLEXECUTEINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.lpClass = type;
        info.lpVerb = L"KestavelShredder";
        info.lpFile = path.c_str();
        info.nShow = SW_SHOWNORMAL;
        Expect(::ShellExecuteExW(&info) && info.hProcess, L"the shell runs the verb on " + path);
        started.emplace_back(info.hProcess);
    };
    const Clock::time_point start = Clock::now();
    for (size_t i = 2; i < expected.size(); ++i)
        invoke(L"*", expected[i]);
    invoke(L"Directory", folder);
    HWND main = FindWindowTitled(kTitle, 30000);
    Expect(main != nullptr, L"the program's window appears");
    DWORD processId = 0;
    ::GetWindowThreadProcessId(main, &processId);
    Program program = Program::Attach(processId);
    HWND list = FindChildById(main, kIdShredList);
    auto sortedList = [&] {
        std::vector<std::wstring> texts;
        for (int i = 0, n = ListCount(list); i < n; ++i)
            texts.push_back(ListItemText(list, i));
        std::sort(texts.begin(), texts.end());
        return texts;
    };
    std::sort(expected.begin(), expected.end());
    Expect(WaitUntil([&] { return sortedList() == expected; }, 60000), L"every chosen item is queued, once");
    Log(L"50 verb invocations racing: all queued in " + std::to_wstring(Seconds(start)) + L" s");
    auto running = [&] {
        return std::count_if(started.begin(), started.end(), [](const win::UniqueHandle& process) {
            return ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
        });
    };
    Expect(WaitUntil([&] { return running() == 1; }, 30000), L"all starts but the first end");
    for (const win::UniqueHandle& process : started) {
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(process.get(), &code);
        Expect(code == 0 || (code == STILL_ACTIVE && ::GetProcessId(process.get()) == processId),
               L"each start hands its item over and ends with code 0");
    }
    int windows = 0;
    for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, L"KestavelShredderMain", nullptr));)
        ++windows;
    ExpectEqual(windows, 1, L"main windows");

    // Send To: Explorer starts the shortcut with every selected item as its arguments.
    const std::wstring sendTo = KnownFolder(CSIDL_SENDTO) + L"\\Kestavel Shredder.lnk";
    const std::wstring sent[] = {L"C:\\envoi un.txt", L"C:\\envoi — ünïcödé.txt"};
    for (const std::wstring& path : sent)
        MakeFile(path, 1);
    const std::wstring arguments = L"\"" + sent[0] + L"\" \"" + sent[1] + L"\"";
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = sendTo.c_str();
    info.lpParameters = arguments.c_str();
    info.nShow = SW_SHOWNORMAL;
    Expect(::ShellExecuteExW(&info), L"the shell starts the Send To shortcut");
    win::UniqueHandle sender(info.hProcess);
    for (const std::wstring& path : sent)
        expected.push_back(path);
    std::sort(expected.begin(), expected.end());
    Expect(WaitUntil([&] { return sortedList() == expected; }, 30000), L"the items sent are queued");
    Expect(!FindMessageBox(processId, 300), L"nothing is said");
    Screenshot(L"package-explorer");
    Close(main);
    ExpectEqual(program.waitForExit(), 0, L"exit code of the program");
    Expect(win::IsFile(sent[0]) && win::IsFile(folder + L"\\dedans.txt"), L"nothing was destroyed");
    ::CoUninitialize();
}

SCENARIO("package-portable") {
    // The archive unpacks into a folder of its own that holds the program and its help, nothing else.
    const std::wstring folder = L"C:\\Portable\\KestavelShredder-3.20";
    std::vector<std::wstring> entries = FolderEntries(folder);
    std::sort(entries.begin(), entries.end());
    Expect(entries == std::vector<std::wstring>{kHelpName, L"KestavelShredder.exe"},
           L"the unpacked folder holds the program and the help file only");

    // Started from there, as from Explorer, it finds its help beside it.
    Program program = Program::Start(folder + L"\\KestavelShredder.exe", L"", folder);
    HWND main = program.waitForWindow(kTitle);
    OpenAndCloseHelp(program, main, L"portable-help");
    // Nothing of the integration to Explorer, which belongs to the installer.
    for (const wchar_t* type : kVerbClasses)
        Expect(!ClassesKeyExists(VerbKey(type)), L"the portable program registers no verb on " + std::wstring(type));
    Expect(!win::Exists(KnownFolder(CSIDL_SENDTO) + L"\\Kestavel Shredder.lnk"), L"nor a Send To shortcut");
    Close(main);
    ExpectEqual(program.waitForExit(), 0, L"exit code");
    ExpectEqual(static_cast<long long>(FolderEntries(folder).size()), 2, L"the program leaves its folder as it was");
}

}  // namespace drive
