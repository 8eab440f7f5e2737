// The Windows tools view as the user meets it: three tabs of shortcuts, their links, the tools they start,
// the boxes they show, and the 64-bit companion launchers written into the configuration folder.
#include "tests/drive/Session.h"

#include "tools/Companions.h"
#include "tools/ToolItems.h"
#include "tools/ToolsView.h"

#include <tlhelp32.h>

#include <cstring>
#include <map>
#include <set>

using namespace drive;

namespace {

struct ExpectedLink {
    int tab;
    const wchar_t* text;
    int width;
    bool described;
};
// The shortcuts as the user should find them, in display order.
constexpr ExpectedLink kLinks[] = {
    {0, L"Gestionnaire des tâches", 140, true},
    {0, L"Analyseur de performances", 160, true},
    {0, L"Moniteur de ressources", 140, true},
    {0, L"Panneau de configuration", 145, true},
    {0, L"Défragmenter les disques durs", 180, true},
    {0, L"Nettoyer les disques des éléments inutiles", 245, true},
    {0, L"Commande Exécuter", 120, true},
    {0, L"Anti-logiciels malveillants de Microsoft", 225, true},
    {0, L"Création d'archives auto-extractibles", 215, true},
    {0, L"Minimiser toutes les fenêtres ouvertes", 220, false},
    {0, L"Afficher toutes les fenêtres ouvertes", 210, false},
    {0, L"Verrouiller ou déverrouiller la barre des tâches", 270, false},
    {0, L"Propriétés de la barre des tâches", 190, false},
    {0, L"Menu Démarrer ( paramètres de la zone de notification )", 320, false},
    {0, L"Réglage de l'horloge système", 170, false},
    {0, L"Options internet", 95, false},
    {0, L"Mettre en veille, éteindre ou redémarrer l'ordinateur", 300, false},
    {1, L"Ouvrir une console en mode ligne de commande", 275, false},
    {1, L"Gestionnaire des services Windows", 210, false},
    {1, L"Outil de configuration système", 175, false},
    {1, L"Gestionnaire de disques durs et partitions", 240, false},
    {1, L"Editeur du registre", 110, false},
    {1, L"Configuration du protocole internet (mode console)", 290, false},
    {2, L"Info de version", 85, true},
    {2, L"Informations système", 130, true},
    {2, L"Centre de maintenance", 135, true},
    {2, L"Résolution des problèmes windows", 205, true},
    {2, L"Gestion de l'ordinateur", 130, true},
    {2, L"Observateur d'évènements", 160, true},
    {2, L"Propriétés système", 115, true},
    {2, L"Assistance à distance", 130, true},
    {2, L"Programmes, réparations et désinstallations", 260, true},
    {2, L"Paramètres de compte utilisateur", 195, true},
    {2, L"Restaurer le système", 130, true},
};

// Where the shortcut's link should sit on its page: 20 pixels right of its icon.
POINT ExpectedLinkPlace(int number) {
    if (number <= 9)
        return {70, 30 + 40 * (number - 1)};
    if (number <= 16)
        return {120, 400 + 25 * (number - 10)};
    if (number == 17)
        return {70, 580};
    if (number <= 23)
        return {70, 50 + 30 * (number - 18)};
    return {70, 50 + 40 * (number - 24)};
}

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
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   L"Local AppData", RRF_RT_REG_SZ, nullptr, value, &size);
    return std::wstring(value) + L"\\";
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

// What the test's clicks started: processes that were not there before, and are not the program itself.
class StartedProcesses {
public:
    explicit StartedProcesses(DWORD program) : program_(program), before_(Processes()) {}

    // Waits for a new process of that name (case ignored); its id, or 0.
    DWORD waitFor(const std::wstring& name, DWORD timeoutMs = 30000) const {
        DWORD found = 0;
        WaitUntil(
            [&] {
                for (const auto& [id, exe] : Processes()) {
                    if (!before_.count(id) && id != program_ && ::lstrcmpiW(exe.c_str(), name.c_str()) == 0)
                        found = id;
                }
                return found != 0;
            },
            timeoutMs);
        return found;
    }
    // Ends every process that appeared since, except the program (and this driver).
    void endAll() const {
        for (const auto& [id, exe] : Processes()) {
            if (before_.count(id) || id == program_ || id == ::GetCurrentProcessId())
                continue;
            win::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
            if (process) {
                ::TerminateProcess(process.get(), 0);
                ::WaitForSingleObject(process.get(), 5000);
            }
        }
    }

private:
    DWORD program_;
    std::map<DWORD, std::wstring> before_;
};

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
        MouseClick({(header.left + header.right) / 2, (header.top + header.bottom) / 2});
        Expect(WaitUntil([&] { return ::IsWindowVisible(page(tab)) != FALSE; }), L"the tab's page shows");
    }
    // What a click on the link sends, whichever tab shows.
    void clickLink(int number) const {
        HWND target = link(number);
        ::PostMessageW(::GetParent(target), WM_COMMAND, MAKEWPARAM(kToolLinkFirst + number, STN_CLICKED),
                       reinterpret_cast<LPARAM>(target));
    }
    void expectError(int number, const std::wstring& text) const {
        clickLink(number);
        MessageBoxInfo error = box();
        ExpectEqual(error.title, L"ERREUR", std::wstring(kLinks[number - 1].text) + L": title");
        ExpectEqual(error.text, text, std::wstring(kLinks[number - 1].text) + L": text");
        Answer(error, IDOK);
    }
    void expectNoBox(const std::wstring& what) const {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        Expect(FindMessageBox(program.processId(), 1000) == nullptr, what + L" shows no message");
    }
};

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

    ExpectEqual(static_cast<long long>(::SendMessageW(s.tabs(), TCM_GETITEMCOUNT, 0, 0)), 3, L"tab count");
    const wchar_t* tabTitles[] = {L"Utilitaires", L"Outils avancés", L"Aide et maintenance"};
    const wchar_t* intros[] = {
        L"Accèdez rapidement aux outils et fonctions pratiques de votre Windows",
        L"Les outils ci-dessous sont à réserver aux utilisateurs expérimentés.\nDans tous les cas reportez-vous à "
        L"l'aide mise à disposition dans chaque utilitaire.",
        L"Accès rapide aux informations système et centres de maintenance de Windows.\nTrouvez immédiatement ce "
        L"dont vous avez besoin."};
    for (int tab = 0; tab < 3; ++tab) {
        ExpectEqual(TabText(s.tabs(), tab), tabTitles[tab], L"tab title");
        HWND intro = FindChildById(s.page(tab), ToolsView::kIntroFirstId + tab);
        ExpectEqual(Text(intro), intros[tab], L"introduction of " + std::wstring(tabTitles[tab]));
        const RECT place = RectIn(s.page(tab), intro);
        Expect(place.left == 5 && place.top == 5, L"the introduction sits at (5, 5)");
    }

    // Every link: its text, on its tab, at its place, never narrower than planned, wide enough for its
    // text; a description under those that have one.
    for (int number = 1; number <= kToolCount; ++number) {
        const ExpectedLink& expected = kLinks[number - 1];
        HWND link = s.link(number);
        Expect(link != nullptr, L"link " + std::to_wstring(number) + L" exists");
        ExpectEqual(Text(link), expected.text, L"link " + std::to_wstring(number));
        Expect(::GetParent(link) == s.page(expected.tab), std::wstring(expected.text) + L" is on its tab");
        const RECT place = RectIn(s.page(expected.tab), link);
        const POINT at = ExpectedLinkPlace(number);
        ExpectEqual(place.left, at.x, std::wstring(expected.text) + L": x");
        ExpectEqual(place.top, at.y, std::wstring(expected.text) + L": y");
        ExpectEqual(place.bottom - place.top, 15, std::wstring(expected.text) + L": height");
        Expect(place.right - place.left >= expected.width, std::wstring(expected.text) + L" is not narrower");
        if (place.right - place.left > expected.width)
            Log(L"widened so that the text is whole: \"" + std::wstring(expected.text) + L"\" " +
                std::to_wstring(expected.width) + L" -> " + std::to_wstring(place.right - place.left));
        HWND description = ChildOrNull(s.page(expected.tab), kToolLinkFirst + ToolsView::kDescriptionOffset + number);
        Expect((description != nullptr) == expected.described, std::wstring(expected.text) + L": description");
        if (description) {
            const RECT under = RectIn(s.page(expected.tab), description);
            Expect(under.left == 70 && under.top == at.y + 15 && under.right - under.left == 650,
                   std::wstring(expected.text) + L": description place");
        }
    }
    ExpectEqual(Text(FindChildById(s.page(2), kToolLinkFirst + ToolsView::kDescriptionOffset + 32)),
                L"Lancer, ajouter ou supprimer des programmes et des composants windows. Désinstallez les logiciels "
                L"dont vous ne vous servez plus.",
                L"the longest description");

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
    Screenshot(L"tools-utilitaires");
    ::SetCursorPos(rect.left - 60, rect.top - 60);
    Expect(WaitUntil([&] { return CountPixels(internet, dark) > 20; }), L"the colour comes back");

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
