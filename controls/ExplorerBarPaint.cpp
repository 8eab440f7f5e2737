// The explorer bar's page: gradient headers with their rounded corner, pictures, chevrons and captions,
// group bodies with links, labels and separators.
#include "controls/ExplorerBarRecord.h"
#include "controls/Gdi.h"
#include "controls/ScrollArea.h"

#include <algorithm>

namespace ExplorerBar::detail {

namespace {

constexpr UINT kHeaderFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
constexpr UINT kEntryFormat = DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX;

// The chevron: 26 single pixels around its centre, a double arrow pointing up while the group is expanded
// and down while it is collapsed.
constexpr POINT kChevronUp[] = {{-3, 3},  {-2, 3}, {2, 3},  {3, 3},   {-2, 2},  {-1, 2},  {1, 2},  {2, 2},  {-1, 1},
                                {0, 1},   {0, 1},  {1, 1},  {0, 0},   {-3, -1}, {-2, -1}, {2, -1}, {3, -1}, {-2, -2},
                                {-1, -2}, {1, -2}, {2, -2}, {-1, -3}, {0, -3},  {0, -3},  {1, -3}, {0, -4}};
constexpr POINT kChevronDown[] = {{-3, -4}, {-2, -4}, {2, -4}, {3, -4}, {-2, -3}, {-1, -3}, {1, -3}, {2, -3}, {-1, -2},
                                  {0, -2},  {0, -2},  {1, -2}, {0, -1}, {-3, 0},  {-2, 0},  {2, 0},  {3, 0},  {-2, 1},
                                  {-1, 1},  {1, 1},   {2, 1},  {-1, 2}, {0, 2},   {0, 2},   {1, 2},  {0, 3}};

// What one painting needs to know, worked out once.
struct Scene {
    int width = 0;       // A: the page width
    int groupWidth = 0;  // U = A - 20
    int textRight = 0;   // T = A - 50
    bool enabled = true;
    COLORREF background = 0;
    COLORREF body = 0;  // also the header gradient's end
};

bool Overlaps(const RECT& a, const RECT& b) {
    RECT common;
    return ::IntersectRect(&common, &a, &b) != FALSE;
}

void FillWithin(HDC dc, RECT part, const RECT& area, COLORREF color) {
    if (::IntersectRect(&part, &part, &area))
        controls::FillSolid(dc, part, color);
}

void Gradient(HDC dc, int left, int top, int right, int bottom, COLORREF from, COLORREF to) {
    if (right <= left || bottom <= top)
        return;
    TRIVERTEX ends[2] = {};
    ends[0] = {left,
               top,
               static_cast<COLOR16>(GetRValue(from) << 8),
               static_cast<COLOR16>(GetGValue(from) << 8),
               static_cast<COLOR16>(GetBValue(from) << 8),
               0};
    ends[1] = {right,
               bottom,
               static_cast<COLOR16>(GetRValue(to) << 8),
               static_cast<COLOR16>(GetGValue(to) << 8),
               static_cast<COLOR16>(GetBValue(to) << 8),
               0};
    GRADIENT_RECT span = {0, 1};
    ::GradientFill(dc, ends, 2, &span, 1, GRADIENT_FILL_RECT_H);
}

// Draws a picture stretched to width x height; 32-bit pictures are blended through their alpha channel.
void DrawPicture(HDC dc, HBITMAP picture, int x, int y, int width, int height) {
    BITMAP info = {};
    if (!::GetObjectW(picture, sizeof(info), &info))
        return;
    win::UniqueMemoryDc source(::CreateCompatibleDC(dc));
    win::SelectGuard select(source.get(), picture);
    if (info.bmBitsPixel == 32) {
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::AlphaBlend(dc, x, y, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight, blend);
    } else {
        ::SetStretchBltMode(dc, HALFTONE);
        ::StretchBlt(dc, x, y, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
}

void Text(HDC dc, const std::wstring& text, RECT place, HFONT font, COLORREF color, UINT format) {
    win::SelectGuard select(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, color);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &place, format);
}

void PaintHeader(const Bar& bar, const Scene& scene, HDC dc, const Item& item, bool hot) {
    const win::Scale& s = bar.scale;
    const int y = item.top, h = s(item.height);
    const COLORREF start = bar.color(kHeaderStart);
    // Rounded top-left corner: background behind a disc, then the left strip below the disc.
    controls::FillSolid(dc, s(10), y, s(20), y + s(10), scene.background);
    {
        win::SelectGuard pen(dc, ::GetStockObject(NULL_PEN));
        win::SelectGuard brush(dc, ::GetStockObject(DC_BRUSH));
        const COLORREF old = ::SetDCBrushColor(dc, start);
        ::Ellipse(dc, s(10), y, s(30), y + s(20));
        ::SetDCBrushColor(dc, old);
    }
    controls::FillSolid(dc, s(10), y + s(10), s(20), y + h, start);
    Gradient(dc, s(20), y, scene.groupWidth + s(10), y + h, start, scene.body);

    const int T = scene.textRight;
    if (T >= s(25) && item.picture)
        DrawPicture(dc, item.picture.get(), 0, y - s(12), s(48), s(48));
    const bool lit = hot && item.type == kHeader;
    const COLORREF ink = lit ? bar.color(kHot) : bar.color(kHeaderText);
    if (T >= s(21)) {
        const RECT place = {s(item.picture ? 55 : 20), y, T + s(20), y + h};
        HFONT font =
            FittedFont(dc, item.font ? item.font : DefaultHeaderFont(s.dpi()), item.caption, place.right - place.left);
        Text(dc, item.caption, place, font, scene.enabled ? ink : RGB(0, 0, 0), kHeaderFormat);
    }
    if (item.type != kHeader || T < 0)
        return;
    // The chevron's pixels grow into squares of the scale.
    const int cx = T + s(28), cy = y + h / 2;
    for (const POINT& pixel : item.collapsed ? kChevronDown : kChevronUp)
        controls::FillSolid(dc, cx + s(pixel.x), cy + s(pixel.y), cx + s(pixel.x + 1), cy + s(pixel.y + 1), ink);
    if (lit) {
        // A square frame around the chevron, shaded on its bottom and right sides.
        controls::Line(dc, cx + s(8), cy - s(8), cx + s(8), cy + s(8), bar.color(kHot));
        controls::Line(dc, cx + s(8), cy + s(8), cx - s(7), cy + s(8), bar.color(kHot));
        controls::Line(dc, cx - s(7), cy + s(8), cx - s(7), cy - s(8), RGB(255, 255, 255));
        controls::Line(dc, cx - s(7), cy - s(8), cx + s(8), cy - s(8), RGB(255, 255, 255));
    }
}

void PaintEntry(const Bar& bar, const Scene& scene, HDC dc, const Item& item, bool hot) {
    const win::Scale& s = bar.scale;
    const int y = item.top, h = s(item.height);
    controls::FillSolid(dc, s(10), y, scene.width - s(10), y + h, scene.body);
    const int T = scene.textRight;
    switch (item.type) {
        case kLink:
        case kLabel: {
            if (T >= s(21) && item.picture)
                DrawPicture(dc, item.picture.get(), s(20), y + h / 2 - s(8), s(16), s(16));
            if (T < s(41))
                break;
            HFONT font = item.font ? item.font : DefaultEntryFont(s.dpi());
            COLORREF ink = item.type == kLabel ? bar.color(kLabelText) : bar.color(kLinkText);
            if (item.type == kLink && hot) {
                ink = bar.color(kHot);
                font = UnderlinedFont(font);
            }
            // The full width, so that the lines break where the layout measured them.
            const RECT place = {s(40), item.text.top, T + s(20), item.text.bottom};
            Text(dc, item.caption, place, font, scene.enabled ? ink : RGB(0, 0, 0), kEntryFormat);
            break;
        }
        case kSeparator:
            if (T >= 1)
                controls::Line(dc, s(20), y + h - 1, scene.groupWidth, y + h - 1, bar.color(kSeparatorLine));
            break;
    }
}

}  // namespace

RECT CaptionBlock(HDC measure, const Bar& bar, const Item& item, int top, int innerWidth) {
    const win::Scale& s = bar.scale;
    const int right = innerWidth - s(50) + s(20);
    RECT block = {s(40), 0, right, 0};
    {
        win::SelectGuard font(measure, item.font ? item.font : DefaultEntryFont(s.dpi()));
        ::DrawTextW(measure, item.caption.c_str(), static_cast<int>(item.caption.size()), &block,
                    kEntryFormat | DT_CALCRECT);
    }
    const int height = block.bottom - block.top;
    const int itemHeight = s(item.height);
    // Centred in the item, never above its top nor below its bottom.
    int y = top + (itemHeight - height) / 2;
    y = std::max(top, std::min(y, top + itemHeight - height));
    return {s(40), y, std::min<LONG>(block.right, right), std::min(y + height, top + itemHeight)};
}

void Paint(const Bar& bar, HDC dc, const RECT& area) {
    const win::Scale& s = bar.scale;
    Scene scene;
    const SIZE inner = ScrollArea::InnerSize(bar.outer);
    scene.width = inner.cx;
    scene.groupWidth = inner.cx - s(20);
    scene.textRight = inner.cx - s(50);
    scene.enabled = ::IsWindowEnabled(bar.page) != FALSE;
    scene.background = ScrollArea::BackColor(bar.outer);
    scene.body = scene.enabled ? bar.color(kBody) : ::GetSysColor(COLOR_BTNFACE);

    if (scene.groupWidth < s(20)) {
        controls::FillSolid(dc, area, scene.background);
        return;
    }
    const int A = scene.width, H = inner.cy, margin = s(kMargin);
    FillWithin(dc, {0, 0, margin, H}, area, scene.background);
    FillWithin(dc, {0, 0, A, margin}, area, scene.background);
    FillWithin(dc, {A - margin, 0, A, H}, area, scene.background);
    FillWithin(dc, {0, H - margin, A, H}, area, scene.background);

    for (size_t index = 0; index < bar.items.size(); ++index) {
        const Item& item = *bar.items[index];
        if (!item.shown)
            continue;
        if (item.gapBefore)
            FillWithin(dc, {area.left, item.top - s(kGap), area.right, item.top}, area, scene.background);
        // A header's picture reaches 12 pixels (at 96 DPI) above it.
        const bool header = IsHeader(item);
        const RECT extent = {0, header ? item.top - s(12) : item.top, A,
                             item.top + s(std::max(item.height, header ? 36 : 0))};
        if (extent.top >= area.bottom)
            break;
        if (item.height == 0 || !Overlaps(extent, area))
            continue;
        const bool hot = static_cast<int>(index) == bar.hot;
        if (header)
            PaintHeader(bar, scene, dc, item, hot);
        else
            PaintEntry(bar, scene, dc, item, hot);
    }
}

}  // namespace ExplorerBar::detail
