; The French installer of Kestavel Shredder. Built by the build (packaging/CMakeLists.txt), which passes:
;   VERSION      product version, e.g. 3.20
;   PROGRAM_EXE  the built KestavelShredder.exe
;   HELP_FILE    the compiled help, "Aide Kestavel Shredder.chm"
;   APP_ICON     the program's icon
;   WIZARD_BITMAP the picture of the first and last pages (164 x 314)
;   OUT_FILE     the installer to write
; Installs for every user of the machine (administrator rights), into the program files folder.

Unicode true
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Kestavel Shredder"
!define PUBLISHER "Kestavel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KestavelShredder"
; Held by every running instance of the program.
!define INSTANCE_MUTEX "Kestavel Shredder ${VERSION}"
!define SHORTCUT_FOLDER "$SMPROGRAMS\${PRODUCT}"
; Explorer's verb, on files (*) and on folders (Directory) only: not on drives, not on a folder's or the
; desktop's background. Both keys are shared by the 32- and 64-bit views of the registry.
!define VERB_NAME "KestavelShredder"
!define FILE_VERB_KEY "Software\Classes\*\shell\${VERB_NAME}"
!define FOLDER_VERB_KEY "Software\Classes\Directory\shell\${VERB_NAME}"
!define VERB_TEXT "Détruire avec ${PRODUCT}"
; In the Send To folder of the user who installs (Windows has no Send To folder for all users).
!define SENDTO_SHORTCUT "$SENDTO\${PRODUCT}.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

; Where the program keeps the journal and the settings of each user; the uninstaller leaves it alone.
Var DataFolder

!define MUI_ICON "${APP_ICON}"
!define MUI_UNICON "${APP_ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"

!define MUI_WELCOMEPAGE_TITLE "Installer ${PRODUCT} ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Cet assistant va installer ${PRODUCT} ${VERSION} sur votre ordinateur : le programme, son aide et ses raccourcis.$\r$\n$\r$\nSi ${PRODUCT} est ouvert, fermez-le avant de continuer.$\r$\n$\r$\nCliquez sur Suivant pour continuer."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${PRODUCT} ${VERSION} est installé. Vous le trouverez dans le menu Démarrer, dossier « ${PRODUCT} ».$\r$\n$\r$\nCliquez sur Fermer pour quitter l'assistant."
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Aide ${PRODUCT}.chm"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Ouvrir l'aide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "${PRODUCT} va être désinstallé de ce dossier. Votre journal et vos réglages ne sont pas supprimés : ils restent dans $DataFolder."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${PRODUCT} est désinstallé"
!define MUI_FINISHPAGE_TEXT "Le programme, son aide et ses raccourcis ont été retirés.$\r$\n$\r$\nVotre journal et vos réglages sont conservés dans :$\r$\n$DataFolder$\r$\n$\r$\nSupprimez ce dossier vous-même si vous n'en avez plus besoin."
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "French"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_FRENCH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_FRENCH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_FRENCH} "FileDescription" "Installation de ${PRODUCT} ${VERSION}"
VIAddVersionKey /LANG=${LANG_FRENCH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_FRENCH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_FRENCH} "LegalCopyright" "${PUBLISHER}"

; Files in use cannot be replaced or removed: the program must be closed first. Asks until it is, or until
; the user gives up; a silent run gives up at once (exit code 2).
!macro WAIT_FOR_PROGRAM_CLOSED PREFIX
Function ${PREFIX}WaitForProgramClosed
    ${Do}
        System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p .r0'
        ${If} $0 = 0
            ${Break}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r0)'
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} est ouvert.$\r$\n$\r$\nFermez-le, puis cliquez sur Réessayer." /SD IDCANCEL IDRETRY +2
        Abort
    ${Loop}
FunctionEnd
!macroend
!insertmacro WAIT_FOR_PROGRAM_CLOSED ""
!insertmacro WAIT_FOR_PROGRAM_CLOSED "un."

Function .onInit
    Call WaitForProgramClosed
FunctionEnd

Section "${PRODUCT} et son aide (requis)" SecProgram
    SectionIn RO
    SetShellVarContext all
    ; The user may have started the program while the wizard was open.
    Call WaitForProgramClosed

    SetOutPath "$INSTDIR"
    File "/oname=KestavelShredder.exe" "${PROGRAM_EXE}"
    File "/oname=Aide ${PRODUCT}.chm" "${HELP_FILE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; Shortcuts start in the install folder. An earlier desktop shortcut, and an earlier integration to
    ; Explorer, go unless asked for again.
    Delete "$DESKTOP\${PRODUCT}.lnk"
    Call RemoveExplorerIntegration
    CreateDirectory "${SHORTCUT_FOLDER}"
    CreateShortCut "${SHORTCUT_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\KestavelShredder.exe" "" \
        "$INSTDIR\KestavelShredder.exe" 0 SW_SHOWNORMAL "" "Détruire définitivement des fichiers et effacer les traces d'utilisation"
    CreateShortCut "${SHORTCUT_FOLDER}\Aide ${PRODUCT}.lnk" "$INSTDIR\Aide ${PRODUCT}.chm" "" \
        "" 0 SW_SHOWNORMAL "" "Aide de ${PRODUCT}"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\KestavelShredder.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Raccourci sur le Bureau" SecDesktop
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    CreateShortCut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\KestavelShredder.exe" "" \
        "$INSTDIR\KestavelShredder.exe" 0 SW_SHOWNORMAL "" "Détruire définitivement des fichiers et effacer les traces d'utilisation"
SectionEnd

; The verb hands the chosen item to the program as "%1", one process per item: Explorer starts as many as
; items are selected, and each hands its path to the instance that runs (the program is single-instance),
; so that they all land in one window's list. MultiSelectModel "Player" keeps the verb in the menu for a
; selection of up to 100 items; with the default ("Document") Explorer hides a command-line verb beyond 15.
; A selection of any size goes through Send To, which passes every item to one process.
Section "Intégration à l'Explorateur" SecExplorer
    WriteRegStr HKLM "${FILE_VERB_KEY}" "" "${VERB_TEXT}"
    WriteRegStr HKLM "${FILE_VERB_KEY}" "Icon" "$INSTDIR\KestavelShredder.exe,0"
    WriteRegStr HKLM "${FILE_VERB_KEY}" "MultiSelectModel" "Player"
    WriteRegStr HKLM "${FILE_VERB_KEY}\command" "" '"$INSTDIR\KestavelShredder.exe" "%1"'
    WriteRegStr HKLM "${FOLDER_VERB_KEY}" "" "${VERB_TEXT}"
    WriteRegStr HKLM "${FOLDER_VERB_KEY}" "Icon" "$INSTDIR\KestavelShredder.exe,0"
    WriteRegStr HKLM "${FOLDER_VERB_KEY}" "MultiSelectModel" "Player"
    WriteRegStr HKLM "${FOLDER_VERB_KEY}\command" "" '"$INSTDIR\KestavelShredder.exe" "%1"'
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    CreateShortCut "${SENDTO_SHORTCUT}" "$INSTDIR\KestavelShredder.exe" "" \
        "$INSTDIR\KestavelShredder.exe" 0 SW_SHOWNORMAL "" "${VERB_TEXT}"
    SetShellVarContext all
    ; Explorer reads the menus again (SHCNE_ASSOCCHANGED).
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

!macro REMOVE_EXPLORER_INTEGRATION PREFIX
Function ${PREFIX}RemoveExplorerIntegration
    DeleteRegKey HKLM "${FILE_VERB_KEY}"
    DeleteRegKey HKLM "${FOLDER_VERB_KEY}"
    SetShellVarContext current
    Delete "${SENDTO_SHORTCUT}"
    SetShellVarContext all
FunctionEnd
!macroend
!insertmacro REMOVE_EXPLORER_INTEGRATION ""
!insertmacro REMOVE_EXPLORER_INTEGRATION "un."

Function un.onInit
    SetShellVarContext current
    StrCpy $DataFolder "$LOCALAPPDATA\Kestavel"
    Call un.WaitForProgramClosed
FunctionEnd

; Removes exactly what the installer put in place. The user's journal and settings (under Local AppData)
; are theirs and stay.
Section "Uninstall"
    SetShellVarContext all
    Delete "$INSTDIR\KestavelShredder.exe"
    Delete "$INSTDIR\Aide ${PRODUCT}.chm"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${SHORTCUT_FOLDER}\${PRODUCT}.lnk"
    Delete "${SHORTCUT_FOLDER}\Aide ${PRODUCT}.lnk"
    RMDir "${SHORTCUT_FOLDER}"
    Delete "$DESKTOP\${PRODUCT}.lnk"
    Call un.RemoveExplorerIntegration
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DetailPrint "Journal et réglages conservés dans $DataFolder"
SectionEnd
