// The launch table of the Windows tools view: what each of its actions does.
#include "tools/ToolActions.h"

#include "tools/Companions.h"
#include "tools/Launch.h"
#include "win/OsLevel.h"

namespace {

// Taskbar command numbers, by effect.
enum TaskbarCommandNumber : int {
    kRunDialog = 401,
    kClockSettings = 408,
    kTaskbarProperties = 413,
    kRestoreWindows = 416,
    kMinimizeAll = 419,
    kTaskManager = 420,
    kStartMenuSettings = 421,
    kLockTaskbar = 424,
    kControlPanel = 505,
    kShutDownDialog = 506,
};

class Actions {
public:
    explicit Actions(const ToolContext& context) : c_(context) {}

    void run(ToolAction action);

private:
    std::wstring system(const wchar_t* name) const { return c_.systemFolder + L"\\" + name; }
    // The system folder's parent (the Windows folder on a standard system) followed by the name.
    std::wstring parent(const wchar_t* name) const {
        const size_t last = c_.systemFolder.rfind(L'\\');
        return (last == std::wstring::npos ? std::wstring() : c_.systemFolder.substr(0, last + 1)) + name;
    }
    int box(const wchar_t* title, const wchar_t* text, UINT style) const {
        return ::MessageBoxW(c_.owner, text, title, style);
    }
    void error(const wchar_t* text) const { box(L"ERREUR", text, MB_OK | MB_ICONERROR); }
    // Launches the program; on failure shows the error box with the text.
    void launch(const std::wstring& path, const wchar_t* failure, const wchar_t* arguments = L"") const {
        if (!LaunchProgram(path.c_str(), arguments))
            error(failure);
    }
    // On 64-bit Windows a companion starts the tool from the 64-bit system folder; otherwise the 32-bit
    // action runs.
    bool companion(const wchar_t* fileName) const {
        if (!c_.windows64)
            return false;
        RunCompanion(c_.configFolder, fileName);
        return true;
    }
    void controlPanel() const;
    void defragmenter() const;
    void systemConfiguration() const;

    const ToolContext& c_;
};

void Actions::controlPanel() const {
    // A missing shortcut (Windows XP has none) opens the Control Panel through the taskbar instead.
    const bool launched =
        !c_.appData.empty() &&
        LaunchProgram(
            (c_.appData + L"Microsoft\\Windows\\Start Menu\\Programs\\Accessories\\System Tools\\Control Panel.lnk")
                .c_str());
    if (!launched)
        TaskbarCommand(kControlPanel);
}

void Actions::defragmenter() const {
    if (companion(L"defrag64.exe"))
        return;
    if (c_.osLevel == win::kOsVista || c_.osLevel == win::kOsSeven)
        LaunchProgram(system(L"dfrgui.exe").c_str());
    else if (c_.osLevel == win::kOsXp)
        LaunchProgram(system(L"dfrg.msc").c_str());
    else
        box(L"Info", L"Votre version de Windows n'est pas supportée.", MB_OK);
}

void Actions::systemConfiguration() const {
    if (companion(L"msconfig64.exe"))
        return;
    const std::wstring msconfig = system(L"msconfig.exe");
    if (LaunchProgram(msconfig.c_str()) || ShellOpen(msconfig.c_str()) ||
        LaunchProgram(parent(L"pchealth\\helpctr\\binaries\\msconfig.exe").c_str()))
        return;
    if (box(L"Commande Exécuter", L"Voulez-vous essayer avec la commande Exécuter ?", MB_YESNO | MB_ICONQUESTION) ==
        IDYES)
        TaskbarCommand(kRunDialog);
}

void Actions::run(ToolAction action) {
    switch (action) {
        case ToolAction::TaskManager:
            TaskbarCommand(kTaskManager);
            break;
        case ToolAction::PerformanceAnalyser:
            if (c_.osLevel < win::kOsVista)
                box(L"Perfmon", L"Le moniteur de ressources n'est pas disponible avec votre version de Windows",
                    MB_OK | MB_ICONWARNING);
            else
                launch(system(L"perfmon.exe"), L"Impossible de lancer le moniteur de ressources");
            break;
        case ToolAction::ResourceMonitor:
            launch(system(L"resmon.exe"), L"Impossible de lancer le moniteur de ressources");
            break;
        case ToolAction::ControlPanel:
            controlPanel();
            break;
        case ToolAction::Defragmenter:
            defragmenter();
            break;
        case ToolAction::DiskCleanup:
            launch(system(L"cleanmgr.exe"), L"Impossible de lancer le nettoyeur de disques");
            break;
        case ToolAction::RunDialog:
            TaskbarCommand(kRunDialog);
            break;
        case ToolAction::MalwareRemoval:
            if (!companion(L"mrt64.exe") && !ShellOpen(system(L"MRT.exe").c_str()))
                error(L"Impossible de lancer l'Anti-logiciels malveillants");
            break;
        case ToolAction::SelfExtractingArchive:
            launch(system(L"iexpress.exe"), L"Impossible de lancer le créateur d'archives auto-extractibles");
            break;
        case ToolAction::MinimizeAll:
            TaskbarCommand(kMinimizeAll);
            break;
        case ToolAction::RestoreWindows:
            TaskbarCommand(kRestoreWindows);
            break;
        case ToolAction::LockTaskbar:
            TaskbarCommand(kLockTaskbar);
            break;
        case ToolAction::TaskbarProperties:
            TaskbarCommand(kTaskbarProperties);
            break;
        case ToolAction::StartMenuSettings:
            TaskbarCommand(kStartMenuSettings);
            break;
        case ToolAction::ClockSettings:
            TaskbarCommand(kClockSettings);
            break;
        case ToolAction::InternetOptions:
            if (!companion(L"Inetcpl64.exe"))
                launch(system(L"inetcpl.cpl"), L"Impossible de lancer le programme des options internet.");
            break;
        case ToolAction::ShutDownDialog:
            TaskbarCommand(kShutDownDialog);
            break;
        case ToolAction::CommandPrompt:
            launch(c_.commandInterpreter, L"Impossible d'ouvrir l'invite de commande");
            break;
        case ToolAction::Services:
            launch(system(L"services.msc"), L"Le fichier : services.msc\rne se trouve pas à l'emplacement normal");
            break;
        case ToolAction::SystemConfiguration:
            systemConfiguration();
            break;
        case ToolAction::DiskManagement:
            launch(system(L"diskmgmt.msc"), L"Impossible de lancer le gestionnaire de disques");
            break;
        case ToolAction::RegistryEditor:
            launch(parent(L"regedit.exe"), L"Le fichier : regedit.exe\rne se trouve pas à l'emplacement normal");
            break;
        case ToolAction::IpConfiguration:
            if (!companion(L"ipconfig64.exe"))
                launch(system(L"cmd.exe"), L"Impossible de lancer la configuration du protocole internet.",
                       L"/k %windir%\\system32\\ipconfig.exe");
            break;
        case ToolAction::WindowsVersion:
            launch(system(L"winver.exe"), L"Le fichier : winver.exe\rne se trouve pas à l'emplacement habituel");
            break;
        case ToolAction::SystemInformation:
            launch(system(L"msinfo32.exe"), L"Le fichier : msinfo32.exe\rne se trouve pas à l'emplacement habituel");
            break;
        case ToolAction::ActionCenter:
            if (c_.osLevel < win::kOsVista)
                box(L"Maintenance", L"Le centre de maintenance n'est pas disponible avec votre version de Windows",
                    MB_OK | MB_ICONWARNING);
            else
                launch(system(L"wscui.cpl"), L"Le fichier : wscui.cpl\rne se trouve pas à l'emplacement habituel");
            break;
        case ToolAction::Troubleshooting:
            launch(system(L"control.exe"),
                   L"Résoudre les problèmes d'ordinateur\rKestavel ne parvient pas à lancer le programme.",
                   L"/name Microsoft.Troubleshooting");
            break;
        case ToolAction::ComputerManagement:
            if (!companion(L"compmgmt_msc64.exe"))
                launch(system(L"compmgmt.msc"),
                       L"Gestion de l'ordinateur\rKestavel ne parvient pas à lancer le programme.");
            break;
        case ToolAction::EventViewer:
            launch(system(L"eventvwr.exe"),
                   L"Observateur d'évènements\rKestavel ne parvient pas à lancer le programme.");
            break;
        case ToolAction::SystemProperties:
            launch(system(L"control.exe"), L"Propriétés système\rKestavel ne parvient pas à lancer le programme.",
                   L"system");
            break;
        case ToolAction::RemoteAssistance:
            launch(system(L"msra.exe"), L"Assistance à distance\rKestavel ne parvient pas à lancer le programme.");
            break;
        case ToolAction::ProgramsAndFeatures:
            launch(system(L"appwiz.cpl"),
                   L"Programmes et composants Windows\rKestavel ne parvient pas à lancer le programme.");
            break;
        case ToolAction::UserAccountControl:
            launch(system(L"UserAccountControlSettings.exe"),
                   L"Le fichier : UserAccountControlSettings.exe\rne se trouve pas à l'emplacement habituel");
            break;
        case ToolAction::SystemRestore:
            if (!companion(L"rstrui64.exe"))
                launch(system(L"rstrui.exe"), L"Restaurer le système\rKestavel ne parvient pas à lancer le programme.");
            break;
    }
}

}  // namespace

void RunToolAction(ToolAction action, const ToolContext& context) {
    Actions(context).run(action);
}

void TaskbarCommand(int number) {
    HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!taskbar)
        return;
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(taskbar, WM_COMMAND, static_cast<WPARAM>(number), 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, 2000,
                          &ignored);
}
