// The Windows tools view as the user meets it: three tabs of shortcuts, their links, the tools they start,
// the boxes they show, and the 64-bit companion launchers written into the configuration folder.
#include "tests/drive/HelpPictures.h"
#include "tests/drive/Session.h"

#include "tools/Companions.h"
#include "app/tools/ToolItems.h"
#include "app/tools/ToolsView.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

using namespace drive;

namespace {

// The child with the number, or null when there is none.
HWND ChildOrNull(HWND parent, int id) {
    for (HWND child : Children(parent)) {
        if (::GetDlgCtrlID(child) == id)
            return child;
    }
    return nullptr;
}

RECT RectIn(HWND parent, HWND child) {
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring LocalAppData() {
    return RegisteredFolder(L"Local AppData") + L"\\";
}

std::wstring ConfigFolder() {
    return LocalAppData() + L"Kestavel\\ShredderConfig\\";
}

// The processes of the sandbox (it has a wineserver of its own), by id and name.
std::map<DWORD, std::wstring> Processes() {
    std::map<DWORD, std::wstring> found;
    win::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (bool more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
        found[entry.th32ProcessID] = entry.szExeFile;
    return found;
}

// What the test's clicks started: processes of the tools' names that were not there before. Only those are
// ended; Wine's own services, which a start may bring up, are left alone.
class StartedProcesses {
public:
    StartedProcesses() : before_(Processes()) {}

    // Waits for a new process of that name (case ignored); its id, or 0.
    DWORD waitFor(const std::wstring& name, DWORD timeoutMs = 30000) {
        names_.push_back(name);
        DWORD found = 0;
        WaitUntil([&] { return (found = newProcess(name)) != 0; }, timeoutMs);
        return found;
    }
    void endAll() const {
        for (const std::wstring& name : names_) {
            while (DWORD id = newProcess(name)) {
                win::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
                if (!process || !::TerminateProcess(process.get(), 0))
                    break;
                ::WaitForSingleObject(process.get(), 5000);
            }
        }
    }

private:
    DWORD newProcess(const std::wstring& name) const {
        for (const auto& [id, exe] : Processes()) {
            if (!before_.count(id) && ::lstrcmpiW(exe.c_str(), name.c_str()) == 0)
                return id;
        }
        return 0;
    }

    std::map<DWORD, std::wstring> before_;
    std::vector<std::wstring> names_;
};

// The text of the process's tooltip on show, if any.
struct TooltipSearch {
    DWORD processId;
    std::wstring text;
};
BOOL CALLBACK FindTooltip(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TooltipSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window) && ClassName(window) == TOOLTIPS_CLASSW)
        search->text = Text(window);
    return TRUE;
}
std::wstring VisibleTooltipText(DWORD processId) {
    TooltipSearch search = {processId, L""};
    ::EnumWindows(FindTooltip, reinterpret_cast<LPARAM>(&search));
    return search.text;
}

// A message box's icon, told by its colour on screen: red for an error, yellow for a warning, blue for a
// question.
enum class IconKind { None, Error, Warning, Question };
IconKind IconOnScreen(HWND icon) {
    RECT rect;
    ::GetWindowRect(icon, &rect);
    win::WindowDc screen(nullptr);
    int red = 0, yellow = 0, blue = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            const COLORREF c = ::GetPixel(screen.get(), x, y);
            const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            red += r > 180 && g < 90 && b < 90;
            yellow += r > 180 && g > 160 && b < 90;
            blue += b > 160 && r < 120;
        }
    }
    const int most = std::max({red, yellow, blue});
    if (most < 20)
        return IconKind::None;
    return most == red ? IconKind::Error : most == yellow ? IconKind::Warning : IconKind::Question;
}

// Pixels of the colour inside a window's rectangle on screen.
int CountPixels(HWND window, COLORREF color) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    win::WindowDc screen(nullptr);
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x)
            count += ::GetPixel(screen.get(), x, y) == color;
    }
    return count;
}

struct ToolsSession : Session {
    HWND view() const { return control(kIdToolsView); }
    HWND tabs() const { return FindChildById(view(), ToolsView::kTabsId); }
    HWND page(int tab) const { return FindChildById(view(), ToolsView::kPageFirstId + tab); }
    HWND link(int number) const { return FindChildById(view(), kToolLinkFirst + number); }

    void open() {
        command(kCmdTools);
        Expect(WaitUntil([&] { return ::IsWindowVisible(view()) && !visible(kIdShredView); }),
               L"\"Outils Windows\" shows the tools view instead of the list");
    }
    // A real click on the tab's header.
    void chooseTab(int tab) {
        const RECT header = TabItemRectOnScreen(tabs(), tab);
        int firstOnPage = 1;
        while (ToolItemAt(firstOnPage).tab != tab)
            ++firstOnPage;
        Expect(
            ClickUntil(
                {(header.left + header.right) / 2, (header.top + header.bottom) / 2},
                [&] { return ::IsWindowVisible(page(tab)) && CountPixels(link(firstOnPage), RGB(72, 110, 183)) > 20; }),
            L"the tab's page shows");
        // Visible is not yet painted, and two pages may show a link at the same place: the page is drawn now,
        // so that a picture taken next shows it and not the page before.
        ::RedrawWindow(page(tab), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    // What a click on the link sends, whichever tab shows.
    void clickLink(int number) const {
        HWND target = link(number);
        ::PostMessageW(::GetParent(target), WM_COMMAND, MAKEWPARAM(kToolLinkFirst + number, STN_CLICKED),
                       reinterpret_cast<LPARAM>(target));
    }
    // The box that the click shows: its title, text, icon and buttons.
    MessageBoxInfo expectBox(int number,
                             const std::wstring& title,
                             const std::wstring& text,
                             IconKind icon,
                             bool question = false) const {
        clickLink(number);
        MessageBoxInfo shown = box();
        const std::wstring what = ToolItemAt(number).link;
        ExpectEqual(shown.title, title, what + L": title");
        ExpectEqual(shown.text, text, what + L": text");
        HWND iconControl = ::GetDlgItem(shown.window, 0x440);  // Wine: stc1; Windows: 0x14
        if (!iconControl)
            iconControl = ::GetDlgItem(shown.window, 0x14);
        const bool hasIcon =
            iconControl && ::IsWindowVisible(iconControl) && ::SendMessageW(iconControl, STM_GETICON, 0, 0) != 0;
        Expect(hasIcon == (icon != IconKind::None), what + L": an icon or none");
        if (hasIcon)
            Expect(WaitUntil([&] { return IconOnScreen(iconControl) == icon; }), what + L": the icon's colour");
        Expect((::GetDlgItem(shown.window, IDYES) != nullptr) == question &&
                   (::GetDlgItem(shown.window, IDNO) != nullptr) == question,
               what + L": buttons");
        return shown;
    }
    void expectError(int number, const std::wstring& text) const {
        Answer(expectBox(number, L"ERREUR", text, IconKind::Error), IDOK);
    }
    void expectNoBox(const std::wstring& what) const {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        Expect(FindMessageBox(program.processId(), 1000) == nullptr, what + L" shows no message");
    }
};

bool HoldsImage(const std::wstring& path, const wchar_t* name) {
    const CompanionImage* image = FindCompanionImage(name);
    win::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes(image->size + 1, '\0');
    DWORD read = 0;
    ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    return read == image->size && std::memcmp(bytes.data(), image->data, image->size) == 0;
}

// Control panel items (.cpl) open through rundll32 on Windows; a plain prefix has no such verb.
void RegisterControlPanelVerb() {
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        auto set = [&](const wchar_t* subKey, const wchar_t* value) {
            win::UniqueRegKey key;
            ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, 0, KEY_WRITE | view, nullptr, key.put(), nullptr);
            ::RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                             static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
        };
        set(L"Software\\Classes\\.cpl", L"cplfile");
        set(L"Software\\Classes\\cplfile\\shell", L"cplopen");
        set(L"Software\\Classes\\cplfile\\shell\\cplopen\\command",
            L"rundll32.exe shell32.dll,Control_RunDLL \"%1\",%*");
    }
}

// Wine's per-program Windows version for the program, for the scope of the object.
class WindowsVersionSeen {
public:
    explicit WindowsVersionSeen(const wchar_t* version) {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, key_.put(), nullptr);
        ::RegSetValueExW(key_.get(), L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                         static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
    }
    ~WindowsVersionSeen() { ::RegDeleteValueW(key_.get(), L"Version"); }
    WindowsVersionSeen(const WindowsVersionSeen&) = delete;
    WindowsVersionSeen& operator=(const WindowsVersionSeen&) = delete;

private:
    static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\KestavelShredder.exe";
    win::UniqueRegKey key_;
};

void SetWriteTime(const std::wstring& path, FILETIME time) {
    win::UniqueFile file(
        ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ::SetFileTime(file.get(), nullptr, nullptr, &time);
}

FILETIME WriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

}  // namespace

SCENARIO("tools-panel") {
    ToolsSession s;
    Expect(!::IsWindowVisible(s.view()), L"the tools view is hidden at start");
    s.open();
    const RECT area = RectIn(s.main, s.view());
    Expect(area.left == 265 && area.top == 65 && area.right == 265 + 744 && area.bottom == 65 + 653,
           L"the view fills the right-hand area");
    Expect((::GetWindowLongW(s.view(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0, L"the view has a sunken edge");
    // Like a tab control in a dialog: all four borders inside the view, at one margin, and one colour around
    // it, behind the tab headers as well.
    RECT inside;
    ::GetClientRect(s.view(), &inside);
    const RECT tabs = RectIn(s.view(), s.tabs());
    Expect(tabs.left > 0 && tabs.top == tabs.left && inside.right - tabs.right == tabs.left &&
               inside.bottom - tabs.bottom == tabs.left,
           L"the tab control keeps one margin on every side");
    RECT margin = {inside.left, inside.top + 100, inside.left + tabs.left, inside.bottom - 100};
    ::MapWindowPoints(s.view(), nullptr, reinterpret_cast<POINT*>(&margin), 2);
    RECT band = {tabs.right - 80, tabs.top + 2, tabs.right - 10, tabs.top + 12};
    ::MapWindowPoints(s.view(), nullptr, reinterpret_cast<POINT*>(&band), 2);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    auto other = [&](COLORREF color) { return color != face; };
    // Read from the screen once the view has painted there.
    Expect(WaitUntil([&] { return CountScreenPixels(margin, other) == 0 && CountScreenPixels(band, other) == 0; }),
           L"the margin and the band behind the tab headers have one colour");

    ExpectEqual(static_cast<long long>(::SendMessageW(s.tabs(), TCM_GETITEMCOUNT, 0, 0)), 3, L"tab count");
    for (int tab = 0; tab < kToolTabCount; ++tab) {
        ExpectEqual(TabText(s.tabs(), tab), kToolTabs[tab].title, L"tab title");
        HWND intro = FindChildById(s.page(tab), ToolsView::kIntroFirstId + tab);
        ExpectEqual(Text(intro), kToolTabs[tab].intro, L"introduction of " + std::wstring(kToolTabs[tab].title));
        const RECT place = RectIn(s.page(tab), intro);
        Expect(place.left == 5 && place.top == 5, L"the introduction sits at (5, 5)");
    }

    // Every shortcut of the program's table: its link's text, on its tab, 20 pixels right of its icon, never
    // narrower than planned, wide enough for its text; a description under those that have one.
    for (int number = 1; number <= kToolCount; ++number) {
        const ToolItem& expected = ToolItemAt(number);
        HWND link = s.link(number);
        Expect(link != nullptr, L"link " + std::to_wstring(number) + L" exists");
        ExpectEqual(Text(link), expected.link, L"link " + std::to_wstring(number));
        Expect(::GetParent(link) == s.page(expected.tab), std::wstring(expected.link) + L" is on its tab");
        const RECT place = RectIn(s.page(expected.tab), link);
        ExpectEqual(place.left, expected.x + 20, std::wstring(expected.link) + L": x");
        ExpectEqual(place.top, expected.y, std::wstring(expected.link) + L": y");
        ExpectEqual(place.bottom - place.top, 15, std::wstring(expected.link) + L": height");
        Expect(place.right - place.left >= expected.width, std::wstring(expected.link) + L" is not narrower");
        if (place.right - place.left > expected.width)
            Log(L"widened so that the text is whole: \"" + std::wstring(expected.link) + L"\" " +
                std::to_wstring(expected.width) + L" -> " + std::to_wstring(place.right - place.left));
        HWND description = ChildOrNull(s.page(expected.tab), kToolLinkFirst + ToolsView::kDescriptionOffset + number);
        Expect((description != nullptr) == (expected.description != nullptr),
               std::wstring(expected.link) + L": description");
        if (description) {
            ExpectEqual(Text(description), expected.description, std::wstring(expected.link) + L": description text");
            const RECT under = RectIn(s.page(expected.tab), description);
            Expect(under.left == 70 && under.top == expected.y + 15 && under.right - under.left >= 650,
                   std::wstring(expected.link) + L": description place");
        }
    }
    ExpectEqual(Text(FindChildById(s.page(2), kToolLinkFirst + ToolsView::kDescriptionOffset + 32)),
                ToolItemAt(32).description, L"the longest description");

    // Under the pointer a link takes its light colour, and gives it back when the pointer leaves. The light
    // colour is also what smoothing makes of the dark one at the edges of the letters, so the light pixels
    // are compared with their number away from the pointer.
    HWND internet = s.link(16);
    RECT rect;
    ::GetWindowRect(internet, &rect);
    const COLORREF dark = RGB(72, 110, 183), light = RGB(146, 169, 212);
    ::SetCursorPos(rect.left - 60, rect.top - 60);
    Expect(WaitUntil([&] { return CountPixels(internet, dark) > 20; }), L"the link is drawn in blue");
    const int lightAway = CountPixels(internet, light);
    ::SetCursorPos(rect.left + 20, (rect.top + rect.bottom) / 2);
    Expect(WaitUntil([&] { return CountPixels(internet, dark) == 0 && CountPixels(internet, light) > lightAway + 20; }),
           L"under the pointer the link turns light blue");
    // The pointer resting on the link shows its tooltip.
    Expect(WaitUntil([&] { return VisibleTooltipText(s.program.processId()) == ToolItemAt(16).tooltip; }),
           L"the tooltip of \"Options internet\"");
    Screenshot(L"tools-utilitaires");
    ::SetCursorPos(rect.left - 60, rect.top - 60);
    Expect(WaitUntil([&] { return CountPixels(internet, dark) > 20; }), L"the colour comes back");
    // The help's picture: the first tab without a tooltip, as wide as a help picture allows.
    if (TakingHelpPictures() && WaitUntil([&] { return VisibleTooltipText(s.program.processId()).empty(); })) {
        RECT tools = WindowRectOf(s.view());
        tools.right = tools.left + kHelpPictureWidth;
        HelpPicture(L"outils", tools);
    }

    s.chooseTab(1);
    Expect(!::IsWindowVisible(s.page(0)) && !::IsWindowVisible(s.page(2)), L"one page at a time");
    Screenshot(L"tools-outils-avances");
    s.chooseTab(2);
    Screenshot(L"tools-aide-maintenance");
    s.command(kCmdHome);
    Expect(WaitUntil([&] { return s.visible(kIdShredView) && !::IsWindowVisible(s.view()); }),
           L"\"Accueil Kestavel Shredder\" brings the list back");
    s.quit();
}

SCENARIO("tools-companions") {
    RegisterControlPanelVerb();
    ToolsSession s;
    s.open();
    const std::wstring config = ConfigFolder();
    const std::wstring inetcpl = config + L"Inetcpl64.exe";
    Expect(!win::Exists(inetcpl), L"no companion before the first click");

    // The first click on "Options internet" writes the companion and it starts the 64-bit tool.
    StartedProcesses first;
    RECT rect;
    ::GetWindowRect(s.link(16), &rect);
    Expect(WaitUntil([&] { return CountPixels(s.link(16), RGB(72, 110, 183)) > 20; }), L"the link is on screen");
    // On a loaded machine Wine sometimes loses a click that arrives with the window's focus events: the hand
    // clicks again when nothing happened.
    bool written = false;
    for (int attempt = 0; attempt < 3 && !written; ++attempt) {
        MouseClick({rect.left + 20, (rect.top + rect.bottom) / 2});
        written = WaitUntil([&] { return HoldsImage(inetcpl, L"Inetcpl64.exe"); });
    }
    Expect(written, L"Inetcpl64.exe is written into the configuration folder, byte for byte");
    const DWORD tool = first.waitFor(L"rundll32.exe");
    Expect(tool != 0, L"the internet options start");
    Expect(FindMessageBox(tool, 30000) != nullptr, L"the internet options show their window");
    Screenshot(L"tools-internet-options");
    s.expectNoBox(L"\"Options internet\"");
    first.endAll();

    // The second click starts the file in place without writing it again.
    const FILETIME old = {0x256D4000, 0x01BF53EB};  // 1 January 2000
    SetWriteTime(inetcpl, old);
    StartedProcesses second;
    s.clickLink(16);
    Expect(second.waitFor(L"rundll32.exe") != 0, L"the second click starts the internet options again");
    const FILETIME after = WriteTime(inetcpl);
    Expect(::CompareFileTime(&old, &after) == 0, L"the second click does not rewrite Inetcpl64.exe");
    second.endAll();

    // The other six: each written out and started, and no message even where the prefix lacks the tool.
    StartedProcesses rest;
    for (int number : {5, 8, 20, 23, 28, 34})
        s.clickLink(number);
    for (const wchar_t* name :
         {L"defrag64.exe", L"mrt64.exe", L"msconfig64.exe", L"ipconfig64.exe", L"compmgmt_msc64.exe", L"rstrui64.exe"})
        Expect(WaitUntil([&] { return HoldsImage(config + name, name); }), std::wstring(name) + L" is written");
    Expect(rest.waitFor(L"cmd.exe") != 0, L"ipconfig64.exe starts the command interpreter");
    s.expectNoBox(L"a companion whose tool is missing");
    rest.endAll();

    s.quit();
    for (const wchar_t* gone :
         {L"defrag64.exe", L"mrt64.exe", L"msconfig64.exe", L"compmgmt_msc64.exe", L"rstrui64.exe"})
        Expect(!win::Exists(config + gone), std::wstring(gone) + L" is deleted at exit");
    for (const wchar_t* kept : {L"ipconfig64.exe", L"Inetcpl64.exe"})
        Expect(HoldsImage(config + kept, kept), std::wstring(kept) + L" stays for the next run");
}

SCENARIO("tools-errors") {
    {
        ToolsSession s;
        s.open();
        StartedProcesses started;
        s.expectError(29, L"Observateur d'évènements\rKestavel ne parvient pas à lancer le programme.");
        s.expectError(6, L"Impossible de lancer le nettoyeur de disques");
        // The shell is asked too before the box: a .msc file has no program of its own.
        s.expectError(19, L"Le fichier : services.msc\rne se trouve pas à l'emplacement normal");
        s.expectError(33, L"Le fichier : UserAccountControlSettings.exe\rne se trouve pas à l'emplacement habituel");
        // The Control Panel shortcut is missing here: the taskbar's command is sent instead, without a word.
        s.clickLink(4);
        s.expectNoBox(L"\"Panneau de configuration\"");
        // The prefix's own registry editor and system information start, without a word.
        s.clickLink(22);
        Expect(started.waitFor(L"regedit.exe") != 0, L"\"Éditeur du registre\" starts regedit.exe");
        s.clickLink(25);
        Expect(started.waitFor(L"msinfo32.exe") != 0, L"\"Informations système\" starts msinfo32.exe");
        s.expectNoBox(L"a tool that starts");
        started.endAll();
        s.quit();
    }

    // On Windows XP the performance analyser and the maintenance centre are not offered; the resource
    // monitor is still tried.
    WindowsVersionSeen xp(L"winxp");
    ToolsSession s;
    s.open();
    Answer(s.expectBox(2, L"Perfmon", L"Le moniteur de ressources n'est pas disponible avec votre version de Windows",
                       IconKind::Warning),
           IDOK);
    Answer(
        s.expectBox(26, L"Maintenance", L"Le centre de maintenance n'est pas disponible avec votre version de Windows",
                    IconKind::Warning),
        IDOK);
    s.expectError(3, L"Impossible de lancer le moniteur de ressources");
    s.quit();
}

// In a 32-bit Windows (a prefix of its own) the tools start from the system folder directly or through the
// shell, and no companion is ever written.
SCENARIO("tools-32bit") {
    Expect(!win::Exists(L"C:\\Program Files (x86)") && !win::Exists(L"C:\\windows\\syswow64"),
           L"the prefix is a 32-bit Windows");
    {
        // Windows 8 and later (level 100): the defragmenter is not offered.
        WindowsVersionSeen later(L"win10");
        ToolsSession s;
        s.open();
        StartedProcesses started;
        Answer(s.expectBox(5, L"Info", L"Votre version de Windows n'est pas supportée.", IconKind::None), IDOK);
        // Through the shell's "open", which fails here: the prefix has no MRT.exe.
        s.expectError(8, L"Impossible de lancer l'Anti-logiciels malveillants");
        // msconfig.exe, the shell, the Help Center's copy: all missing, so the Run dialog is offered.
        Answer(s.expectBox(20, L"Commande Exécuter", L"Voulez-vous essayer avec la commande Exécuter ?",
                           IconKind::Question, true),
               IDNO);
        s.expectNoBox(L"\"Non\" to the Run dialog");
        // A plain prefix gives .cpl files no verb: the internet options cannot open.
        s.expectError(16, L"Impossible de lancer le programme des options internet.");
        s.expectError(28, L"Gestion de l'ordinateur\rKestavel ne parvient pas à lancer le programme.");
        s.expectError(34, L"Restaurer le système\rKestavel ne parvient pas à lancer le programme.");
        s.clickLink(23);
        Expect(started.waitFor(L"cmd.exe") != 0, L"the internet protocol console starts cmd.exe");
        s.expectNoBox(L"the internet protocol console");
        Screenshot(L"tools-32bit");
        started.endAll();
        s.quit();
    }
    for (const CompanionImage& image : CompanionImages())
        Expect(!win::Exists(ConfigFolder() + image.fileName),
               std::wstring(image.fileName) + L" is never written on 32-bit Windows");
}
