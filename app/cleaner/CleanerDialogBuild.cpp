// The Fast Cleaner's controls, built from the layout's tables and placed at the dialog's DPI.
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

RECT Square(POINT at, int size) {
    return {at.x, at.y, at.x + size, at.y + size};
}

}  // namespace

HWND CleanerDialog::label(HWND parent,
                          int id,
                          const RECT& place,
                          const wchar_t* text,
                          COLORREF color,
                          FontRole font,
                          RoomPlaces::Fit fit) {
    HWND control = ::CreateWindowExW(0, WC_STATICW, text, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                                     parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance, nullptr);
    places_.add(control, place, font, fit);
    textColors_[control] = color;
    controls_[id] = control;
    return control;
}

HWND CleanerDialog::button(HWND parent,
                           int id,
                           const RECT& place,
                           const wchar_t* text,
                           DWORD style,
                           RoomPlaces::Fit fit) {
    HWND control = ::CreateWindowExW(0, WC_BUTTONW, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 0, 0,
                                     parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance, nullptr);
    places_.add(control, place, FontRole::Dialog, fit);
    controls_[id] = control;
    return control;
}

void CleanerDialog::attachTip(HWND control, const wchar_t* title, const wchar_t* text) {
    // Owned by the dialog, so that they go with it instead of piling up at every opening.
    if (title) {
        if (HWND balloon = AttachBalloonTip(window_, control, title, text, reinterpret_cast<HICON>(TTI_INFO)))
            balloons_.push_back(balloon);
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

void CleanerDialog::buildBanner() {
    // The static shows the picture drawn by drawBanner(); its window text is the banner's text, for screen
    // readers.
    HWND control = ::CreateWindowExW(0, WC_STATICW, kBannerText, WS_CHILD | WS_VISIBLE | SS_BITMAP, 0, 0, 0, 0, window_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdBanner)), app_.instance, nullptr);
    controls_[kIdBanner] = control;
}

void CleanerDialog::drawBanner(const win::Scale& scale) {
    // A vertical gradient, dark at the top, with the white text over it, drawn at the dialog's scale.
    const RECT place = scale(kBanner);
    const int width = Width(place);
    const int height = Height(place);
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
        win::SelectGuard font(picture.dc(), app_.fonts.get(FontRole::BoldItalic, scale.dpi()));
        ::SetBkMode(picture.dc(), TRANSPARENT);
        ::SetTextColor(picture.dc(), kBannerTextColor);
        const POINT at = scale(kBannerTextAt);
        ::TextOutW(picture.dc(), at.x, at.y, kBannerText, static_cast<int>(wcslen(kBannerText)));
    }
    ::GdiFlush();
    // The static shows the picture; the dialog keeps it, and lets the one it replaces go after.
    win::UniqueBitmap drawn(static_cast<HBITMAP>(::CopyImage(picture.bitmap(), IMAGE_BITMAP, 0, 0, 0)));
    HWND control = controls_[kIdBanner];
    ::SetWindowPos(control, nullptr, place.left, place.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(drawn.get()));
    banner_ = std::move(drawn);
}

void CleanerDialog::buildTabs() {
    tabs_ = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 0, 0, 0, 0,
                              window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdTabs)), app_.instance, nullptr);
    controls_[kIdTabs] = tabs_;
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
    // The page covers the tab control's display area (placed by place()); its controls' notifications
    // reach the dialog.
    HWND page = Container::Create(tabs_, 0, 0, 0, 0, kPageBack);
    ::SetWindowLongPtrW(page, GWLP_ID, kIdPageFirst + index);
    ::SetWindowLongPtrW(page, GWL_EXSTYLE, ::GetWindowLongPtrW(page, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    controls_[kIdPageFirst + index] = page;
    const Page& entry = kPages[index];
    pageIcons_[index] =
        BusyPicture::Create(page, kIdPageIconFirst + index, {0, 0, 0, 0}, nullptr, kPageBack, entry.caption);
    places_.add(pageIcons_[index], Square(kPageIconAt, 16), std::nullopt);
    label(page, kIdPageTitleFirst + index, kPageTitle, entry.title, kTitleColor, FontRole::Strong,
          RoomPlaces::Fit::Text);
    if (entry.description.text)
        label(page, entry.description.id, entry.description.place, entry.description.text, kTextColor,
              FontRole::Dialog);
    return page;
}

void CleanerDialog::buildGeneral(HWND page) {
    for (int i = 0; i < kCleanerItemCount; ++i) {
        const Item& item = kItems[i];
        const POINT at = ItemAt(item);
        states_[i] = BusyPicture::Create(page, kIdStateFirst + i, {0, 0, 0, 0}, nullptr, kPageBack, kWaitingText);
        places_.add(states_[i], Square(at, kStateSize), std::nullopt);
        const RECT box = {at.x + kCheckOffset, at.y, at.x + kCheckOffset + item.boxWidth, at.y + kItemHeight};
        checks_[i] = button(page, kIdCheckFirst + i, box, item.caption, BS_AUTOCHECKBOX, RoomPlaces::Fit::Box);
        attachTip(checks_[i], item.tipTitle, item.tip);
    }
    busy_ = BusyPicture::Create(page, kIdBusy, {0, 0, 0, 0}, nullptr, kPageBack, L"Nettoyage en cours");
    places_.add(busy_, kBusy, std::nullopt);
    ::ShowWindow(busy_, SW_HIDE);
    controls_[kIdBusy] = busy_;
    status_ = label(page, kIdStatus, kStatus, L"", kStatusColor, FontRole::Status);

    HWND strip = Container::Create(page, 0, 0, 0, 0, kPageBack);
    ::SetWindowLongPtrW(strip, GWLP_ID, kIdButtonStrip);
    ::SetWindowLongPtrW(strip, GWL_STYLE, ::GetWindowLongPtrW(strip, GWL_STYLE) | WS_BORDER);
    ::SetWindowLongPtrW(strip, GWL_EXSTYLE, ::GetWindowLongPtrW(strip, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    ::SetWindowPos(strip, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    places_.add(strip, kButtonStrip, std::nullopt);
    controls_[kIdButtonStrip] = strip;
    for (const Button& entry : kStripButtons)
        attachTip(button(strip, entry.id, entry.place, entry.caption, BS_PUSHBUTTON), entry.tipTitle, entry.tip);
}

void CleanerDialog::buildSettings(HWND page) {
    label(page, kSettingsNote.id, kSettingsNote.place, kSettingsNote.text, kSettingsTextColor, FontRole::BoldItalic,
          RoomPlaces::Fit::Text);
    bool first = true;
    for (const AgeOption& option : kAgeOptions) {
        HWND radio = button(page, option.id, option.place, option.text, BS_AUTORADIOBUTTON | (first ? WS_GROUP : 0),
                            RoomPlaces::Fit::Box);
        if (option.rule == kDefaultAgeRule)
            ::SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
        first = false;
    }
}

void CleanerDialog::buildDns(HWND page) {
    // Placed by place(): its height follows the page's.
    dnsText_ = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_EDITW, L"",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
        0, 0, 0, 0, page, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdDnsText)), app_.instance, nullptr);
    // Long enough for any cache listing; the default limit of an edit is 32 K characters.
    ::SendMessageW(dnsText_, EM_SETLIMITTEXT, 0, 0);
    controls_[kIdDnsText] = dnsText_;
    for (const Button& entry : kDnsButtons)
        attachTip(button(page, entry.id, entry.place, entry.caption, BS_PUSHBUTTON), entry.tipTitle, entry.tip);
}

void CleanerDialog::buildMru(HWND page) {
    mruList_ = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS, 0, 0, 0, 0, page,
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
    places_.add(mruList_, kMruList, FontRole::Dialog);
    controls_[kIdMruList] = mruList_;
    for (const Button& entry : kMruButtons)
        attachTip(button(page, entry.id, entry.place, entry.caption, BS_PUSHBUTTON), entry.tipTitle, entry.tip);
}

// Everything at the dialog's DPI: places, fonts and pictures. At 96 DPI every place is the table's.
void CleanerDialog::place() {
    const win::Scale scale(dpi_);
    const UINT dpi = scale.dpi();
    drawBanner(scale);

    const int icon = scale(16);
    UniqueImageList tabImages(ImageList_Create(icon, icon, ILC_COLOR32 | ILC_MASK, 4, 0));
    for (const Page& page : kPages)
        ImageList_Add(tabImages.get(), app_.pictures.bitmap(page.picture, dpi), nullptr);
    TabCtrl_SetImageList(tabs_, tabImages.get());
    tabImages_ = std::move(tabImages);
    // The headers' margins, the system's at 96 DPI (6 and 3 pixels), are not scaled by the tab control.
    TabCtrl_SetPadding(tabs_, scale(6), scale(3));
    // After the pictures and margins: the tabs measure their headers when they are given a font.
    ::SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(app_.fonts.get(FontRole::Dialog, dpi)), FALSE);
    const RECT tabs = scale(kTabs);
    ::SetWindowPos(tabs_, nullptr, tabs.left, tabs.top, Width(tabs), Height(tabs), SWP_NOZORDER | SWP_NOACTIVATE);
    RECT area;
    ::GetClientRect(tabs_, &area);
    TabCtrl_AdjustRect(tabs_, FALSE, &area);
    for (HWND page : pages_)
        ::SetWindowPos(page, nullptr, area.left, area.top, Width(area), Height(area), SWP_NOZORDER | SWP_NOACTIVATE);

    places_.place(scale, app_.fonts);
    for (HWND balloon : balloons_)
        ScaleBalloonTip(balloon, dpi);

    for (int i = 0; i < static_cast<int>(kPages.size()); ++i)
        BusyPicture::SetPicture(pageIcons_[i], app_.pictures.bitmap(kPages[i].picture, dpi), kPages[i].caption);
    for (int i = 0; i < kCleanerItemCount; ++i)
        setItemState(i, itemDone_[i]);
    BusyPicture::SetPicture(busy_, app_.pictures.bitmap(IDR_CLEANER_BUSY, dpi), L"Nettoyage en cours");

    const POINT at = scale(kDnsTextAt);
    ::SendMessageW(dnsText_, WM_SETFONT, reinterpret_cast<WPARAM>(app_.fonts.get(FontRole::Status, dpi)), FALSE);
    ::SetWindowPos(dnsText_, nullptr, at.x, at.y, scale(kDnsTextWidth), Height(area) - scale(kDnsTextHeightLess),
                   SWP_NOZORDER | SWP_NOACTIVATE);

    UniqueImageList mruImages(ImageList_Create(icon, icon, ILC_COLOR32 | ILC_MASK, 2, 0));
    ImageList_Add(mruImages.get(), app_.pictures.bitmap(IDR_CLEANER_MRU_KEY, dpi), nullptr);
    ImageList_Add(mruImages.get(), app_.pictures.bitmap(IDR_CLEANER_MRU_VALUE, dpi), nullptr);
    ListView_SetImageList(mruList_, mruImages.get(), LVSIL_SMALL);
    mruImages_ = std::move(mruImages);
    for (int column = 0; column < static_cast<int>(std::size(kMruColumns)); ++column)
        ListView_SetColumnWidth(mruList_, column, scale(kMruColumns[column].width));
    ::InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace cleaner
