// The gallery window as the user sees it: every control at the sizes, colours and texts the main window
// uses.
#include "tests/gallery/Gallery.h"

#include "controls/BalloonTip.h"
#include "controls/BigButton.h"
#include "controls/ColorProgressBar.h"
#include "controls/ExplorerBar.h"
#include "win/Strings.h"

#include <commctrl.h>

namespace gallery {

HWND Caption(HWND parent, int x, int y, int width, int height, const wchar_t* text) {
    HWND caption = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, x, y, width, height,
                                     parent, nullptr, nullptr, nullptr);
    ::SendMessageW(caption, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return caption;
}

namespace {

// A progress bar inside a frame with a thin sunken edge, as the main window places them.
HWND FramedBar(HWND parent,
               int x,
               int y,
               int width,
               int height,
               int position,
               COLORREF textColor2,
               COLORREF textColor,
               COLORREF barColor,
               COLORREF backColor) {
    HWND frame = ::CreateWindowExW(WS_EX_STATICEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE, x, y, width + 2, height + 2,
                                   parent, nullptr, nullptr, nullptr);
    HWND bar =
        ColorProgressBar::Create(frame, 0, 0, 0, width, height, 0, 100, textColor2, textColor, barColor, backColor);
    ::SendMessageW(bar, PBM_SETPOS, position, 0);
    return bar;
}

void BuildProgressBars(Resources& resources) {
    HWND window = resources.window;
    const HICON titleIcon = resources.pictures.icon(IDI_APP);
    Caption(window, 280, 10, 300, 15, L"Progression");
    HWND overall =
        FramedBar(window, 280, 27, 734, 15, 42, RGB(0, 0, 0), RGB(0, 0, 0), RGB(119, 230, 120), RGB(226, 232, 241));
    AttachBalloonTip(nullptr, overall, L"Progression",
                     L"Etat d'avancement général de la destruction en cours, indique le pourcentage d'éléments "
                     L"détruits.",
                     titleIcon);
    Caption(window, 280, 52, 150, 15, L"Avancement pointeur");
    FramedBar(window, 280, 67, 250, 13, 63, RGB(0, 0, 0), RGB(255, 255, 255), RGB(226, 53, 29), RGB(214, 225, 254));
    Caption(window, 280, 87, 150, 15, L"Ecrasement réalisé");
    FramedBar(window, 280, 102, 250, 13, 100, RGB(0, 0, 0), RGB(255, 255, 255), RGB(157, 196, 224), RGB(214, 225, 254));
    Caption(window, 280, 122, 250, 15, L"Ecrasement mémoire du nom");
    FramedBar(window, 280, 137, 245, 15, 18, RGB(0, 0, 0), RGB(255, 255, 255), RGB(235, 183, 29), RGB(214, 225, 254));
    Caption(window, 560, 52, 250, 15, L"Couleurs du système");
    FramedBar(window, 560, 67, 250, 13, 50, ColorProgressBar::kSystemColor, ColorProgressBar::kSystemColor,
              ColorProgressBar::kSystemColor, ColorProgressBar::kSystemColor);
}

win::UniqueIcon ButtonIcon(HINSTANCE instance, int id, int size = 24) {
    return win::UniqueIcon(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
}

// The run buttons (captions in capitals after ten spaces, only the first enabled, as at start) and the
// buttons under the shred list, whose narrower captions want the 16-pixel pictures, then one button in each
// of the other three layouts.
void BuildButtons(Resources& resources) {
    HWND window = resources.window;
    resources.destroyIcon = ButtonIcon(resources.instance, IDI_BTN_DESTROY);
    resources.pauseIcon = ButtonIcon(resources.instance, IDI_BTN_PAUSE);
    resources.resumeIcon = ButtonIcon(resources.instance, IDI_BTN_RESUME);
    resources.stopIcon = ButtonIcon(resources.instance, IDI_BTN_STOP);
    resources.removeSelectedIcon = ButtonIcon(resources.instance, IDI_BTN_REMOVE_SELECTED, 16);
    resources.removeAllIcon = ButtonIcon(resources.instance, IDI_BTN_REMOVE_ALL, 16);
    resources.journalIcon = ButtonIcon(resources.instance, IDI_BTN_JOURNAL, 16);
    const struct {
        const wchar_t* caption;
        HICON icon;
        bool enabled;
    } runButtons[] = {{L"Détruire tout!", resources.destroyIcon.get(), true},
                      {L"Interrompre", resources.pauseIcon.get(), false},
                      {L"Reprendre", resources.resumeIcon.get(), false},
                      {L"Stopper tout!", resources.stopIcon.get(), false}};
    Caption(window, 280, 170, 200, 15, L"Boutons de la destruction");
    int y = 190;
    for (const auto& run : runButtons) {
        HWND button = BigButton::Create(window, 0, 280, y, 190, 32, L"          " + win::ToUpper(run.caption), run.icon,
                                        BigButton::kIconLeft, &resources.theme);
        ::EnableWindow(button, run.enabled);
        y += 33;
    }
    Caption(window, 500, 170, 300, 15, L"Sous la liste");
    BigButton::Create(window, 0, 500, 190, 130, 32, L"Retirer sélection", resources.removeSelectedIcon.get(),
                      BigButton::kIconLeft, &resources.theme);
    BigButton::Create(window, 0, 630, 190, 130, 32, L"Retirer tout", resources.removeAllIcon.get(),
                      BigButton::kIconLeft, &resources.theme);
    BigButton::Create(window, 0, 770, 190, 100, 32, L"Journal", resources.journalIcon.get(), BigButton::kIconLeft,
                      &resources.theme);
    Caption(window, 500, 232, 300, 15, L"Autres dispositions");
    const HICON big = resources.pictures.icon(IDI_BTN_JOURNAL);
    BigButton::Create(window, 0, 500, 252, 100, 66, L"Icône dessus", big, BigButton::kIconAbove, &resources.theme);
    BigButton::Create(window, 0, 610, 252, 130, 66, L"Icône à droite", big, BigButton::kIconRight, &resources.theme);
    BigButton::Create(window, 0, 750, 252, 100, 66, L"Icône dessous", big, BigButton::kIconBelow, &resources.theme);
}

HWND Child(HWND parent,
           const wchar_t* className,
           const wchar_t* text,
           DWORD style,
           int x,
           int y,
           int width,
           int height) {
    HWND child = ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                   nullptr, nullptr, nullptr);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return child;
}

// The method and repetition controls of the "Destruction de fichiers" group.
void FillMethodPanel(HWND panel, const Resources& resources) {
    HWND methods = Child(panel, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 10, 5, 205, 200);
    for (const wchar_t* method : {L"Nombres Aléatoires - 1 cycle", L"Simples zéros  - 1 cycle",
                                  L"GOST p50739-95 (Russie) - 2 cycles", L"DoD 5220.22-M (USA) - 3 cycles"})
        ::SendMessageW(methods, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(method));
    ::SendMessageW(methods, CB_SETCURSEL, 1, 0);
    AttachBalloonTip(nullptr, methods, L"Mode de destruction",
                     L"Sélectionnez l'algorithme à utiliser pour l'écrasement de vos données.",
                     resources.pictures.icon(IDI_APP));
    Child(panel, L"STATIC", L"Nombre de répétitions  :  ", SS_NOPREFIX | SS_LEFTNOWORDWRAP, 10, 37, 110, 15);
    HWND count = Child(panel, WC_EDITW, L"1", ES_NUMBER | ES_READONLY | WS_BORDER, 130, 35, 35, 20);
    ::SendMessageW(count, WM_SETFONT, reinterpret_cast<WPARAM>(resources.fonts.get(FontRole::Strong)), FALSE);
    HWND spin = Child(panel, UPDOWN_CLASSW, L"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 0, 0);
    ::SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(count), 0);
    ::SendMessageW(spin, UDM_SETRANGE32, 1, 99);
    ::SendMessageW(spin, UDM_SETPOS32, 0, 1);
}

void FillExplorerTree(HWND panel) {
    HWND tree = Child(panel, WC_TREEVIEWW, L"", TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0, 220, 248);
    TreeView_SetBkColor(tree, RGB(68, 94, 138));
    TreeView_SetTextColor(tree, RGB(255, 255, 255));
    TVINSERTSTRUCTW insert = {};
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.hParent = TVI_ROOT;
    insert.item.pszText = const_cast<wchar_t*>(L"C:\\");
    HTREEITEM drive = TreeView_InsertItem(tree, &insert);
    insert.hParent = drive;
    for (const wchar_t* folder : {L"Program Files", L"ProgramData", L"users", L"windows"}) {
        insert.item.pszText = const_cast<wchar_t*>(folder);
        TreeView_InsertItem(tree, &insert);
    }
    TreeView_Expand(tree, drive, TVE_EXPAND);
}

// The explorer bar of the main window: its four groups, their links, the two embedded panels and the note.
void BuildExplorerBar(Resources& resources) {
    const Pictures& pictures = resources.pictures;
    HWND bar = ExplorerBar::Create(resources.window, 500, 0, 0, 260, kGalleryHeight);
    auto add = [&](int type, int height, int command, const wchar_t* caption, int picture, HFONT font = nullptr) {
        const ItemDescriptor item = {type, height, command, font};
        return ExplorerBar::AddItem(bar, -1, caption, picture ? pictures.bitmap(picture) : nullptr, &item);
    };
    using namespace ExplorerBar;
    add(kHeader, 35, 0, L"Menu principal", IDR_GROUP_MAIN);
    add(kLink, 25, 49, L"Accueil Kestavel Shredder", IDR_LINK_HOME);
    add(kLink, 25, 47, L"Nettoyage rapide", IDR_LINK_CLEANER);
    add(kLink, 25, 48, L"Outils Windows", IDR_LINK_TOOLS);
    add(kLink, 25, 50, L"Quitter Kestavel Shredder", IDR_LINK_QUIT);
    add(kHeader, 35, 0, L"Destruction de fichiers", IDR_GROUP_SHRED);
    FillMethodPanel(AddContainer(bar, -1, 60), resources);
    add(kLink, 25, 51, L"Ajouter un ou plusieurs fichiers", IDR_LINK_ADD_FILES);
    add(kLink, 25, 52, L"Ajouter un répertoire complet", IDR_LINK_ADD_FOLDER);
    add(kLink, 30, 53, L"Répertoires système...", IDR_LINK_PRESETS);
    add(kLabel, 15, 0, L"Attention! Soyez sûr de vous.", 0, resources.fonts.get(FontRole::Note));
    add(kHeader, 35, 0, L"Explorateur système", IDR_GROUP_EXPLORER);
    FillExplorerTree(AddContainer(bar, -1, 250));
    add(kHeader, 35, 0, L"Support", IDR_GROUP_SUPPORT);
    add(kLink, 25, 55, L"Ouvrir l'aide", IDR_LINK_HELP);
    add(kLink, 25, 58, L"A propos...", IDR_LINK_ABOUT);
    resources.explorerBar = bar;
}

}  // namespace

void BuildShowcase(Resources& resources) {
    BuildExplorerBar(resources);
    BuildProgressBars(resources);
    BuildButtons(resources);
}

bool HandleGalleryMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    return BigButton::Draw(message, wParam, lParam);
}

}  // namespace gallery
