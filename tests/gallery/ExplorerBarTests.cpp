// The explorer bar: layout, collapse and expand, the scroll bar, narrow widths, clicks, hover and the
// operation table.
#include "tests/gallery/Gallery.h"

#include "controls/Container.h"
#include "controls/ExplorerBar.h"
#include "controls/ScrollArea.h"

#include <array>

namespace gallery {

namespace {

using namespace ExplorerBar;
using Event = std::array<int, 4>;

constexpr int kBarId = 77;
// The control's own colours for a new bar.
constexpr COLORREF kBackgroundColor = kInitialBackground;
constexpr COLORREF kBodyColor = kInitialColors[kBody - kHeaderStart];
constexpr COLORREF kHotColor = kInitialColors[kHot - kHeaderStart];

HWND Stage() {
    static HWND stage = CreateStage(1060, 0, 215, 990);
    return stage;
}

std::wstring Describe(const Event& event) {
    return L"(" + std::to_wstring(event[0]) + L", " + std::to_wstring(event[1]) + L", " + std::to_wstring(event[2]) +
           L", " + std::to_wstring(event[3]) + L")";
}

// An explorer bar on the stage that records its notifications.
class TestBar {
public:
    TestBar(int width, int height, int x = 5, int y = 5) {
        window_ =
            ExplorerBar::Create(Stage(), kBarId, x, y, width, height, [this](int control, int event, int a, int b) {
                events.push_back({control, event, a, b});
            });
    }
    ~TestBar() { ::DestroyWindow(window_); }
    TestBar(const TestBar&) = delete;
    TestBar& operator=(const TestBar&) = delete;

    HWND get() const { return window_; }
    HWND page() const { return ScrollArea::Page(window_); }
    int innerWidth() const { return ScrollArea::InnerSize(window_).cx; }
    int innerHeight() const { return ScrollArea::InnerSize(window_).cy; }

    INT_PTR add(int type,
                int height,
                int command,
                const wchar_t* caption,
                HBITMAP picture = nullptr,
                int position = -1) {
        const ItemDescriptor item = {type, height, command, nullptr};
        return AddItem(window_, position, caption, picture, &item);
    }
    // Resizes the bar so that its page is `width` pixels wide (without a scroll bar).
    void setInnerWidth(int width) {
        RECT outer = {}, client = {};
        ::GetWindowRect(window_, &outer);
        ::GetClientRect(window_, &client);
        const int border = (outer.right - outer.left) - client.right;
        ::SetWindowPos(window_, nullptr, 0, 0, width + border, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
    }
    bool heard(const Event& event) const {
        for (const auto& e : events)
            if (e == event)
                return true;
        return false;
    }

    std::vector<Event> events;

private:
    HWND window_;
};

HBITMAP GroupPicture() {
    return Shared().pictures.bitmap(IDR_GROUP_MAIN);
}
HBITMAP LinkPicture() {
    return Shared().pictures.bitmap(IDR_LINK_HOME);
}

RECT RectInPage(HWND window, HWND page) {
    RECT place = {};
    ::GetWindowRect(window, &place);
    ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The mouse, as the user moves it: the pointer goes to the place, then the message arrives.
void PointerTo(HWND page, POINT at) {
    POINT screen = at;
    ::ClientToScreen(page, &screen);
    ::SetCursorPos(screen.x, screen.y);
    Pump();
    ::PostMessageW(page, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    Pump();
}

void PointerAway() {
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    Pump();
}

void Press(HWND page, POINT at) {
    PointerTo(page, at);
    ::PostMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    Pump();
}

void Release(HWND page, POINT at) {
    PointerTo(page, at);
    ::PostMessageW(page, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Pump();
}

void Click(HWND page, POINT at) {
    Press(page, at);
    Release(page, at);
}

std::vector<WPARAM> TakeCommands() {
    Pump();
    std::vector<WPARAM> commands;
    commands.swap(Shared().commands);
    return commands;
}

// Group one: header, two links, a container; group two: header, one link. The first link of each group
// is 25 pixels high and its caption starts at x = 40, so (45, top + 12) lies on it.
void CheckLayoutAndCollapse() {
    TestBar bar(200, 400);
    bar.add(kHeader, 35, 0, L"Groupe un", GroupPicture());
    bar.add(kLink, 25, 101, L"Lien a", LinkPicture());
    bar.add(kLink, 25, 102, L"Lien b", LinkPicture());
    HWND container = AddContainer(bar.get(), -1, 60);
    bar.add(kHeader, 35, 0, L"Groupe deux", GroupPicture());
    bar.add(kLink, 25, 103, L"Lien c", LinkPicture());
    const int A = bar.innerWidth();
    const int U = A - 20;
    RECT client = {};
    ::GetClientRect(bar.get(), &client);
    Check(A == client.right, L"the page is as wide as the bar's client area");
    Check(bar.innerHeight() == 10 + 35 + 25 + 25 + 60 + 15 + 35 + 25 + 10, L"the page is as tall as its groups");
    Check(SameRect(RectInPage(container, bar.page()), {10, 95, 10 + U, 155}),
          L"the container lies over its group's body, as wide as the group");
    Check(::GetParent(container) == bar.page(), L"the container is a child of the page");
    Check(Container::BackColor(container) == kBodyColor, L"the container has the group body's colour");

    TakeCommands();
    Click(bar.page(), {45, 170 + 35 + 12});
    const auto before = TakeCommands();
    Check(before.size() == 1 && before[0] == 103, L"a click on the second group's link sends its command");

    Click(bar.page(), {100, 27});
    Check(bar.heard({kBarId, kCollapsed, 0, 0}), L"a click on the first header collapses its group (event 3)");
    Check(GetItemState(bar.get(), 0) == 1, L"the header reads as collapsed");
    Check(bar.innerHeight() == 10 + 35 + 15 + 35 + 25 + 10, L"the page loses the collapsed entries' height");
    Check(SameRect(RectInPage(container, bar.page()), {-100, -100, -100, 100}),
          L"the collapsed group's container is parked at (-100, -100), 0 x 200");
    Click(bar.page(), {45, 60 + 35 + 12});
    const auto after = TakeCommands();
    Check(after.size() == 1 && after[0] == 103, L"the second group moved up by the collapsed entries");
    const Capture page = PrintClient(bar.page());
    Check(page.at(100, 52) == kBackgroundColor, L"the gap between the groups shows the background");

    bar.events.clear();
    SetItemState(bar.get(), 0, 0);
    Check(bar.events.size() == 1 && bar.events[0] == Event{kBarId, kExpanded, 0, 0},
          L"expanding through SetItemState notifies event 2");
    Check(SameRect(RectInPage(container, bar.page()), {10, 95, 10 + U, 155}), L"the container comes back");
    bar.events.clear();
    SetItemState(bar.get(), 0, 0);
    SetItemState(bar.get(), 1, 1);
    Check(bar.events.empty(), L"no notification when the state does not change or the item is no header");
}

void CheckScrollBar() {
    const int bar_ = ::GetSystemMetrics(SM_CXVSCROLL);
    TestBar bar(200, 200);
    bar.add(kHeader, 35, 0, L"Groupe", GroupPicture());
    for (int i = 0; i < 5; ++i)
        bar.add(kLink, 25, 0, L"Lien", LinkPicture());
    const int A = bar.innerWidth();
    Check(!(::GetWindowLongW(bar.get(), GWL_STYLE) & WS_VSCROLL), L"no scroll bar while the content fits");
    Check(GetAttribute(bar.get(), 1) == A - 20, L"the group width is the page width less the margins");
    Check(bar.events.empty(), L"no width event while the content fits");

    bar.add(kLink, 25, 0, L"Lien", LinkPicture());  // 205 pixels in a 196-pixel client area
    Check((::GetWindowLongW(bar.get(), GWL_STYLE) & WS_VSCROLL) != 0, L"the scroll bar appears");
    Check(bar.innerWidth() == A - bar_, L"the page narrows by the scroll bar's width");
    Check(GetAttribute(bar.get(), 1) == A - 20 - bar_, L"the group width narrows by the scroll bar's width");
    Check(bar.events.size() == 1 && bar.events[0] == Event{kBarId, kWidthChanged, A - 20, A - 20 - bar_},
          L"event 1 with the old and new group widths" +
              (bar.events.empty() ? std::wstring() : L", heard " + Describe(bar.events[0])));
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(bar.get(), SB_VERT, &info);
    RECT client = {};
    ::GetClientRect(bar.get(), &client);
    Check(info.nMax == 204 && static_cast<int>(info.nPage) == client.bottom, L"the scroll range covers the page");

    // A second group; collapsing it shrinks the range by its entries while the bar stays.
    bar.add(kHeader, 35, 0, L"Deux", GroupPicture());
    for (int i = 0; i < 4; ++i)
        bar.add(kLink, 25, 0, L"Lien", LinkPicture());
    ::GetScrollInfo(bar.get(), SB_VERT, &info);
    const int before = info.nMax;
    ::SendMessageW(bar.get(), WM_VSCROLL, SB_BOTTOM, 0);
    Check(ScrollArea::Position(bar.get()) == bar.innerHeight() - client.bottom &&
              RectInPage(bar.page(), bar.get()).top == client.bottom - bar.innerHeight(),
          L"scrolled to the bottom, the page's end meets the bar's");
    bar.events.clear();
    SetItemState(bar.get(), 7, 1);
    ::GetScrollInfo(bar.get(), SB_VERT, &info);
    Check(before - info.nMax == 100, L"collapsing a group shrinks the scroll range by its entries");
    Check(ScrollArea::Position(bar.get()) == bar.innerHeight() - client.bottom &&
              RectInPage(bar.page(), bar.get()).top == client.bottom - bar.innerHeight(),
          L"the scroll position stays within the shrunk range");
    Check(bar.events.size() == 1 && bar.events[0] == Event{kBarId, kCollapsed, 7, 0},
          L"the width does not change while the bar stays");

    // Collapsing the first group too makes everything fit: the bar goes, the width comes back.
    bar.events.clear();
    Click(bar.page(), {100, 27});
    Check(!(::GetWindowLongW(bar.get(), GWL_STYLE) & WS_VSCROLL), L"the scroll bar goes when everything fits");
    Check(bar.heard({kBarId, kWidthChanged, A - 20 - bar_, A - 20}), L"event 1 when the scroll bar goes");
    Check(bar.heard({kBarId, kCollapsed, 0, 0}), L"event 3 for the collapsed group");
}

// One item alone on a page `width` pixels wide, as the bar draws it.
Capture Render(int width, int type, const wchar_t* caption, HBITMAP picture) {
    TestBar bar(200, 100);
    bar.add(type, type == kLink ? 25 : 35, 0, caption, picture);
    bar.setInnerWidth(width);
    if (bar.innerWidth() != width)
        Check(false, L"the bar could not be made " + std::to_wstring(width) + L" pixels wide");
    return PrintClient(bar.page());
}

// Whether something shows at this width: the item with and without it look different.
bool Shows(int width,
           int type,
           const wchar_t* caption,
           HBITMAP picture,
           const wchar_t* captionWithout,
           HBITMAP pictureWithout) {
    return Render(width, type, caption, picture).raw() != Render(width, type, captionWithout, pictureWithout).raw();
}

void CheckNarrowWidths() {
    // T = page width - 50: link captions need T >= 41, header captions T >= 21, header pictures T >= 25.
    Check(Shows(91, kLink, L"Lien", LinkPicture(), L"", LinkPicture()), L"link captions show at T = 41");
    Check(!Shows(90, kLink, L"Lien", LinkPicture(), L"", LinkPicture()), L"link captions disappear at T = 40");
    Check(Shows(90, kLink, L"", LinkPicture(), L"", nullptr), L"link pictures stay at T = 40");
    Check(Shows(71, kLink, L"", LinkPicture(), L"", nullptr), L"link pictures show at T = 21");
    Check(!Shows(70, kLink, L"", LinkPicture(), L"", nullptr), L"link pictures disappear at T = 20");
    const Capture body = Render(70, kLink, L"Lien", LinkPicture());
    Check(body.at(15, 22) == kBodyColor && body.at(59, 22) == kBodyColor, L"link bodies stay at T = 20");
    Check(Shows(71, kHeader, L"Groupe", nullptr, L"", nullptr), L"header captions show at T = 21");
    Check(!Shows(70, kHeader, L"Groupe", nullptr, L"", nullptr), L"header captions disappear at T = 20");
    Check(Shows(75, kHeader, L"", GroupPicture(), L"", nullptr), L"header pictures show at T = 25");
    Check(!Shows(74, kHeader, L"", GroupPicture(), L"", nullptr), L"header pictures disappear at T = 24");
    const Capture narrow = Render(39, kHeader, L"Groupe", GroupPicture());
    Check(narrow.all(narrow.whole(), [](COLORREF c) { return c == kBackgroundColor; }),
          L"a page narrower than 40 pixels shows only the background");
    const Capture wide = Render(40, kHeader, L"Groupe", GroupPicture());
    Check(wide.any(wide.whole(), [](COLORREF c) { return c != kBackgroundColor; }), L"at 40 pixels the groups show");
}

bool HasRun(const Capture& page, RECT area, COLORREF color, int length) {
    for (int y = area.top; y < area.bottom; ++y) {
        int run = 0;
        for (int x = area.left; x < area.right; ++x) {
            run = page.at(x, y) == color ? run + 1 : 0;
            if (run >= length)
                return true;
        }
    }
    return false;
}

void CheckClicksAndHover() {
    TestBar bar(200, 300);
    bar.add(kHeader, 35, 0, L"Groupe", GroupPicture());
    bar.add(kLink, 25, 201, L"Premier lien", LinkPicture());
    bar.add(kLink, 25, 202, L"Second lien", LinkPicture());
    bar.add(kLink, 25, 0, L"Lien sans commande", LinkPicture());
    const POINT first = {45, 45 + 12}, second = {45, 70 + 12}, none = {45, 95 + 12};
    TakeCommands();

    Click(bar.page(), first);
    auto commands = TakeCommands();
    Check(commands.size() == 1 && commands[0] == 201, L"a click on a link sends its command to the top window");
    Press(bar.page(), first);
    Release(bar.page(), second);
    Check(TakeCommands().empty(), L"a click that starts on one link and ends on another sends nothing");
    Press(bar.page(), first);
    Release(bar.page(), {150, 150});
    Check(TakeCommands().empty(), L"a click that ends off the links sends nothing");

    PointerTo(bar.page(), none);
    ::SendMessageW(bar.page(), WM_SETCURSOR, reinterpret_cast<WPARAM>(bar.page()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    Check(::GetCursor() == ::LoadCursorW(nullptr, IDC_HAND), L"a link without command shows the hand");
    const Capture hotNone = PrintClient(bar.page());
    Check(HasRun(hotNone, {40, 95, 150, 120}, kHotColor, 20), L"a link without command is hot (underlined)");
    Click(bar.page(), none);
    Check(TakeCommands().empty(), L"a click on a link without command sends nothing");
    PointerTo(bar.page(), {170, 140});
    ::SendMessageW(bar.page(), WM_SETCURSOR, reinterpret_cast<WPARAM>(bar.page()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    Check(::GetCursor() == ::LoadCursorW(nullptr, IDC_ARROW), L"the arrow away from the links");

    PointerTo(bar.page(), first);
    const Capture hot = PrintClient(bar.page());
    Check(HasRun(hot, {40, 45, 150, 70}, kHotColor, 20), L"the hot link is underlined in the hot colour");
    Check(!hot.any({40, 70, 150, 120}, [](COLORREF c) { return c == kHotColor; }), L"the other links are not hot");
    PointerAway();
    ::PostMessageW(bar.page(), WM_MOUSELEAVE, 0, 0);
    Pump();
    const Capture cold = PrintClient(bar.page());
    Check(!cold.any(cold.whole(), [](COLORREF c) { return c == kHotColor; }), L"leaving the page clears the hot link");

    // The hot header: its chevron gets a frame, white on the top and left sides.
    PointerTo(bar.page(), {100, 27});
    const Capture header = PrintClient(bar.page());
    const int cx = bar.innerWidth() - 50 + 28, cy = 10 + 35 / 2;
    Check(header.at(cx - 7, cy) == RGB(255, 255, 255) && header.at(cx, cy - 8) == RGB(255, 255, 255) &&
              header.at(cx + 8, cy) == kHotColor && header.at(cx, cy + 8) == kHotColor,
          L"the hot header's chevron is framed");
    PointerAway();
}

void CheckItems() {
    TestBar bar(200, 300);
    bar.add(kHeader, 35, 0, L"Groupe", GroupPicture());
    bar.add(kLink, 25, 1, L"Lien", LinkPicture());
    Check(bar.add(kLabel, 15, 0, L"Premier", nullptr, 0) == 3, L"AddItem answers the new count");
    Check(GetItemText(bar.get(), 0) == L"Premier" && GetItemText(bar.get(), 1) == L"Groupe" &&
              GetItemText(bar.get(), 2) == L"Lien",
          L"adding at position 0 shifts every item down by one index");
    Check(bar.add(kLink, 25, 0, L"Trop loin", nullptr, 5) == 0 && CountItems(bar.get()) == 3,
          L"a position past the end adds nothing");
    Check(bar.add(0, 25, 0, L"Sans type") == 0 && AddItem(bar.get(), -1, L"", nullptr, nullptr) == 0 &&
              CountItems(bar.get()) == 3,
          L"a missing descriptor or type 0 adds nothing");
    Check(bar.add(kLink, -5, 0, L"Négatif") == 4 && GetItemAttribute(bar.get(), 3, 1) == 0,
          L"a negative height counts as 0");
    HWND container = AddContainer(bar.get(), 2, 40);
    Check(::IsWindow(container) && GetItemAttribute(bar.get(), 2, 3) == reinterpret_cast<INT_PTR>(container) &&
              GetItemAttribute(bar.get(), 2, 2) == kContainer,
          L"a container item answers its window");

    const int height = bar.innerHeight();
    SetItemAttribute(bar.get(), 1, 1, 50);
    Check(bar.innerHeight() == height + 15, L"a header's new height moves what follows");
    SetItemData(bar.get(), 1, 1234);
    Check(GetItemData(bar.get(), 1) == 1234, L"a header keeps its user data");
    SetItemText(bar.get(), 3, L"Nouveau");
    Check(GetItemText(bar.get(), 3) == L"Nouveau", L"SetItemText replaces the caption");
    Check(GetAttribute(bar.get(), 2) == 10 && GetAttribute(bar.get(), 3) == 15 && ControlKind(bar.get()) == 3,
          L"margin 10, gap 15, kind 3");

    RemoveItem(bar.get(), 2);
    Check(!::IsWindow(container) && CountItems(bar.get()) == 4, L"removing a container item destroys the container");
    Check(RemoveItem(bar.get(), 4) == 0 && RemoveItem(bar.get(), -1) == 0 && CountItems(bar.get()) == 4 &&
              GetItemText(bar.get(), 9).empty(),
          L"indexes out of range are ignored");

    const GadgetCommands* table = GadgetCommandsOf(bar.get());
    Check(table && table->countItems(bar.get()) == 4 && table->controlKind(bar.get()) == 3,
          L"the operation table is attached as nx_GadgetCommandsVT");
    Check(::GetPropW(bar.get(), L"nxEXPLORERBAR_PROP") != nullptr, L"the record is attached as nxEXPLORERBAR_PROP");
    const ItemDescriptor link = {kLink, 25, 0, nullptr};
    Check(GadgetCommandsOf(Stage()) == nullptr && AddItem(Stage(), -1, L"x", nullptr, &link) == 0 &&
              CountItems(Stage()) == 0 && ControlKind(Stage()) == 0,
          L"operations on another window answer 0");
    ClearItems(bar.get());
    Check(CountItems(bar.get()) == 0 && bar.innerHeight() == 0, L"ClearItems removes everything");
}

void CheckColorsAndEnabling() {
    TestBar bar(200, 300);
    bar.add(kHeader, 35, 0, L"Groupe", GroupPicture());
    bar.add(kLink, 25, 1, L"Lien", LinkPicture());
    HWND container = AddContainer(bar.get(), -1, 40);
    const COLORREF* initial = kInitialColors;
    const COLORREF* reset = kResetColors;
    const COLORREF resetBody = kResetColors[kBody - kHeaderStart];
    bool initialOk = GetColor(bar.get(), kBackground) == kBackgroundColor, resetOk = true;
    for (int type = kHeaderStart; type <= kHot; ++type) {
        initialOk = initialOk && GetColor(bar.get(), type) == initial[type - kHeaderStart];
        SetColor(bar.get(), type, kResetColor);
        resetOk = resetOk && GetColor(bar.get(), type) == reset[type - kHeaderStart];
    }
    SetColor(bar.get(), kBackground, kResetColor);
    Check(initialOk, L"the initial colours");
    Check(resetOk && GetColor(bar.get(), kBackground) == kResetBackground, L"SetColor with -1 puts the reset colours");
    Check(Container::BackColor(container) == resetBody, L"the body colour recolours the containers");
    const Capture page = PrintClient(bar.page());
    // Left of the entries, below the group's picture (which covers the top left corner), the background shows.
    Check(page.at(5, 60) == kResetBackground && page.at(15, 45 + 2) == resetBody,
          L"the page shows the new background and body colours");

    ::EnableWindow(bar.get(), FALSE);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const Capture disabled = PrintClient(bar.page());
    Check(!::IsWindowEnabled(bar.page()), L"disabling the bar disables its page");
    Check(disabled.at(15, 45 + 2) == face && Container::BackColor(container) == face,
          L"a disabled bar shows its bodies and containers in the button face colour");
    Check(disabled.any({40, 45, 150, 70}, [](COLORREF c) { return c == RGB(0, 0, 0); }),
          L"a disabled bar writes its captions in black");
    ::EnableWindow(bar.get(), TRUE);
    Check(PrintClient(bar.page()).at(15, 45 + 2) == resetBody && Container::BackColor(container) == resetBody,
          L"enabling brings the colours back");
}

}  // namespace

GALLERY_GROUP("explorerbar") {
    PointerAway();
    CheckLayoutAndCollapse();
    CheckScrollBar();
    CheckNarrowWidths();
    CheckClicksAndHover();
    CheckItems();
    CheckColorsAndEnabling();

    // The gallery's bar as the main window shows it, with a hot link, then with a group collapsed.
    HWND showcase = Shared().explorerBar;
    HWND page = ScrollArea::Page(showcase);
    PointerTo(page, {50, 10 + 35 + 25 + 12});
    Screenshot(L"gallery-explorerbar", Shared().window, {0, 0, 262, kGalleryHeight});
    PointerAway();
    ::PostMessageW(page, WM_MOUSELEAVE, 0, 0);
    SetItemState(showcase, 11, 1);
    Screenshot(L"gallery-explorerbar-collapsed", Shared().window, {0, 0, 262, kGalleryHeight});
    SetItemState(showcase, 11, 0);
    Screenshot(L"gallery-overview", Shared().window);
}

}  // namespace gallery
