#include "app/Startup.h"

#include "app/App.h"
#include "app/Environment.h"
#include "app/HandedPaths.h"
#include "app/main/MainWindow.h"
#include "app/SingleInstance.h"
#include "shred/ShellFolder.h"
#include "tools/Companions.h"
#include "win/Dpi.h"
#include "win/Files.h"
#include "win/Strings.h"

#include <commctrl.h>
#include <objbase.h>

namespace {

// Presets that make no sense on this machine: the virtualised cache before Windows Vista, and the
// Firefox cache where Firefox is not installed. The presets menu disables them.
PresetAvailability CheckPresets(int osLevel) {
    PresetAvailability presets;
    presets.virtualizedCache = osLevel >= kOsVista;
    presets.firefoxCache = win::Exists(L"C:\\Program Files\\Mozilla Firefox\\firefox.exe") ||
                           win::Exists(L"C:\\Program Files (x86)\\Mozilla Firefox");
    return presets;
}

// The main window's keyboard works as a dialog's does: Tab and Shift+Tab move between its controls, arrow
// keys within a group, and a focused button takes Space (and Enter, which the big buttons ask for).
void RunMessageLoop(HWND main) {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (main && ::IsWindow(main) && ::IsDialogMessageW(main, &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// The window thread's single-threaded COM apartment, for as long as the windows live: the controls'
// accessible objects reach screen readers and automation tools in other processes through COM's marshalling,
// which needs one. Should it fail, those tools' requests fail with COM's error, and the program works on.
class ComApartment {
public:
    ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

}  // namespace

int RunProgram(HINSTANCE instance) {
    // Before any window, so that Windows never stretches the program's pixels (the manifest says so too; this
    // covers the systems that read only one of its two settings).
    win::DeclareDpiAwareness();
    // First of all, so that a start that only hands its paths to the running instance ends quickly: Explorer
    // starts one per selected item.
    App app;
    const std::vector<std::wstring> paths = CommandLinePaths(::GetCommandLineW());
    switch (ClaimOrHandOver(kProgramTitle, kMainWindowClass, paths, app.instanceMutex)) {
        case InstanceStart::First:
            break;
        case InstanceStart::HandedOver:
            return 0;
        case InstanceStart::NotAnswered: {
            const std::wstring text = L"Kestavel Shredder est ouvert mais ne répond pas : " +
                                      std::to_wstring(paths.size()) +
                                      (paths.size() > 1 ? L" éléments n'ont pas pu être ajoutés à sa liste."
                                                        : L" élément n'a pas pu être ajouté à sa liste.");
            ::MessageBoxW(nullptr, text.c_str(), kProgramTitle, MB_OK | MB_ICONERROR);
            return 1;
        }
        case InstanceStart::Refused:
            // The running window tells its user, once for every start refused meanwhile.
            return 1;
        case InstanceStart::Elevated:
            ::MessageBoxW(nullptr,
                          L"Kestavel Shredder est ouvert en tant qu'administrateur : Windows ne lui laisse pas "
                          L"transmettre ces éléments.\r\n\r\nAjoutez-les depuis sa fenêtre, ou fermez-le puis "
                          L"recommencez.",
                          kProgramTitle, MB_OK | MB_ICONWARNING);
            return 1;
    }

    const ComApartment apartment;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    app.instance = instance;
    app.osLevel = OsLevel();
    LoadThemeApi(app.theme, app.osLevel);
    app.programFolder = win::FolderOf(win::ModulePath());
    const std::wstring localAppData = ShellFolderPath(ShellFolder::LocalAppData);
    if (win::IsFolder(localAppData))
        app.folders = PrepareWorkFolders(localAppData);
    app.fonts.create();
    int missing = 0;
    if (!app.pictures.load(instance, &missing)) {
        const std::wstring text = L"Image " + std::to_wstring(missing) + L" illisible : le programme est endommagé.";
        ::MessageBoxW(nullptr, text.c_str(), kProgramTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
    app.pointerRange = app.overallRange = app.repetitionsRange = 100;
    app.bitnessLabel = OsBitnessLabel();

    // The presets menu is built with the window and shows these disabled from the start.
    app.presets = CheckPresets(app.osLevel);
    MainWindow window(app);
    if (!window.create()) {
        ::MessageBoxW(nullptr, L"La fenêtre principale n'a pas pu être créée.", kProgramTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
    window.show();
    // Files left in the temporary working folder are offered for destruction at every start.
    window.scanTempFolder();
    // The paths of this start's command line, queued as paths handed later by other starts are; from now
    // on the window takes those.
    window.takeHandedPaths(paths);
    RunMessageLoop(window.handle());
    DeleteCompanionsAtExit(app.folders.config);
    // A run asked to stop gets a few seconds to reach a safe point, so that no file is left half renamed;
    // after that the process ends with it.
    if (!window.letRunStop())
        ::ExitProcess(0);
    return 0;
}
