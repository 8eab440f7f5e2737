// The Fast Cleaner's controls, built from the layout's tables.
#include "app/App.h"
#include "app/cleaner/CleanerDialog.h"
#include "app/cleaner/CleanerDialogLayout.h"
#include "controls/BusyPicture.h"
#include "controls/BalloonTip.h"
#include "controls/Container.h"
#include "controls/Gdi.h"
#include "controls/TipWidth.h"

namespace cleaner {

using namespace layout;

namespace {

HFONT GuiFont() {
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

int Width(const RECT& place) {
    return place.right - place.left;
}
int Height(const RECT& place) {
    return place.bottom - place.top;
}

// The page's coordinates of an item's state picture.
POINT ItemAt(const Item& item) {
    return {kItemColumnX[item.column], kItemFirstRowY + item.row * kItemRowStep};
}

}  // namespace

HWND CleanerDialog::label(HWND parent, int id, const RECT& place, const wchar_t* text, COLORREF color, HFONT font) {
    HWND control = ::CreateWindowExW(0, WC_STATICW, text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, place.left,
                                     place.top, Width(place), Height(place), parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : GuiFont()), FALSE);
    textColors_[control] = color;
    controls_[id] = control;
    return control;
}

HWND CleanerDialog::button(HWND parent, int id, const RECT& place, const wchar_t* text, DWORD style, HFONT font) {
    HWND control = ::CreateWindowExW(0, WC_BUTTONW, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, place.left,
                                     place.top, Width(place), Height(place), parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : GuiFont()), FALSE);
    controls_[id] = control;
    return control;
}

void CleanerDialog::attachTip(HWND control, const wchar_t* title, const wchar_t* text) {
    // Owned by the dialog, so that they go with it instead of piling up at every opening.
    if (title) {
        AttachBalloonTip(window_, control, title, text, reinterpret_cast<HICON>(TTI_INFO));
        return;
    }
    HWND tip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_NOPREFIX, 0, 0, 0, 0, window_, nullptr,
                                 app_.instance, nullptr);
    if (!tip)
        return;
    KeepTipTextWhole(tip);
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = control;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text);
    ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CleanerDialog::fitText(HWND control, int extra) {
    const int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    win::WindowDc dc(control);
    win::SelectGuard font(dc.get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    ::GetTextExtentPoint32W(dc.get(), text.c_str(), length, &size);
    RECT place;
    ::GetWindowRect(control, &place);
    if (size.cx + extra > Width(place))
        ::SetWindowPos(control, nullptr, 0, 0, size.cx + extra, Height(place),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CleanerDialog::buildBanner() {
    // Drawn once: a vertical gradient, dark at the top, with the white text over it.
    const int width = Width(kBanner);
    const int height = Height(kBanner);
    controls::Offscreen picture(width, height);
    if (!picture)
        return;
    TRIVERTEX ends[2] = {};
    ends[0].Red = static_cast<COLOR16>(GetRValue(kBannerTop) << 8);
    ends[0].Green = static_cast<COLOR16>(GetGValue(kBannerTop) << 8);
    ends[0].Blue = static_cast<COLOR16>(GetBValue(kBannerTop) << 8);
    ends[1].x = width;
    ends[1].y = height;
    ends[1].Red = static_cast<COLOR16>(GetRValue(kBannerBottom) << 8);
    ends[1].Green = static_cast<COLOR16>(GetGValue(kBannerBottom) << 8);
    ends[1].Blue = static_cast<COLOR16>(GetBValue(kBannerBottom) << 8);
    GRADIENT_RECT whole = {0, 1};
    ::GdiGradientFill(picture.dc(), ends, 2, &whole, 1, GRADIENT_FILL_RECT_V);
    {
        win::SelectGuard font(picture.dc(), app_.fonts.get(FontRole::BoldItalic));
        ::SetBkMode(picture.dc(), TRANSPARENT);
        ::SetTextColor(picture.dc(), kBannerTextColor);
        ::TextOutW(picture.dc(), kBannerTextAt.x, kBannerTextAt.y, kBannerText, static_cast<int>(wcslen(kBannerText)));
    }
    ::GdiFlush();
    // The static shows the picture; the dialog keeps it.
    banner_.reset(static_cast<HBITMAP>(::CopyImage(picture.bitmap(), IMAGE_BITMAP, 0, 0, 0)));
    HWND control = ::CreateWindowExW(0, WC_STATICW, kBannerText, WS_CHILD | WS_VISIBLE | SS_BITMAP, kBanner.left,
                                     kBanner.top, width, height, window_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdBanner)), app_.instance, nullptr);
    ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner_.get()));
    // The window text is the banner's text, for screen readers; the static shows only the picture.
    ::SetWindowTextW(control, kBannerText);
    controls_[kIdBanner] = control;
}

void CleanerDialog::buildTabs() {
    tabs_ = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, kTabs.left,
                              kTabs.top, Width(kTabs), Height(kTabs), window_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdTabs)), app_.instance, nullptr);
    ::SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    controls_[kIdTabs] = tabs_;
    tabImages_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 0);
    for (const Page& page : kPages)
        ImageList_Add(tabImages_, app_.pictures.bitmap(page.picture), nullptr);
    TabCtrl_SetImageList(tabs_, tabImages_);
    for (int i = 0; i < static_cast<int>(kPages.size()); ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<wchar_t*>(kPages[i].caption);
        item.iImage = i;
        TabCtrl_InsertItem(tabs_, i, &item);
    }
    for (int i = 0; i < static_cast<int>(kPages.size()); ++i)
        pages_[i] = buildPage(i);
    buildGeneral(pages_[kGeneral]);
    buildSettings(pages_[kSettings]);
    buildDns(pages_[kDns]);
    buildMru(pages_[kMru]);
}

HWND CleanerDialog::buildPage(int index) {
    // The page covers the tab control's display area; its controls' notifications reach the dialog.
    RECT area;
    ::GetClientRect(tabs_, &area);
    TabCtrl_AdjustRect(tabs_, FALSE, &area);
    HWND page = Container::Create(tabs_, area.left, area.top, Width(area), Height(area), kPageBack);
    ::SetWindowLongPtrW(page, GWLP_ID, kIdPageFirst + index);
    ::SetWindowLongPtrW(page, GWL_EXSTYLE, ::GetWindowLongPtrW(page, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    controls_[kIdPageFirst + index] = page;
    const Page& entry = kPages[index];
    const RECT icon = {kPageIconAt.x, kPageIconAt.y, kPageIconAt.x + 16, kPageIconAt.y + 16};
    BusyPicture::Create(page, kIdPageIconFirst + index, icon, app_.pictures.bitmap(entry.picture), kPageBack,
                        entry.caption);
    fitText(
        label(page, kIdPageTitleFirst + index, kPageTitle, entry.title, kTitleColor, app_.fonts.get(FontRole::Strong)),
        0);
    if (entry.description.text)
        label(page, entry.description.id, entry.description.place, entry.description.text, kTextColor, nullptr);
    return page;
}

void CleanerDialog::buildGeneral(HWND page) {
    HBITMAP waiting = app_.pictures.bitmap(IDR_CLEANER_WAITING);
    for (int i = 0; i < kCleanerItemCount; ++i) {
        const Item& item = kItems[i];
        const POINT at = ItemAt(item);
        const RECT state = {at.x, at.y, at.x + kStateSize, at.y + kStateSize};
        states_[i] = BusyPicture::Create(page, kIdStateFirst + i, state, waiting, kPageBack, kWaitingText);
        const RECT box = {at.x + kCheckOffset, at.y, at.x + kCheckOffset + item.boxWidth, at.y + kItemHeight};
        checks_[i] = button(page, kIdCheckFirst + i, box, item.caption, BS_AUTOCHECKBOX, nullptr);
        fitText(checks_[i], ::GetSystemMetrics(SM_CXMENUCHECK) + 6);
        attachTip(checks_[i], item.tipTitle, item.tip);
    }
    busy_ = BusyPicture::Create(page, kIdBusy, kBusy, app_.pictures.bitmap(IDR_CLEANER_BUSY), kPageBack,
                                L"Nettoyage en cours");
    ::ShowWindow(busy_, SW_HIDE);
    controls_[kIdBusy] = busy_;
    status_ = label(page, kIdStatus, kStatus, L"", kStatusColor, app_.fonts.get(FontRole::Status));

    HWND strip = Container::Create(page, kButtonStrip.left, kButtonStrip.top, Width(kButtonStrip), Height(kButtonStrip),
                                   kPageBack);
    ::SetWindowLongPtrW(strip, GWLP_ID, kIdButtonStrip);
    ::SetWindowLongPtrW(strip, GWL_STYLE, ::GetWindowLongPtrW(strip, GWL_STYLE) | WS_BORDER);
    ::SetWindowLongPtrW(strip, GWL_EXSTYLE, ::GetWindowLongPtrW(strip, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    ::SetWindowPos(strip, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    controls_[kIdButtonStrip] = strip;
    for (const Button& entry : kStripButtons)
        attachTip(button(strip, entry.id, entry.place, entry.caption, BS_PUSHBUTTON, nullptr), entry.tipTitle,
                  entry.tip);
}

void CleanerDialog::buildSettings(HWND page) {
    fitText(label(page, kSettingsNote.id, kSettingsNote.place, kSettingsNote.text, kSettingsTextColor,
                  app_.fonts.get(FontRole::BoldItalic)),
            0);
    bool first = true;
    for (const AgeOption& option : kAgeOptions) {
        HWND radio =
            button(page, option.id, option.place, option.text, BS_AUTORADIOBUTTON | (first ? WS_GROUP : 0), nullptr);
        fitText(radio, ::GetSystemMetrics(SM_CXMENUCHECK) + 6);
        if (option.rule == kDefaultAgeRule)
            ::SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
        first = false;
    }
}

void CleanerDialog::buildDns(HWND page) {
    RECT area;
    ::GetClientRect(page, &area);
    const RECT text = {kDnsTextAt.x, kDnsTextAt.y, kDnsTextAt.x + kDnsTextWidth,
                       kDnsTextAt.y + Height(area) - kDnsTextHeightLess};
    dnsText_ = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_EDITW, L"",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
        text.left, text.top, Width(text), Height(text), page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdDnsText)),
        app_.instance, nullptr);
    ::SendMessageW(dnsText_, WM_SETFONT, reinterpret_cast<WPARAM>(app_.fonts.get(FontRole::Status)), FALSE);
    // Long enough for any cache listing; the default limit of an edit is 32 K characters.
    ::SendMessageW(dnsText_, EM_SETLIMITTEXT, 0, 0);
    controls_[kIdDnsText] = dnsText_;
    for (const Button& entry : kDnsButtons)
        attachTip(button(page, entry.id, entry.place, entry.caption, BS_PUSHBUTTON, nullptr), entry.tipTitle,
                  entry.tip);
}

void CleanerDialog::buildMru(HWND page) {
    mruList_ =
        ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                          kMruList.left, kMruList.top, Width(kMruList), Height(kMruList), page,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdMruList)), app_.instance, nullptr);
    ListView_SetExtendedListViewStyle(mruList_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    ListView_SetBkColor(mruList_, kSheetBack);
    ListView_SetTextBkColor(mruList_, kSheetBack);
    ListView_SetTextColor(mruList_, kMruTextColor);
    int index = 0;
    for (const Column& entry : kMruColumns) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = entry.width;
        column.pszText = const_cast<wchar_t*>(entry.caption);
        ListView_InsertColumn(mruList_, index++, &column);
    }
    mruImages_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
    ImageList_Add(mruImages_, app_.pictures.bitmap(IDR_CLEANER_MRU_KEY), nullptr);
    ImageList_Add(mruImages_, app_.pictures.bitmap(IDR_CLEANER_MRU_VALUE), nullptr);
    ListView_SetImageList(mruList_, mruImages_, LVSIL_SMALL);
    controls_[kIdMruList] = mruList_;
    for (const Button& entry : kMruButtons)
        attachTip(button(page, entry.id, entry.place, entry.caption, BS_PUSHBUTTON, nullptr), entry.tipTitle,
                  entry.tip);
}

}  // namespace cleaner
