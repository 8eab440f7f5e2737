#include "controls/BigButton.h"

#include "controls/Accessible.h"
#include "controls/ControlObjects.h"
#include "controls/Gdi.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace BigButton {

namespace {

constexpr wchar_t kProperty[] = L"BIGEPROPERTIES";

// Visual-style part and states of a push button.
constexpr int kPushButtonPart = 1;
enum ThemeState : int { kNormal = 1, kHot = 2, kPressed = 3, kDisabled = 4, kDefaulted = 5 };

struct Record {
    int id = 0;
    HICON icon = nullptr;
    Layout layout = kIconLeft;
    WNDPROC previous = nullptr;
    int hover = 0;  // 1 while the mouse pointer is over the button
    ThemeApi* theme = nullptr;
    win::Scale scale;  // the margins' scale
};

Record* RecordOf(HWND button) {
    return static_cast<Record*>(::GetPropW(button, kProperty));
}

LRESULT CALLBACK Proc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    Record* record = RecordOf(button);
    if (!record)
        return 0;
    if (message == WM_GETOBJECT && controls::AsksForClient(lParam))
        return controls::AnswerButton(button, wParam);
    const LRESULT result = ::CallWindowProcW(record->previous, button, message, wParam, lParam);
    switch (message) {
        case WM_ENABLE:
            controls::NotifyStateChange(button);
            break;
        case WM_SETTEXT:
            controls::NotifyNameChange(button);
            break;
        case WM_MOUSEMOVE:
            if (record->hover == 0) {
                record->hover = 1;
                ::InvalidateRect(button, nullptr, FALSE);
                TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, button, 1};
                ::TrackMouseEvent(&track);
            }
            break;
        case WM_MOUSELEAVE:
            if (record->hover == 1) {
                record->hover = 0;
                ::InvalidateRect(button, nullptr, TRUE);
            }
            break;
        case WM_GETDLGCODE: {
            // Enter presses a focused big button, as Space does. A dialog's keyboard handling would turn
            // Enter into the default button's command instead, so the button asks for the key itself.
            const MSG* key = reinterpret_cast<const MSG*>(lParam);
            if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
                return result | DLGC_WANTMESSAGE;
            break;
        }
        case WM_KEYDOWN:
            // Once per press: a held key repeats its WM_KEYDOWN.
            if (wParam == VK_RETURN && !(lParam & 0x40000000) && ::IsWindowEnabled(button))
                ::SendMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(record->id, BN_CLICKED),
                               reinterpret_cast<LPARAM>(button));
            break;
        case WM_THEMECHANGED:
        case WM_SYSCOLORCHANGE:
            if (record->theme)
                record->theme->refreshActive();
            ::InvalidateRect(button, nullptr, FALSE);
            break;
        case WM_NCDESTROY: {
            std::unique_ptr<Record> owned(static_cast<Record*>(::RemovePropW(button, kProperty)));
            ::SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(owned->previous));
            break;
        }
    }
    return result;
}

SIZE IconSize(HICON icon) {
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon, &info))
        return {0, 0};
    win::UniqueBitmap color(info.hbmColor);
    win::UniqueBitmap mask(info.hbmMask);
    BITMAP bitmap = {};
    if (color) {
        ::GetObjectW(color.get(), sizeof(bitmap), &bitmap);
        return {bitmap.bmWidth, bitmap.bmHeight};
    }
    // A monochrome icon: the mask holds the AND and XOR images one above the other.
    ::GetObjectW(mask.get(), sizeof(bitmap), &bitmap);
    return {bitmap.bmWidth, bitmap.bmHeight / 2};
}

enum class Look { kPressed, kFocused, kDisabled, kNormal };

Look LookOf(UINT itemState) {
    if (itemState & ODS_SELECTED)
        return Look::kPressed;
    if (itemState & ODS_FOCUS)
        return Look::kFocused;
    if (itemState & ODS_DISABLED)
        return Look::kDisabled;
    return Look::kNormal;
}

int ThemeStateOf(Look look, int hover) {
    switch (look) {
        case Look::kPressed:
            return kPressed;
        case Look::kFocused:
            return hover ? kHot : kDefaulted;
        case Look::kDisabled:
            return kDisabled;
        case Look::kNormal:
            break;
    }
    return hover ? kHot : kNormal;
}

// The theme data of the "Button" class for the duration of one drawing.
class ThemeData {
public:
    ThemeData(const ThemeApi& api, HWND window) : api_(api), theme_(api.openThemeData(window, L"Button")) {}
    ~ThemeData() {
        if (theme_)
            api_.closeThemeData(theme_);
    }
    ThemeData(const ThemeData&) = delete;
    ThemeData& operator=(const ThemeData&) = delete;
    HTHEME get() const { return theme_; }

private:
    const ThemeApi& api_;
    HTHEME theme_;
};

bool UsesThemes(const ThemeApi* api) {
    return api && api->themesActive && api->openThemeData && api->drawThemeBackground && api->closeThemeData;
}

// The visual style's face; false when the theme data cannot be opened.
bool DrawThemedFace(const ThemeApi& api, HWND button, HDC dc, const RECT& area, int state) {
    ThemeData theme(api, button);
    if (!theme.get())
        return false;
    if (api.isThemeBackgroundPartiallyTransparent && api.drawThemeParentBackground &&
        api.isThemeBackgroundPartiallyTransparent(theme.get(), kPushButtonPart, state))
        api.drawThemeParentBackground(button, dc, &area);
    api.drawThemeBackground(theme.get(), dc, kPushButtonPart, state, &area, nullptr);
    return true;
}

// The classic three-dimensional frame, in the system's button colours. Coordinates are relative to the
// item's top-left corner (x0, y0); lines exclude their end point.
void DrawClassicFace(HDC dc, int x0, int y0, int w, int h, Look look) {
    const COLORREF frame = ::GetSysColor(COLOR_WINDOWFRAME);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    auto line = [&](int x1, int y1, int x2, int y2, COLORREF color) {
        controls::Line(dc, x0 + x1, y0 + y1, x0 + x2, y0 + y2, color);
    };
    auto fill = [&](int left, int top, int right, int bottom) {
        controls::FillSolid(dc, x0 + left, y0 + top, x0 + right, y0 + bottom, face);
    };
    auto outerFrame = [&] {
        line(0, 0, w, 0, frame);
        line(0, 0, 0, h - 1, frame);
        line(0, h - 1, w, h - 1, frame);
        line(w - 1, 0, w - 1, h, frame);
    };
    switch (look) {
        case Look::kPressed:
            // Sunken: a dark outer frame and a shadow frame inside it.
            outerFrame();
            line(1, 1, w - 1, 1, shadow);
            line(1, 2, 1, h - 2, shadow);
            line(1, h - 2, w - 1, h - 2, shadow);
            line(w - 2, 2, w - 2, h - 2, shadow);
            fill(2, 2, w - 2, h - 2);
            break;
        case Look::kFocused:
            // Raised with a doubled dark bottom and right edge: the default button of the window.
            outerFrame();
            line(0, h - 2, w - 1, h - 2, frame);
            line(w - 2, 0, w - 2, h - 1, frame);
            line(1, 1, w - 2, 1, light);
            line(1, 1, 1, h - 2, light);
            line(2, h - 3, w - 2, h - 3, shadow);
            line(w - 3, 2, w - 3, h - 2, shadow);
            fill(2, 2, w - 3, h - 3);
            break;
        case Look::kDisabled:
        case Look::kNormal:
            line(0, 0, w, 0, light);
            line(0, 0, 0, h - 1, light);
            line(0, h - 1, w, h - 1, frame);
            line(w - 1, 0, w - 1, h, frame);
            line(1, h - 2, w - 1, h - 2, shadow);
            line(w - 2, 1, w - 2, h - 1, shadow);
            fill(1, 1, w - 2, h - 2);
            break;
    }
}

void Paint(const DRAWITEMSTRUCT& item, const Record& record) {
    HWND button = item.hwndItem;
    HDC dc = item.hDC;
    const RECT area = item.rcItem;
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;

    auto font = reinterpret_cast<HFONT>(::SendMessageW(button, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW logFont = {};
    ::GetObjectW(font, sizeof(logFont), &logFont);
    const int fh = logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight;
    std::vector<wchar_t> buffer(1025, L'\0');
    const int length = ::GetWindowTextW(button, buffer.data(), static_cast<int>(buffer.size()));
    win::SelectGuard selectFont(dc, font);
    SIZE text = {};
    ::GetTextExtentPoint32W(dc, buffer.data(), length, &text);
    const SIZE icon = IconSize(record.icon);
    const int tw = text.cx, th = text.cy, iw = icon.cx, ih = icon.cy;
    const win::Scale& s = record.scale;

    POINT iconAt = {}, textAt = {};
    switch (record.layout) {
        case kIconAbove:
            iconAt = {(w - iw) / 2, (h - ih) / 4};
            textAt = {(w - tw) / 2, h - th - s(10)};
            break;
        case kIconRight:
            iconAt = {w - iw - s(10), (h - ih) / 2};
            textAt = {w - tw - iw - s(20), (h - fh) / 2 - s(1)};
            break;
        case kIconBelow:
            iconAt = {(w - iw) / 2, h - ih - s(7)};
            textAt = {(w - tw) / 2, (h - th) / 4};
            break;
        case kIconLeft:
        default:
            // A caption too long for its usual place moves left, towards the icon, rather than past the edge.
            iconAt = {s(10), (h - ih) / 2 + s(1)};
            textAt = {std::max(iw + s(14), std::min(iw + s(20), w - s(3) - tw)), (h - fh) / 2 - s(1)};
            break;
    }

    controls::FillSolid(dc, area, ::GetSysColor(COLOR_BTNFACE));
    const Look look = LookOf(item.itemState);
    const int shift = look == Look::kPressed ? s(1) : 0;
    if (!UsesThemes(record.theme) || !DrawThemedFace(*record.theme, button, dc, area, ThemeStateOf(look, record.hover)))
        DrawClassicFace(dc, area.left, area.top, w, h, look);

    const int ix = area.left + iconAt.x + shift, iy = area.top + iconAt.y + shift;
    const int tx = area.left + textAt.x + shift, ty = area.top + textAt.y + shift;
    ::SetBkMode(dc, TRANSPARENT);
    if (look == Look::kDisabled) {
        if (record.icon)
            ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(record.icon), 0, ix, iy, 0, 0,
                         DST_ICON | DSS_DISABLED);
        // Embossed: a light copy one pixel down and right under the shadow-coloured caption.
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::TextOutW(dc, tx + 1, ty + 1, buffer.data(), length);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
        ::TextOutW(dc, tx, ty, buffer.data(), length);
    } else {
        if (record.icon)
            ::DrawIconEx(dc, ix, iy, record.icon, 0, 0, 0, nullptr, DI_NORMAL);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        ::TextOutW(dc, tx, ty, buffer.data(), length);
    }
    if (look == Look::kPressed || look == Look::kFocused) {
        RECT focus = area;
        ::InflateRect(&focus, -s(4), -s(4));
        ::DrawFocusRect(dc, &focus);
    }
}

}  // namespace

HWND Create(HWND parent,
            int id,
            int x,
            int y,
            int width,
            int height,
            const std::wstring& caption,
            HICON icon,
            Layout layout,
            ThemeApi* theme) {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    HWND button =
        ::CreateWindowExW(0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, x, y, width,
                          height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!button)
        return nullptr;
    ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    auto record = std::make_unique<Record>();
    record->id = id;
    record->icon = icon;
    record->layout = layout;
    record->theme = theme;
    record->scale = win::Scale(win::DpiOf(parent));
    record->previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(button, GWLP_WNDPROC));
    if (!::SetPropW(button, kProperty, record.get())) {
        ::DestroyWindow(button);
        return nullptr;
    }
    // From here the window owns the record; Proc frees it at WM_NCDESTROY.
    record.release();
    ::SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
    return button;
}

void SetIcon(HWND button, HICON icon, UINT dpi) {
    if (Record* record = RecordOf(button)) {
        record->icon = icon;
        record->scale = win::Scale(dpi);
        ::InvalidateRect(button, nullptr, FALSE);
    }
}

int CaptionRoom(Layout layout, int buttonWidth, int iconWidth, UINT dpi) {
    // The themed and classic frames take up to 3 pixels (at 96 DPI) inside the button's edge.
    const win::Scale s(dpi);
    if (layout == kIconLeft)
        return buttonWidth - iconWidth - s(14) - s(3);
    if (layout == kIconRight)
        return buttonWidth - iconWidth - s(20) - s(3);
    return buttonWidth - 2 * s(3);
}

bool Draw(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_DRAWITEM || !lParam)
        return false;
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.CtlType != ODT_BUTTON)
        return false;
    const Record* record = RecordOf(item.hwndItem);
    if (!record)
        return false;
    Paint(item, *record);
    return true;
}

}  // namespace BigButton
