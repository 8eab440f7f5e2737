#include "app/tools/ToolsView.h"

#include "app/Fonts.h"
#include "app/ImageDecode.h"
#include "app/RoomPlaces.h"
#include "app/tools/ToolItems.h"
#include "controls/Accessible.h"
#include "controls/PlainTip.h"
#include "win/Handle.h"
#include "win/Window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>

namespace ToolsView {

namespace {

constexpr wchar_t kViewClass[] = L"KestavelToolsView";
constexpr wchar_t kPageClass[] = L"KestavelToolsPage";
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(113, 112, 142);
constexpr COLORREF kLinkColor = RGB(72, 110, 183);
constexpr COLORREF kLinkHotColor = RGB(146, 169, 212);
// Between the container's edges and the tab control, on every side.
constexpr int kTabMargin = 5;
// The slant of the last italic letter reaches past the text's measured width.
constexpr int kItalicOverhang = 1;

// What Windows (10 1703 on) tells a child once its top-level window has moved to a screen of another scale;
// the MinGW headers give it only to programs for that version.
constexpr UINT kDpiChangedAfterParent = 0x02E3;  // WM_DPICHANGED_AFTERPARENT

// A description's control number must not be a link's.
static_assert(kToolCount < kDescriptionOffset, "the links' numbers stay below the descriptions'");

// One tab page: white, with the items' icons painted on it and its texts as static controls.
class Page {
public:
    Page(const Pictures& pictures, HFONT linkFont, HFONT textFont, const win::Scale& scale, int tab)
        : pictures_(pictures), linkFont_(linkFont), textFont_(textFont), scale_(scale), tab_(tab) {}

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);
    void build(HWND window);

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc) const;
    // A static at the table's place (96 DPI) at the page's scale, at least neededWidth pixels wide.
    HWND text(const wchar_t* caption, int id, const RECT& place, int neededWidth, HFONT font, DWORD style);
    void setHot(HWND link);

    const Pictures& pictures_;
    HFONT linkFont_;  // the links' and introductions' face at the page's scale
    HFONT textFont_;  // the descriptions' dialog face
    win::Scale scale_;
    int tab_;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND hot_ = nullptr;
};

HWND Page::text(const wchar_t* caption, int id, const RECT& place, int neededWidth, HFONT font, DWORD style) {
    const RECT at = scale_(place);
    HWND control =
        ::CreateWindowExW(0, WC_STATICW, caption, WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                          std::max<int>(at.right - at.left, neededWidth), at.bottom - at.top, window_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window_, GWLP_HINSTANCE)), nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void Page::build(HWND window) {
    window_ = window;
    const ToolTabText& tab = kToolTabs[tab_];
    // A link is never narrower than its text, so that no text is cut; the first tab's introduction grows
    // with its text too.
    const RECT intro = {kToolIntroAt.x, kToolIntroAt.y, kToolIntroAt.x + tab.introBox.cx,
                        kToolIntroAt.y + tab.introBox.cy};
    text(tab.intro, kIntroFirstId + tab_, intro,
         tab_ == kTabUtilities ? TextWidth(window_, linkFont_, tab.intro) + scale_(kItalicOverhang) : 0, linkFont_,
         SS_LEFT | SS_NOPREFIX);

    tooltip_ = PlainTip::Create(window_);
    for (int number = 1; number <= kToolCount; ++number) {
        const ToolItem& item = ToolItemAt(number);
        if (item.tab != tab_)
            continue;
        const int linkX = item.x + kToolLinkOffset;
        HWND link =
            text(item.link, kToolLinkFirst + number, {linkX, item.y, linkX + item.width, item.y + kToolTextHeight},
                 TextWidth(window_, linkFont_, item.link) + scale_(kItalicOverhang), linkFont_,
                 SS_LEFT | SS_NOPREFIX | SS_NOTIFY | SS_LEFTNOWORDWRAP);
        ::SetWindowSubclass(link, LinkProc, 1, reinterpret_cast<DWORD_PTR>(this));
        if (item.description) {
            const int top = item.y + kToolTextHeight;
            text(item.description, kToolLinkFirst + kDescriptionOffset + number,
                 {kToolDescriptionX, top, kToolDescriptionX + kToolDescriptionWidth, top + kToolTextHeight},
                 TextWidth(window_, textFont_, item.description) + 1, textFont_,
                 SS_LEFT | SS_NOPREFIX | SS_LEFTNOWORDWRAP);
        }
        if (item.tooltip)
            PlainTip::AddTool(tooltip_, link, item.tooltip);
    }
}

void Page::paint(HDC dc) const {
    BITMAP strip = {};
    if (!pictures_.itemIcons || !::GetObjectW(pictures_.itemIcons, sizeof(strip), &strip))
        return;
    // The strip's cells are square, as high as the strip: made for the page's scale, or drawn to it.
    const int cell = strip.bmHeight;
    const int size = scale_(kToolIconSize);
    win::UniqueMemoryDc source(::CreateCompatibleDC(dc));
    win::SelectGuard select(source.get(), pictures_.itemIcons);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (const ToolItem& item : kToolItems) {
        if (item.tab != tab_)
            continue;
        const POINT at = scale_(POINT{item.x, item.y});
        ::GdiAlphaBlend(dc, at.x, at.y, size, size, source.get(), item.iconCell * cell, 0, cell, cell, blend);
    }
}

void Page::setHot(HWND link) {
    if (hot_ == link)
        return;
    HWND previous = hot_;
    hot_ = link;
    if (previous)
        ::InvalidateRect(previous, nullptr, TRUE);
    if (link)
        ::InvalidateRect(link, nullptr, TRUE);
}

// A link as assistive tools read it: its text, and its description as the page shows it under the link.
// Its default action is a click.
class LinkObject : public controls::Accessible {
public:
    explicit LinkObject(HWND link) : Accessible(link) {}

private:
    bool Describe(long, controls::AccessibleInfo& info) const override {
        HWND link = window();
        const int id = ::GetDlgCtrlID(link);
        if (!IsToolLink(id))
            return false;
        const ToolItem& item = ToolItemAt(id - kToolLinkFirst);
        info.role = ROLE_SYSTEM_LINK;
        info.name = controls::WindowName(link);
        info.description = item.description ? item.description : L"";
        info.action = controls::kActionOpen;
        info.state = controls::WindowStates(link, false) | STATE_SYSTEM_LINKED;
        info.screen = controls::ScreenRect(link);
        return true;
    }

    // What the static control sends its page when clicked, posted: the tool may show a box.
    HRESULT DoAction(long) override {
        HWND link = window();
        const WPARAM command = MAKEWPARAM(::GetDlgCtrlID(link), STN_CLICKED);
        return ::PostMessageW(::GetParent(link), WM_COMMAND, command, reinterpret_cast<LPARAM>(link))
                   ? S_OK
                   : HRESULT_FROM_WIN32(::GetLastError());
    }
};

// The links show a hand and take their light colour while the pointer is over them.
LRESULT CALLBACK Page::LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* page = reinterpret_cast<Page*>(data);
    switch (message) {
        case WM_GETOBJECT:
            if (controls::AsksForClient(lParam))
                return controls::AnswerGetObject(controls::MakeAccessible<LinkObject>(link), wParam);
            break;
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        case WM_MOUSEMOVE:
            if (page->hot_ != link) {
                TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, link, 0};
                ::TrackMouseEvent(&track);
                page->setHot(link);
            }
            break;
        case WM_MOUSELEAVE:
            if (page->hot_ == link)
                page->setHot(nullptr);
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(link, LinkProc, 1);
            break;
    }
    return ::DefSubclassProc(link, message, wParam, lParam);
}

LRESULT Page::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            ::GetClientRect(window_, &client);
            ::SetDCBrushColor(reinterpret_cast<HDC>(wParam), kWhite);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(window_, &ps);
            paint(dc);
            ::EndPaint(window_, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            COLORREF color = kGrey;
            if (IsToolLink(id))
                color = reinterpret_cast<HWND>(lParam) == hot_ ? kLinkHotColor : kLinkColor;
            ::SetTextColor(dc, color);
            ::SetBkColor(dc, kWhite);
            ::SetDCBrushColor(dc, kWhite);
            return reinterpret_cast<LRESULT>(::GetStockObject(DC_BRUSH));
        }
        case WM_COMMAND:
            // A link's click goes to the main window, which runs the item's action.
            if (IsToolLink(LOWORD(wParam)) && HIWORD(wParam) == STN_CLICKED) {
                ::PostMessageW(::GetAncestor(window_, GA_ROOT), WM_COMMAND, wParam, lParam);
                return 0;
            }
            break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Page::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* page = win::WindowObject<Page>(window, message, lParam);
    if (page && message == WM_NCCREATE)
        page->window_ = window;
    return page ? page->handle(message, wParam, lParam) : ::DefWindowProcW(window, message, wParam, lParam);
}

// The container: keeps the tab images and the pictures for its pages, and shows the page of the chosen
// tab. It is painted in the colour the tab control paints behind its headers (its class brush), so that
// the tab control stands on one background as in a dialog; the pages inside it are white.
// The pages live as long as the container, which is destroyed after all its children.
struct View {
    Pictures pictures;
    UINT dpi = win::kBaseDpi;
    Fonts fonts;               // the dialog face at the view's scale
    win::UniqueFont linkFont;  // the links' face at the view's scale, when that is not the system's
    UniqueImageList tabImages;
    HWND tabs = nullptr;
    std::array<HWND, kToolTabCount> pages = {};
    std::array<std::unique_ptr<Page>, kToolTabCount> pageObjects;
};

void ShowPage(View& view) {
    const int chosen = static_cast<int>(::SendMessageW(view.tabs, TCM_GETCURSEL, 0, 0));
    for (int i = 0; i < kToolTabCount; ++i)
        ::ShowWindow(view.pages[i], i == chosen ? SW_SHOW : SW_HIDE);
}

// The tab control fills the container's client area (inside its sunken edge) but for the same margin on
// every side, so that all four of its borders show; the pages fill its display area.
struct Inside {
    RECT tabs;
    RECT page;
};
Inside PlacesInside(HWND window, const View& view) {
    const win::Scale scale(view.dpi);
    RECT client;
    ::GetClientRect(window, &client);
    const int margin = scale(kTabMargin);
    Inside inside = {{margin, margin, client.right - margin, client.bottom - margin}, {}};
    inside.page = {0, 0, inside.tabs.right - inside.tabs.left, inside.tabs.bottom - inside.tabs.top};
    if (view.tabs)
        ::SendMessageW(view.tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inside.page));
    return inside;
}

void Fill(HWND window, View& view, int chosen);

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<View*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            ::GetClientRect(window, &client);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_NOTIFY:
            if (view && reinterpret_cast<NMHDR*>(lParam)->idFrom == kTabsId &&
                reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE) {
                ShowPage(*view);
                return 0;
            }
            break;
        case WM_SIZE:
            if (view && view->tabs) {
                const Inside inside = PlacesInside(window, *view);
                PlaceControl(view->tabs, inside.tabs);
                for (HWND page : view->pages)
                    PlaceControl(page, inside.page);
            }
            return 0;
        case kDpiChangedAfterParent:
            if (view && win::DpiOf(window) != view->dpi)
                Fill(window, *view, static_cast<int>(::SendMessageW(view->tabs, TCM_GETCURSEL, 0, 0)));
            return 0;
        case WM_NCDESTROY: {
            std::unique_ptr<View> owned(view);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// A strip of square pictures with premultiplied alpha at another size of cell: itself drawn to that size.
win::UniqueBitmap StripAt(HBITMAP strip, int cells, int size) {
    BITMAP from = {};
    if (!::GetObjectW(strip, sizeof(from), &from) || from.bmHeight <= 0 || from.bmHeight == size)
        return {};
    win::UniqueBitmap result = CreateDib32(cells * size, size, nullptr);
    win::UniqueMemoryDc target(::CreateCompatibleDC(nullptr));
    win::UniqueMemoryDc source(::CreateCompatibleDC(nullptr));
    if (!result || !target || !source)
        return {};
    {
        win::SelectGuard into(target.get(), result.get());
        win::SelectGuard outOf(source.get(), strip);
        // Over transparent black, the blend leaves the picture's own premultiplied colours and alpha.
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::GdiAlphaBlend(target.get(), 0, 0, cells * size, size, source.get(), 0, 0, cells * from.bmHeight,
                        from.bmHeight, blend);
    }
    ::GdiFlush();
    return result;
}

// The tab control and its pages at the view's scale (its window's), the chosen tab showing; a view that
// had them at another scale has them made again.
void Fill(HWND window, View& view, int chosen) {
    if (view.tabs) {
        // The pages go with the tab control, then the objects behind them.
        ::DestroyWindow(view.tabs);
        view.tabs = nullptr;
        view.pages = {};
        view.pageObjects = {};
    }
    view.dpi = win::DpiOf(window);
    const win::Scale scale(view.dpi);
    const HFONT textFont = view.fonts.get(FontRole::Dialog, scale.dpi());
    // The links' face is given at the system's scale.
    HFONT linkFont = view.pictures.linkFont;
    view.linkFont.reset();
    if (linkFont && view.dpi != win::SystemDpi()) {
        LOGFONTW face = {};
        ::GetObjectW(linkFont, sizeof(face), &face);
        face.lfHeight = ::MulDiv(face.lfHeight, static_cast<int>(view.dpi), static_cast<int>(win::SystemDpi()));
        view.linkFont.reset(::CreateFontIndirectW(&face));
        linkFont = view.linkFont ? view.linkFont.get() : linkFont;
    }
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
    const RECT tabs = PlacesInside(window, view).tabs;
    view.tabs = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                                  tabs.left, tabs.top, tabs.right - tabs.left, tabs.bottom - tabs.top, window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabsId)), instance, nullptr);
    // The headers' margins, the system's at 96 DPI (6 and 3 pixels), are not scaled by the tab control.
    ::SendMessageW(view.tabs, TCM_SETPADDING, 0, MAKELPARAM(scale(6), scale(3)));
    const int tabIcon = scale(kToolIconSize);
    view.tabImages.reset(ImageList_Create(tabIcon, tabIcon, ILC_COLOR32, kToolTabCount, 0));
    if (view.tabImages && view.pictures.tabIcons) {
        win::UniqueBitmap strip = StripAt(view.pictures.tabIcons, kToolTabCount, tabIcon);
        ImageList_Add(view.tabImages.get(), strip ? strip.get() : view.pictures.tabIcons, nullptr);
    }
    ::SendMessageW(view.tabs, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(view.tabImages.get()));
    ::SendMessageW(view.tabs, WM_SETFONT, reinterpret_cast<WPARAM>(textFont), FALSE);
    for (int tab = 0; tab < kToolTabCount; ++tab) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<wchar_t*>(kToolTabs[tab].title);
        item.iImage = tab;
        ::SendMessageW(view.tabs, TCM_INSERTITEMW, tab, reinterpret_cast<LPARAM>(&item));
    }
    const RECT page = PlacesInside(window, view).page;
    for (int tab = 0; tab < kToolTabCount; ++tab) {
        view.pageObjects[tab] = std::make_unique<Page>(view.pictures, linkFont, textFont, scale, tab);
        Page* raw = view.pageObjects[tab].get();
        HWND pageWindow =
            ::CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, kToolTabs[tab].title,
                              WS_CHILD | WS_CLIPSIBLINGS | (tab == chosen ? WS_VISIBLE : 0), page.left, page.top,
                              page.right - page.left, page.bottom - page.top, view.tabs,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPageFirstId + tab)), instance, raw);
        if (!pageWindow)
            continue;
        raw->build(pageWindow);
        view.pages[tab] = pageWindow;
    }
    ::SendMessageW(view.tabs, TCM_SETCURSEL, chosen, 0);
}

}  // namespace

HWND Create(HWND parent, int id, int x, int y, int width, int height, const Pictures& pictures) {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    win::RegisterPaintedClass(instance, kViewClass, ViewProc);
    win::RegisterPaintedClass(instance, kPageClass, Page::Proc);
    HWND window =
        ::CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, kViewClass, L"", WS_CHILD | WS_CLIPCHILDREN, x, y,
                          width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!window)
        return nullptr;
    auto view = std::make_unique<View>();
    view->pictures = pictures;
    View& filled = *view;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view.release()));
    Fill(window, filled, 0);
    return window;
}

}  // namespace ToolsView
