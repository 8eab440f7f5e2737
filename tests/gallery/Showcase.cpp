// The gallery window as the user sees it: every control at the sizes, colours and texts the main window
// uses.
#include "tests/gallery/Gallery.h"

#include "app/main/MainWindowLayout.h"
#include "app/main/ShredView.h"
#include "app/main/ShredViewLayout.h"
#include "controls/BalloonTip.h"
#include "controls/BigButton.h"
#include "controls/ColorProgressBar.h"
#include "controls/ExplorerBar.h"
#include "shred/OverwriteMethod.h"
#include "win/Strings.h"

#include <commctrl.h>

#include <iterator>

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

HWND FramedBar(HWND parent, int x, int y, const mainwin::layout::Bar& bar, int position) {
    using mainwin::layout::Height;
    using mainwin::layout::Width;
    return FramedBar(parent, x, y, Width(bar.place), Height(bar.place), position, bar.text2, bar.text, bar.bar,
                     bar.back);
}

// The row of the main window's layout table with that control number.
template <typename Table>
const typename Table::value_type& WithId(const Table& table, int id) {
    for (const auto& row : table) {
        if (row.id == id)
            return row;
    }
    return table.front();
}

void BuildProgressBars(Resources& resources) {
    using namespace mainwin::layout;
    HWND window = resources.window;
    const HICON titleIcon = resources.pictures.icon(IDI_APP);
    Caption(window, 280, 10, 300, 15, kOverallTipTitle);
    HWND overall = FramedBar(window, 280, 27, kOverallBar, 42);
    AttachBalloonTip(nullptr, overall, kOverallTipTitle, kOverallTip, titleIcon);
    Caption(window, 280, 52, 150, 15, WithId(kDetailLabels, kIdPointerCaption).text);
    FramedBar(window, 280, 67, WithId(kDetailBars, kIdPointerBar), 63);
    Caption(window, 280, 87, 150, 15, WithId(kDetailLabels, kIdOverwriteCaption).text);
    FramedBar(window, 280, 102, WithId(kDetailBars, kIdOverwriteBar), 100);
    Caption(window, 280, 122, 250, 15, WithId(kRunInfoLabels, kIdNameWipeCaption).text);
    FramedBar(window, 280, 137, kNameWipeBar, 18);
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
    using namespace mainwin::layout;
    const HICON runIcons[] = {resources.destroyIcon.get(), resources.pauseIcon.get(), resources.resumeIcon.get(),
                              resources.stopIcon.get()};
    static_assert(std::size(runIcons) == kRunButtons.size(), "one picture per run button");
    Caption(window, 280, 170, 200, 15, L"Boutons de la destruction");
    int y = 190;
    for (size_t i = 0; i < kRunButtons.size(); ++i) {
        const Button& run = kRunButtons[i];
        HWND button =
            BigButton::Create(window, 0, 280, y, Width(run.place), Height(run.place), RunButtonCaption(run.caption),
                              runIcons[i], BigButton::kIconLeft, &resources.theme);
        ::EnableWindow(button, i == 0);
        y += 33;
    }
    const HICON listIcons[] = {resources.removeSelectedIcon.get(), resources.removeAllIcon.get(),
                               resources.journalIcon.get()};
    static_assert(std::size(listIcons) == kListButtons.size(), "one picture per list button");
    Caption(window, 500, 170, 300, 15, L"Sous la liste");
    const int listX[] = {500, 630, 770};
    for (size_t i = 0; i < kListButtons.size(); ++i) {
        const Button& list = kListButtons[i];
        BigButton::Create(window, 0, listX[i], 190, Width(list.place), Height(list.place), list.caption, listIcons[i],
                          BigButton::kIconLeft, &resources.theme);
    }
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
    using namespace mainwin::layout;
    HWND methods = Child(panel, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kMethodCombo.left,
                         kMethodCombo.top, Width(kMethodCombo), Height(kMethodCombo));
    for (const OverwriteMethod& method : kOverwriteMethods)
        ::SendMessageW(methods, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(method.label));
    ::SendMessageW(methods, CB_SETCURSEL, kDefaultMethodIndex, 0);
    AttachBalloonTip(nullptr, methods, kMethodTipTitle, kMethodTip, resources.pictures.icon(IDI_APP));
    Child(panel, L"STATIC", kRepetitionsCaptionText, SS_NOPREFIX | SS_LEFTNOWORDWRAP, kRepetitionsCaption.left,
          kRepetitionsCaption.top, Width(kRepetitionsCaption), Height(kRepetitionsCaption));
    HWND count = Child(panel, WC_EDITW, L"1", ES_NUMBER | ES_READONLY | WS_BORDER, kRepetitionsEdit.left,
                       kRepetitionsEdit.top, Width(kRepetitionsEdit), Height(kRepetitionsEdit));
    ::SendMessageW(count, WM_SETFONT, reinterpret_cast<WPARAM>(resources.fonts.get(FontRole::Strong)), FALSE);
    HWND spin = Child(panel, UPDOWN_CLASSW, L"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 0, 0);
    ::SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(count), 0);
    ::SendMessageW(spin, UDM_SETRANGE32, 1, kMaxRepetitions);
    ::SendMessageW(spin, UDM_SETPOS32, 0, 1);
}

void FillExplorerTree(HWND panel) {
    using namespace mainwin::layout;
    HWND tree = Child(panel, WC_TREEVIEWW, L"", TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, kExplorerTree.left,
                      kExplorerTree.top, Width(kExplorerTree), Height(kExplorerTree));
    TreeView_SetBkColor(tree, kColumnBody);
    TreeView_SetTextColor(tree, kTreeText);
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
    // The main window's column, its containers filled in order: the method panel, then the tree.
    int containers = 0;
    for (const mainwin::layout::ColumnEntry& entry : mainwin::layout::kColumnEntries) {
        if (entry.type == ExplorerBar::kContainer) {
            HWND container = ExplorerBar::AddContainer(bar, -1, entry.height);
            if (containers++ == 0)
                FillMethodPanel(container, resources);
            else
                FillExplorerTree(container);
            continue;
        }
        const ItemDescriptor item = {entry.type, entry.height, entry.command,
                                     entry.type == ExplorerBar::kLabel ? resources.fonts.get(FontRole::Note) : nullptr};
        ExplorerBar::AddItem(bar, -1, entry.caption, entry.picture ? pictures.bitmap(entry.picture) : nullptr, &item);
    }
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
