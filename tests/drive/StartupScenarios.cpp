// Start-up as the user sees it: the window, the greeting, the working folders, a single instance.
#include "tests/drive/Drive.h"
#include "tests/drive/HelpPictures.h"

#include "app/Environment.h"
#include "app/main/ControlIds.h"
#include "win/Files.h"
#include "win/Handle.h"

#include <algorithm>

using namespace drive;

namespace {

constexpr wchar_t kTitle[] = L"Kestavel Shredder 3.20";
constexpr int kHeaderId = 1001;

// Read straight from the registry rather than through the program's own lookup.
std::wstring LocalAppData() {
    const std::wstring path = RegisteredFolder(L"Local AppData");
    Expect(!path.empty(), L"the sandbox has a Local AppData folder");
    return path + L"\\";
}

void CloseAndExpectCleanExit(Program& program, HWND window) {
    Close(window);
    ExpectEqual(program.waitForExit(), 0, L"exit code after closing the window");
}

}  // namespace

SCENARIO("startup-window") {
    const std::wstring work = LocalAppData() + L"Kestavel\\";
    Expect(!win::Exists(work), L"no Kestavel folder before the first start");

    Program program = Program::Start();
    HWND window = program.waitForWindow(kTitle);
    const SIZE client = ClientSize(window);
    ExpectEqual(client.cx, 1014, L"client width");
    ExpectEqual(client.cy, 718, L"client height");
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    Expect(!(style & WS_MAXIMIZEBOX) && !(style & WS_THICKFRAME), L"the window can be neither maximised nor resized");
    Expect((style & WS_MINIMIZEBOX) != 0, L"the window has a minimise box");

    Expect(win::IsFolder(work + L"ShredderTemp"), L"first start creates Kestavel\\ShredderTemp");
    Expect(win::IsFolder(work + L"ShredderConfig"), L"first start creates Kestavel\\ShredderConfig");

    // The greeting is drawn on the header picture; the header control carries the same two lines as its text.
    const std::wstring greeting = Text(FindChildById(window, kHeaderId));
    ExpectEqual(greeting,
                L"Bonjour " + LastFolderName(ProfileFolderPath() + L"\\") +
                    L", vous êtes connecté comme administrateur système. Droits étendus.\r\n"
                    L"Nous sommes le " +
                    FrenchDateLine() + L", bienvenue dans votre utilitaire de sécurité personnelle.",
                L"greeting");
    Screenshot(L"startup-window");

    // The help's pictures of the window at rest: the greeting (the banner cut after its white text), the
    // command column, and the list with its counters and buttons (the run's details further right go).
    if (TakingHelpPictures()) {
        // The column is covered while the start-up scan of the work folder runs.
        Expect(WaitUntil([&] { return ::IsWindowVisible(FindChildById(window, kIdLeftColumn)) != FALSE; }),
               L"the command column uncovered");
        RECT banner = WindowRectOf(FindChildById(window, kHeaderId));
        banner.right = std::min<LONG>(banner.right, LastColumnWith(banner, RGB(255, 255, 255)) + 12);
        banner.left = std::max<LONG>(banner.left, banner.right - kHelpPictureWidth);
        HelpPicture(L"bandeau", banner);
        HelpPicture(L"colonne-commandes", WindowRectOf(FindChildById(window, kIdLeftColumn)));
        RECT view = WindowRectOf(FindChildById(window, kIdShredView));
        view.right = WindowRectOf(FindChildById(window, kIdRunButtonsPanel)).right + 6;
        HelpPicture(L"vue-destruction", view);
    }
    CloseAndExpectCleanExit(program, window);
}

SCENARIO("startup-existing-folders") {
    const std::wstring work = LocalAppData() + L"Kestavel\\";
    ::CreateDirectoryW(work.c_str(), nullptr);
    ::CreateDirectoryW((work + L"ShredderTemp").c_str(), nullptr);
    Program program = Program::Start();
    HWND window = program.waitForWindow(kTitle);
    Expect(win::IsFolder(work + L"ShredderConfig"), L"the missing ShredderConfig folder is created");
    CloseAndExpectCleanExit(program, window);

    // A second start with everything present changes nothing and still starts. Quitting removes the
    // companion launchers that do not stay between runs.
    for (const wchar_t* name : {L"defrag64.exe", L"ipconfig64.exe"}) {
        win::UniqueFile file(::CreateFileW((work + L"ShredderConfig\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, 0, nullptr));
    }
    Program again = Program::Start();
    HWND second = again.waitForWindow(kTitle);
    CloseAndExpectCleanExit(again, second);
    Expect(!win::Exists(work + L"ShredderConfig\\defrag64.exe"), L"defrag64.exe is deleted at exit");
    Expect(win::Exists(work + L"ShredderConfig\\ipconfig64.exe"), L"ipconfig64.exe stays");
}

SCENARIO("startup-kestavel-is-a-file") {
    const std::wstring work = LocalAppData() + L"Kestavel";
    {
        win::UniqueFile file(::CreateFileW(work.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        Expect(static_cast<bool>(file), L"a file named Kestavel can be made");
        DWORD written = 0;
        ::WriteFile(file.get(), "keep", 4, &written, nullptr);
    }
    Program program = Program::Start();
    HWND window = program.waitForWindow(kTitle);
    Expect(win::IsFile(work), L"the file named Kestavel is still a file");
    Expect(!win::Exists(work + L"\\ShredderTemp") && !win::Exists(L"Kestavel"),
           L"no working folder is created, neither there nor in the current folder");
    CloseAndExpectCleanExit(program, window);
}

SCENARIO("startup-single-instance") {
    Program first = Program::Start();
    HWND window = first.waitForWindow(kTitle);
    ::PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Expect(WaitUntil([&] { return ::IsIconic(window) != FALSE; }), L"the first window is minimised");

    Program second = Program::Start();
    // The second instance never shows a window of its own, not even for a moment.
    bool secondShown = false;
    WaitUntil(
        [&] {
            for (HWND own : TopLevelWindows(second.processId(), kTitle))
                secondShown = secondShown || ::IsWindowVisible(own);
            return !second.running();
        },
        15000, 2);
    Expect(!secondShown, L"the second instance shows no window");
    ExpectEqual(second.waitForExit(), 0, L"exit code of the second instance");
    Expect(WaitUntil([&] { return !::IsIconic(window); }), L"the first window is restored");
    ExpectEqual(static_cast<long long>(TopLevelWindows(first.processId(), kTitle).size()), 1,
                L"windows titled like the program");
    Expect(WaitUntil([&] { return ::GetForegroundWindow() == window; }), L"the first window is in front");
    Screenshot(L"startup-second-instance");
    CloseAndExpectCleanExit(first, window);
}
