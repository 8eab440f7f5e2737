// The explorer bar: record, item operations, layout, mouse handling and the window procedures of the
// scrolling container it is built on. Painting is in ExplorerBarPaint.cpp.
#include "controls/ExplorerBar.h"

#include "controls/Accessible.h"
#include "controls/Container.h"
#include "controls/ExplorerBarRecord.h"
#include "controls/Gdi.h"
#include "controls/ScrollArea.h"

#include <commctrl.h>

#include <map>

namespace ExplorerBar {

using detail::Bar;
using detail::Item;
using detail::kGap;
using detail::kMargin;

namespace {

constexpr wchar_t kBarProperty[] = L"nxEXPLORERBAR_PROP";
constexpr wchar_t kCommandsProperty[] = L"nx_GadgetCommandsVT";
constexpr UINT_PTR kSubclassId = 1;
constexpr int kControlKind = 3;

Bar* BarOf(HWND window) {
    return window && ::IsWindow(window) ? static_cast<Bar*>(::GetPropW(window, kBarProperty)) : nullptr;
}

Item* ItemOf(Bar* bar, int index) {
    if (!bar || index < 0 || index >= static_cast<int>(bar->items.size()))
        return nullptr;
    return bar->items[index].get();
}

void Park(HWND container) {
    ::SetWindowPos(container, nullptr, -100, -100, 0, 200, SWP_NOZORDER | SWP_NOACTIVATE);
}

COLORREF ContainerColor(const Bar& bar) {
    return ::IsWindowEnabled(bar.outer) ? bar.color(kBody) : ::GetSysColor(COLOR_BTNFACE);
}

// Places every item for a page `width` wide: tops, visibility, clickable parts, captions, and the embedded
// containers over their group's body (or parked off the page while their group is collapsed).
void Place(Bar& bar, int width) {
    const win::Scale& s = bar.scale;
    const int groupWidth = width - 2 * s(kMargin);
    const int textRight = width - s(50);
    win::UniqueMemoryDc measure(::CreateCompatibleDC(nullptr));
    int y = s(kMargin);
    bool afterGroup = false;
    bool expanded = true;  // entries before the first header always show
    for (auto& owned : bar.items) {
        Item& item = *owned;
        item.hit = {};
        item.text = {};
        if (detail::IsHeader(item)) {
            item.gapBefore = afterGroup;
            if (afterGroup)
                y += s(kGap);
            afterGroup = true;
            expanded = item.type == kFixedHeader || !item.collapsed;
            item.shown = true;
        } else {
            item.gapBefore = false;
            item.shown = expanded;
        }
        item.top = y;
        const int height = s(item.height);
        if (!item.shown || groupWidth < s(20)) {
            if (item.container)
                Park(item.container);
            if (item.shown)
                y += height;
            continue;
        }
        switch (item.type) {
            case kHeader:
                item.hit = {s(item.picture ? 55 : 10), y, groupWidth + s(kMargin), y + height};
                break;
            case kLink:
            case kLabel:
                if (textRight >= s(41)) {
                    item.text = detail::CaptionBlock(measure.get(), bar, item, y, width);
                    if (item.type == kLink)
                        item.hit = item.text;
                }
                break;
            case kContainer:
                ::SetWindowPos(item.container, nullptr, s(kMargin), y, groupWidth, height,
                               SWP_NOZORDER | SWP_NOACTIVATE);
                break;
        }
        y += height;
    }
}

// Sizes the page to its content and the usable width to the scroll bar. Runs after every change of items,
// states or size. Bit 0 of the result: the height changed; bit 1: the width changed (the notification
// procedure hears of it as event 1).
int Layout(Bar& bar) {
    const win::Scale& s = bar.scale;
    int total = 0;
    bool afterGroup = false;
    bool expanded = true;
    for (const auto& item : bar.items) {
        if (detail::IsHeader(*item)) {
            if (afterGroup)
                total += s(kGap);
            afterGroup = true;
            total += s(item->height);
            expanded = item->type == kFixedHeader || !item->collapsed;
        } else if (expanded) {
            total += s(item->height);
        }
    }
    if (total != 0)
        total += 2 * s(kMargin);

    RECT client = {};
    ::GetClientRect(bar.outer, &client);
    const int scrollBar = win::MetricFor(SM_CXVSCROLL, s.dpi());
    int fullWidth = client.right;
    if (::GetWindowLongW(bar.outer, GWL_STYLE) & WS_VSCROLL)
        fullWidth += scrollBar;
    int width = client.bottom < total ? fullWidth - scrollBar : fullWidth;
    width = width < 0 ? 0 : width;

    const SIZE inner = ScrollArea::InnerSize(bar.outer);
    int result = 0;
    if (total != inner.cy)
        result |= 1;
    if (width != inner.cx)
        result |= 2;
    if (result) {
        bar.laying = true;
        ScrollArea::SetInnerSize(bar.outer, width, total);
        bar.laying = false;
    }
    Place(bar, width);
    if ((result & 2) && bar.notify)
        bar.notify(bar.id, kWidthChanged, inner.cx - 2 * s(kMargin), width - 2 * s(kMargin));
    return result;
}

void Repaint(const Bar& bar) {
    ::InvalidateRect(bar.page, nullptr, FALSE);
}

// Hot item: the current one while the pointer stays on it, else the first item whose clickable part holds
// the pointer. Only the two clickable parts are repainted.
void Hover(Bar& bar, POINT at, bool inside) {
    int hot = -1;
    if (inside) {
        if (Item* current = ItemOf(&bar, bar.hot); current && ::PtInRect(&current->hit, at)) {
            hot = bar.hot;
        } else {
            for (size_t i = 0; i < bar.items.size() && hot < 0; ++i) {
                if (::PtInRect(&bar.items[i]->hit, at))
                    hot = static_cast<int>(i);
            }
        }
    }
    if (hot == bar.hot)
        return;
    if (Item* old = ItemOf(&bar, bar.hot))
        ::InvalidateRect(bar.page, &old->hit, FALSE);
    bar.hot = hot;
    if (Item* now = ItemOf(&bar, hot))
        ::InvalidateRect(bar.page, &now->hit, FALSE);
}

int ItemAt(const Bar& bar, POINT at) {
    for (size_t i = 0; i < bar.items.size(); ++i) {
        if (::PtInRect(&bar.items[i]->hit, at))
            return static_cast<int>(i);
    }
    return -1;
}

// A completed click on a header or a link.
void Activate(Bar& bar, int index) {
    Item& item = *bar.items[index];
    if (item.type == kHeader) {
        item.collapsed = item.collapsed ? 0 : 1;
        const int changed = Layout(bar);
        if (changed & 2) {
            Repaint(bar);
        } else {
            RECT below = {};
            ::GetClientRect(bar.page, &below);
            below.top = item.top;
            ::InvalidateRect(bar.page, &below, FALSE);
        }
        controls::NotifyStateChange(bar.outer, detail::GroupChildId(bar, index));
        if (bar.notify)
            bar.notify(bar.id, item.collapsed ? kCollapsed : kExpanded, index, 0);
    } else if (item.type == kLink && item.command != 0) {
        // Posted rather than sent: the command may destroy the explorer bar, which must not happen while
        // this handler still uses it.
        ::PostMessageW(::GetAncestor(bar.page, GA_ROOT), WM_COMMAND, static_cast<WPARAM>(item.command), 0);
    }
}

POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool InsidePage(HWND page, POINT at) {
    RECT client = {};
    ::GetClientRect(page, &client);
    return ::PtInRect(&client, at) != FALSE;
}

LRESULT CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    Bar& bar = *reinterpret_cast<Bar*>(data);
    switch (message) {
        case WM_GETOBJECT:
            // The page is where the pointer finds the items: it answers as the bar.
            if (controls::AsksForClient(lParam))
                return detail::AnswerGetObject(bar.outer, wParam);
            break;
        case WM_ERASEBKGND:
            return 1;  // the painting covers the whole page
        case WM_PAINT: {
            controls::PaintScope paint(page);
            const RECT& area = paint.area();
            const int width = area.right - area.left, height = area.bottom - area.top;
            if (width <= 0 || height <= 0)
                return 0;
            // Drawn off screen, then copied at once: no flicker while hovering or collapsing.
            controls::Offscreen buffer(width, height);
            if (!buffer) {
                detail::Paint(bar, paint.dc(), area);
                return 0;
            }
            ::SetViewportOrgEx(buffer.dc(), -area.left, -area.top, nullptr);
            detail::Paint(bar, buffer.dc(), area);
            ::BitBlt(paint.dc(), area.left, area.top, width, height, buffer.dc(), area.left, area.top, SRCCOPY);
            return 0;
        }
        case WM_PRINTCLIENT: {
            RECT client = {};
            ::GetClientRect(page, &client);
            detail::Paint(bar, reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                POINT at = {};
                ::GetCursorPos(&at);
                ::ScreenToClient(page, &at);
                ::SetCursor(::LoadCursorW(nullptr, ItemAt(bar, at) >= 0 ? IDC_HAND : IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE: {
            const POINT at = PointOf(lParam);
            Hover(bar, at, InsidePage(page, at));
            if (!bar.tracking) {
                TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, page, 0};
                bar.tracking = ::TrackMouseEvent(&track) != FALSE;
            }
            break;
        }
        case WM_MOUSELEAVE:
            bar.tracking = false;
            Hover(bar, {}, false);
            break;
        case WM_LBUTTONDOWN: {
            const LRESULT result = ::DefSubclassProc(page, message, wParam, lParam);
            const POINT at = PointOf(lParam);
            Hover(bar, at, InsidePage(page, at));
            bar.pressed = bar.hot;
            if (bar.pressed >= 0)
                ::SetCapture(page);
            return result;
        }
        case WM_LBUTTONUP: {
            const int pressed = bar.pressed;
            if (pressed >= 0) {
                bar.pressed = -1;
                ::ReleaseCapture();
                const POINT at = PointOf(lParam);
                Hover(bar, at, InsidePage(page, at));
                // A click counts only when the button comes up on the item it went down on.
                if (pressed == bar.hot)
                    Activate(bar, pressed);
            }
            break;
        }
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != page)
                bar.pressed = -1;
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(page, PageProc, kSubclassId);
            break;
    }
    return ::DefSubclassProc(page, message, wParam, lParam);
}

void DestroyItems(Bar& bar) {
    for (auto& item : bar.items) {
        if (item->container)
            ::DestroyWindow(item->container);
    }
    bar.items.clear();
    bar.hot = bar.pressed = -1;
}

LRESULT CALLBACK OuterProc(HWND outer, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    Bar& bar = *reinterpret_cast<Bar*>(data);
    switch (message) {
        case WM_GETOBJECT:
            if (controls::AsksForClient(lParam))
                return detail::AnswerGetObject(outer, wParam);
            break;
        case WM_ENABLE: {
            const LRESULT result = ::DefSubclassProc(outer, message, wParam, lParam);
            ::EnableWindow(bar.page, static_cast<BOOL>(wParam));
            const COLORREF back = wParam ? bar.color(kBody) : ::GetSysColor(COLOR_BTNFACE);
            for (const auto& item : bar.items) {
                if (item->container)
                    Container::SetBackColor(item->container, back);
            }
            ::InvalidateRect(outer, nullptr, TRUE);
            Repaint(bar);
            return result;
        }
        case WM_SIZE: {
            const LRESULT result = ::DefSubclassProc(outer, message, wParam, lParam);
            if (!bar.laying && Layout(bar) != 0)
                Repaint(bar);
            return result;
        }
        case WM_DESTROY: {
            const LRESULT result = ::DefSubclassProc(outer, message, wParam, lParam);
            DestroyItems(bar);
            return result;
        }
        case WM_NCDESTROY: {
            ::RemoveWindowSubclass(outer, OuterProc, kSubclassId);
            const LRESULT result = ::DefSubclassProc(outer, message, wParam, lParam);
            ::RemovePropW(outer, kCommandsProperty);
            std::unique_ptr<Bar> owned(static_cast<Bar*>(::RemovePropW(outer, kBarProperty)));
            return result;
        }
    }
    return ::DefSubclassProc(outer, message, wParam, lParam);
}

// Inserts, at `position`, an item with a picture copy for headers and links; AddItem's work once the
// arguments are checked. False when something could not be made; nothing is added then.
bool Insert(Bar& bar,
            int position,
            const wchar_t* caption,
            HBITMAP picture,
            const ItemDescriptor& descriptor,
            HWND container) {
    auto item = std::make_unique<Item>();
    item->type = descriptor.type;
    item->height = descriptor.height < 0 ? 0 : descriptor.height;
    item->caption = caption ? caption : L"";
    item->command = descriptor.command;
    item->font = descriptor.font;
    item->container = container;
    const bool keepsPicture = detail::IsHeader(*item) || item->type == kLink;
    if (keepsPicture && picture) {
        item->picture.reset(static_cast<HBITMAP>(::CopyImage(picture, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (!item->picture)
            return false;
    }
    bar.items.insert(bar.items.begin() + position, std::move(item));
    return true;
}

// The process-wide operation table behind "nx_GadgetCommandsVT".
const GadgetCommands kCommands = [] {
    GadgetCommands table;
    table.addItem = AddItem;
    table.clearItems = ClearItems;
    table.countItems = CountItems;
    table.controlKind = ControlKind;
    table.getAttribute = GetAttribute;
    table.getColor = GetColor;
    table.getItemAttribute = GetItemAttribute;
    table.getItemData = GetItemData;
    table.getItemState = GetItemState;
    table.getItemText = GetItemText;
    table.removeItem = RemoveItem;
    table.setColor = SetColor;
    table.setItemAttribute = SetItemAttribute;
    table.setItemData = SetItemData;
    table.setItemState = SetItemState;
    table.setItemText = SetItemText;
    return table;
}();

win::UniqueFont MakeFont(const wchar_t* face, int points, bool bold, UINT dpi) {
    const int height = -::MulDiv(points, static_cast<int>(dpi), 72);
    return win::UniqueFont(::CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, face));
}

struct ScaleFonts {
    win::UniqueFont header;
    win::UniqueFont entry;
};

struct SharedFonts {
    std::map<UINT, ScaleFonts> byDpi;
    std::map<HFONT, win::UniqueFont> underlined;
    std::map<std::pair<HFONT, LONG>, win::UniqueFont> smaller;  // by font and height

    const ScaleFonts& at(UINT dpi) {
        auto found = byDpi.find(dpi);
        if (found == byDpi.end())
            found =
                byDpi.emplace(dpi, ScaleFonts{MakeFont(L"Arial", 11, true, dpi), MakeFont(L"Tahoma", 8, false, dpi)})
                    .first;
        return found->second;
    }
};

SharedFonts& Fonts() {
    static SharedFonts fonts;
    return fonts;
}

}  // namespace

namespace detail {

Bar* RecordOf(HWND outer) {
    return BarOf(outer);
}

void ActivateItem(Bar& bar, int index) {
    Activate(bar, index);
}

HFONT DefaultHeaderFont(UINT dpi) {
    return Fonts().at(dpi).header.get();
}

HFONT DefaultEntryFont(UINT dpi) {
    return Fonts().at(dpi).entry.get();
}

HFONT UnderlinedFont(HFONT font) {
    auto& copies = Fonts().underlined;
    auto found = copies.find(font);
    if (found != copies.end())
        return found->second.get();
    LOGFONTW description = {};
    ::GetObjectW(font, sizeof(description), &description);
    description.lfUnderline = TRUE;
    win::UniqueFont copy(::CreateFontIndirectW(&description));
    HFONT result = copy ? copy.get() : font;
    copies.emplace(font, std::move(copy));
    return result;
}

HFONT FittedFont(HDC dc, HFONT font, const std::wstring& text, int width) {
    auto widthIn = [&](HFONT candidate) {
        win::SelectGuard select(dc, candidate);
        SIZE extent = {};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        return extent.cx;
    };
    if (text.empty() || widthIn(font) <= width)
        return font;
    LOGFONTW description = {};
    if (!::GetObjectW(font, sizeof(description), &description) || description.lfHeight == 0)
        return font;
    const LONG sign = description.lfHeight < 0 ? -1 : 1;
    const LONG full = description.lfHeight * sign;
    HFONT fitted = font;
    for (LONG height = full - 1; height >= full * 2 / 3; --height) {
        win::UniqueFont& made = Fonts().smaller[{font, height}];
        if (!made) {
            description.lfHeight = height * sign;
            made.reset(::CreateFontIndirectW(&description));
        }
        if (!made)
            break;
        fitted = made.get();
        if (widthIn(fitted) <= width)
            break;
    }
    return fitted;
}

}  // namespace detail

HWND Create(HWND parent, int id, int x, int y, int width, int height, Notify notify) {
    auto bar = std::make_unique<Bar>();
    bar->scale = win::Scale(win::DpiOf(parent));
    Fonts().at(bar->scale.dpi());
    HWND outer = ScrollArea::Create(parent, id, x, y, width, height, width, 0, bar->scale(10));
    if (!outer)
        return nullptr;
    RECT client = {};
    ::GetClientRect(outer, &client);
    ScrollArea::SetInnerSize(outer, client.right, 0);
    ScrollArea::SetBackColor(outer, kInitialBackground);
    bar->id = id;
    bar->outer = outer;
    bar->page = ScrollArea::Page(outer);
    bar->notify = std::move(notify);
    for (int type = kHeaderStart; type <= kHot; ++type)
        bar->setColor(type, kInitialColors[type - kHeaderStart]);
    const auto data = reinterpret_cast<DWORD_PTR>(bar.get());
    if (!::SetPropW(outer, kBarProperty, bar.get()) ||
        !::SetPropW(outer, kCommandsProperty, const_cast<GadgetCommands*>(&kCommands)) ||
        !::SetWindowSubclass(outer, OuterProc, kSubclassId, data) ||
        !::SetWindowSubclass(bar->page, PageProc, kSubclassId, data)) {
        ::RemovePropW(outer, kBarProperty);
        ::DestroyWindow(outer);
        return nullptr;
    }
    // From here the outer window owns the record; OuterProc frees it at WM_NCDESTROY.
    bar.release();
    return outer;
}

INT_PTR AddItem(HWND window, int position, const wchar_t* caption, HBITMAP picture, const ItemDescriptor* item) {
    Bar* bar = BarOf(window);
    if (!bar || !item || item->type < kHeader || item->type > kContainer)
        return 0;
    const int count = static_cast<int>(bar->items.size());
    if (position == -1)
        position = count;
    if (position < 0 || position > count)
        return 0;
    HWND container = nullptr;
    if (item->type == kContainer) {
        container = Container::Create(bar->page, -100, -100, 0, 200, ContainerColor(*bar));
        if (!container)
            return 0;
    }
    if (!Insert(*bar, position, caption, picture, *item, container)) {
        if (container)
            ::DestroyWindow(container);
        return 0;
    }
    bar->hot = bar->pressed = -1;
    Layout(*bar);
    ::RedrawWindow(bar->page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (container)
        return reinterpret_cast<INT_PTR>(container);
    return static_cast<INT_PTR>(bar->items.size());
}

int ClearItems(HWND window) {
    Bar* bar = BarOf(window);
    if (!bar)
        return 0;
    for (int index = static_cast<int>(bar->items.size()) - 1; index >= 0; --index)
        RemoveItem(window, index);
    return 0;
}

int CountItems(HWND window) {
    const Bar* bar = BarOf(window);
    return bar ? static_cast<int>(bar->items.size()) : 0;
}

int ControlKind(HWND window) {
    return BarOf(window) ? kControlKind : 0;
}

INT_PTR GetAttribute(HWND window, int attribute) {
    if (!BarOf(window))
        return 0;
    switch (attribute) {
        case 1:
            return ScrollArea::InnerSize(window).cx - 2 * BarOf(window)->scale(kMargin);
        case 2:
            return BarOf(window)->scale(kMargin);
        case 3:
            return BarOf(window)->scale(kGap);
    }
    return 0;
}

COLORREF GetColor(HWND window, int colorType) {
    const Bar* bar = BarOf(window);
    if (!bar)
        return 0;
    if (colorType >= kHeaderStart && colorType <= kHot)
        return bar->color(colorType);
    if (colorType == kBackground)
        return ScrollArea::BackColor(window);
    return 0;
}

INT_PTR GetItemAttribute(HWND window, int index, int attribute) {
    const Item* item = ItemOf(BarOf(window), index);
    if (!item)
        return 0;
    switch (attribute) {
        case 1:
            return item->height;
        case 2:
            return item->type;
        case 3:
            return reinterpret_cast<INT_PTR>(item->container);
    }
    return 0;
}

INT_PTR GetItemData(HWND window, int index) {
    const Item* item = ItemOf(BarOf(window), index);
    return item && detail::IsHeader(*item) ? item->data : 0;
}

int GetItemState(HWND window, int index) {
    const Item* item = ItemOf(BarOf(window), index);
    return item && detail::IsHeader(*item) ? item->collapsed : 0;
}

std::wstring GetItemText(HWND window, int index) {
    const Item* item = ItemOf(BarOf(window), index);
    return item ? item->caption : std::wstring();
}

int RemoveItem(HWND window, int index) {
    Bar* bar = BarOf(window);
    Item* item = ItemOf(bar, index);
    if (!item)
        return 0;
    if (item->container)
        ::DestroyWindow(item->container);
    bar->items.erase(bar->items.begin() + index);
    bar->hot = bar->pressed = -1;
    Layout(*bar);
    Repaint(*bar);
    return 0;
}

int SetColor(HWND window, int colorType, COLORREF color) {
    Bar* bar = BarOf(window);
    if (!bar)
        return 0;
    const bool reset = color == kResetColor;
    if (colorType == kBackground) {
        ScrollArea::SetBackColor(window, reset ? kResetBackground : color);
    } else if (colorType >= kHeaderStart && colorType <= kHot) {
        bar->setColor(colorType, reset ? kResetColors[colorType - kHeaderStart] : color);
        if (colorType == kBody && ::IsWindowEnabled(window)) {
            for (const auto& item : bar->items) {
                if (item->container)
                    Container::SetBackColor(item->container, bar->color(kBody));
            }
        }
    } else {
        return 0;
    }
    Repaint(*bar);
    return 0;
}

int SetItemAttribute(HWND window, int index, int attribute, INT_PTR value) {
    Bar* bar = BarOf(window);
    Item* item = ItemOf(bar, index);
    if (!item || attribute != 1 || value < 0)
        return 0;
    item->height = static_cast<int>(value);
    Layout(*bar);
    Repaint(*bar);
    return 0;
}

int SetItemData(HWND window, int index, INT_PTR value) {
    if (Item* item = ItemOf(BarOf(window), index))
        item->data = value;
    return 0;
}

int SetItemState(HWND window, int index, int state) {
    Bar* bar = BarOf(window);
    Item* item = ItemOf(bar, index);
    if (!item || !detail::IsHeader(*item) || (state != 0 && state != 1) || item->collapsed == state)
        return 0;
    item->collapsed = state;
    Layout(*bar);
    Repaint(*bar);
    controls::NotifyStateChange(bar->outer, detail::GroupChildId(*bar, index));
    if (bar->notify)
        bar->notify(bar->id, state ? kCollapsed : kExpanded, index, 0);
    return 0;
}

void SetDpi(HWND window, UINT dpi) {
    Bar* bar = BarOf(window);
    if (!bar || win::Scale(dpi).dpi() == bar->scale.dpi())
        return;
    bar->scale = win::Scale(dpi);
    Fonts().at(bar->scale.dpi());
    ScrollArea::SetStep(window, bar->scale(10));
    bar->hot = bar->pressed = -1;
    Layout(*bar);
    Repaint(*bar);
}

UINT Dpi(HWND window) {
    const Bar* bar = BarOf(window);
    return bar ? bar->scale.dpi() : win::kBaseDpi;
}

int SetItemPicture(HWND window, int index, HBITMAP picture) {
    Bar* bar = BarOf(window);
    Item* item = ItemOf(bar, index);
    if (!item || !picture || !(detail::IsHeader(*item) || item->type == kLink))
        return 0;
    win::UniqueBitmap copy(static_cast<HBITMAP>(::CopyImage(picture, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!copy)
        return 0;
    item->picture = std::move(copy);
    Layout(*bar);  // a header's clickable part starts after its picture
    Repaint(*bar);
    return 1;
}

int SetItemFont(HWND window, int index, HFONT font) {
    Bar* bar = BarOf(window);
    Item* item = ItemOf(bar, index);
    if (!item)
        return 0;
    item->font = font;
    Layout(*bar);  // a caption's block follows its font
    Repaint(*bar);
    return 1;
}

HFONT HeaderFont(UINT dpi) {
    return detail::DefaultHeaderFont(dpi);
}

HFONT EntryFont(UINT dpi) {
    return detail::DefaultEntryFont(dpi);
}

SIZE CaptionRoom(ItemType type, int height, bool picture, int pageWidth, UINT dpi) {
    // As PaintHeader and CaptionBlock place them: up to 30 pixels (at 96 DPI) short of the page's right edge.
    const win::Scale s(dpi);
    const int left = type == kLink || type == kLabel ? s(40) : s(picture ? 55 : 20);
    return {pageWidth - s(30) - left, s(height)};
}

int SetItemText(HWND window, int index, const wchar_t* caption) {
    Bar* bar = BarOf(window);
    Item* item = ItemOf(bar, index);
    if (!item)
        return 0;
    item->caption = caption ? caption : L"";
    Layout(*bar);  // a link's clickable part follows its caption
    Repaint(*bar);
    if (detail::IsHeader(*item))
        controls::NotifyNameChange(bar->outer, detail::GroupChildId(*bar, index));
    return 0;
}

}  // namespace ExplorerBar
