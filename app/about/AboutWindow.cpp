#include "app/about/AboutWindow.h"

#include "app/App.h"
#include "controls/Panel.h"
#include "controls/PictureBox.h"
#include "app/about/SupportLinks.h"
#include "controls/PlainTip.h"
#include "win/Window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr wchar_t kClassName[] = L"KestavelAbout";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLinkColor = RGB(238, 25, 30);
constexpr COLORREF kProductColor = RGB(22, 17, 215);

// Hands the address to the program the system has for it (browser, mail program).
bool OpenWithSystem(HWND window, const std::wstring& address) {
    const auto result =
        reinterpret_cast<INT_PTR>(::ShellExecuteW(window, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace

void AboutWindow::run(const App& app, HWND mainWindow) {
    AboutWindow window(app, mainWindow);
    if (!window.create())
        return;
    window.loop();
}

bool AboutWindow::create() {
    if (!win::RegisterWindowClass(app_.instance, kClassName, Proc, app_.pictures.icon(IDI_APP),
                                  app_.pictures.smallIcon(IDI_APP)))
        return false;
    // At the main window's scale, which it replaces on screen.
    dpi_ = win::DpiOf(main_);
    const win::Scale scale(dpi_);
    const win::Placement at = win::CentredPlacement(scale(kClientWidth), scale(kClientHeight), kStyle);
    // Not owned by the main window: while that is hidden, this one keeps the program's taskbar button.
    if (!::CreateWindowExW(0, kClassName, kTitle, kStyle, at.x, at.y, at.width, at.height, nullptr, nullptr,
                           app_.instance, this))
        return false;
    if (main_)
        ::ShowWindow(main_, SW_HIDE);
    build();
    // Made at the owner's scale (and cut to the screen by the system if larger): the window's own scale and
    // the table's client area at that scale, exactly.
    onDpiChanged(win::DpiOf(window_), nullptr);
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    return true;
}

HWND AboutWindow::child(HWND parent, ControlId id, const wchar_t* className, const wchar_t* text, DWORD style) {
    return ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance, nullptr);
}

void AboutWindow::build() {
    HWND panel = Panel::Create(window_, kIdPanel, 0, 0, 0, 0, kWhite);
    ::SetWindowLongPtrW(panel, GWL_STYLE, ::GetWindowLongPtrW(panel, GWL_STYLE) | WS_BORDER);
    ::SetWindowPos(panel, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    places_.add(panel, PlaceIn(AboutWindow::kPlaces, kIdPanel), std::nullopt);

    // The pictures are given at each scale by place().
    auto picture = [&](ControlId id, const wchar_t* text) {
        HWND box = PictureBox::Create(panel, 0, 0, 0, 0, nullptr, text);
        ::SetWindowLongPtrW(box, GWLP_ID, id);
        places_.add(box, PlaceIn(AboutWindow::kPlaces, id), std::nullopt);
        return box;
    };
    art_ = picture(kIdArt, L"Kestavel Shredder");
    webIcon_ = picture(kIdWebIcon, L"Site web");
    mailIcon_ = picture(kIdMailIcon, L"E-mail");

    // SS_NOTIFY: the links receive the mouse, report clicks and show their tooltips. Their fonts and the
    // product's are the dialog face's variants, made by place() at each scale.
    const DWORD link = SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
    webLink_ = child(panel, kIdWebLink, L"STATIC", SupportLinks::kSiteLabel, link);
    mailLink_ = child(panel, kIdMailLink, L"STATIC", L"Contacter le support", link);
    product_ = child(panel, kIdProduct, L"STATIC", L"Kestavel Shredder 3.20", SS_CENTER | SS_NOPREFIX);
    places_.add(product_, PlaceIn(AboutWindow::kPlaces, kIdProduct), std::nullopt);
    places_.add(webLink_, PlaceIn(AboutWindow::kPlaces, kIdWebLink), std::nullopt, RoomPlaces::Fit::Text);
    places_.add(mailLink_, PlaceIn(AboutWindow::kPlaces, kIdMailLink), std::nullopt, RoomPlaces::Fit::Text);
    places_.add(child(panel, kIdClose, L"BUTTON", L"Fermer cette fenêtre", WS_TABSTOP | BS_DEFPUSHBUTTON),
                PlaceIn(AboutWindow::kPlaces, kIdClose), FontRole::Dialog);

    HWND tips = PlainTip::Create(window_);
    PlainTip::AddTool(tips, webLink_, std::wstring(L"Se connecter au site web ") + SupportLinks::kSiteAddress);
    PlainTip::AddTool(tips, mailLink_, std::wstring(L"Envoyer un e-mail au support de ") + SupportLinks::kSiteLabel);
    buildStatusBar();
}

void AboutWindow::buildStatusBar() {
    statusBar_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdStatusBar)), app_.instance, nullptr);
}

void AboutWindow::place() {
    const win::Scale scale(dpi_);
    const HFONT dialog = app_.fonts.get(FontRole::Dialog, dpi_);
    LOGFONTW underlined = {};
    ::GetObjectW(dialog, sizeof(underlined), &underlined);
    underlined.lfUnderline = TRUE;
    win::UniqueFont linkFont(::CreateFontIndirectW(&underlined));
    LOGFONTW title = {};
    ::GetObjectW(dialog, sizeof(title), &title);
    title.lfHeight = title.lfHeight * 5 / 4;
    title.lfWeight = FW_BOLD;
    win::UniqueFont productFont(::CreateFontIndirectW(&title));
    ::SendMessageW(webLink_, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont.get()), FALSE);
    ::SendMessageW(mailLink_, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont.get()), FALSE);
    ::SendMessageW(product_, WM_SETFONT, reinterpret_cast<WPARAM>(productFont.get()), FALSE);
    // The controls have the new fonts: the old ones can go.
    linkFont_ = std::move(linkFont);
    productFont_ = std::move(productFont);

    places_.place(scale, app_.fonts);
    PictureBox::SetPicture(art_, app_.pictures.bitmap(IDR_ABOUT_ART, dpi_));
    PictureBox::SetPicture(webIcon_, app_.pictures.bitmap(IDR_ABOUT_WEB, dpi_));
    PictureBox::SetPicture(mailIcon_, app_.pictures.bitmap(IDR_ABOUT_MAIL, dpi_));

    if (statusBar_) {
        ::SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(dialog), FALSE);
        int parts[] = {scale(kStatusIconField), -1};
        ::SendMessageW(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
        // After the fields, which take their texts with them. A leading tab centres the text in its field.
        const std::wstring notice = std::wstring(L"\t") + SupportLinks::kNotice;
        ::SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(notice.c_str()));
        const int icon = win::MetricFor(SM_CXSMICON, dpi_);
        ::SendMessageW(statusBar_, SB_SETICON, 0, reinterpret_cast<LPARAM>(app_.pictures.icon(IDI_APP, icon)));
        // The bar takes its height from its font and its width from the window.
        ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
    }
    ::InvalidateRect(window_, nullptr, TRUE);
}

// The window has moved to a monitor of another scale (or was made on one): it takes the place Windows
// suggests, and its client area the table's size at that scale; every control follows.
void AboutWindow::onDpiChanged(UINT dpi, const RECT* suggested) {
    dpi_ = dpi ? dpi : win::kBaseDpi;
    FitClientArea(window_, win::Scale(dpi_)(SIZE{kClientWidth, kClientHeight}), suggested);
    place();
}

void AboutWindow::loop() {
    MSG message;
    while (!closeRequested_) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the quit request is for the main loop, after this window has closed.
            if (got == 0)
                ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!::IsDialogMessageW(window_, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    if (main_ && ::IsWindow(main_))
        ::ShowWindow(main_, SW_SHOW);
    ::DestroyWindow(window_);
}

void AboutWindow::openSite() {
    if (!OpenWithSystem(window_, SupportLinks::kSiteAddress))
        ::MessageBoxW(window_, L"Impossible de se connecter au site", L"Connexion...", MB_OK | MB_ICONWARNING);
}

void AboutWindow::writeToSupport() {
    const std::wstring link = SupportLinks::MailLink(SupportLinks::kSupportAddress, SupportLinks::kMailSubject);
    if (!OpenWithSystem(window_, link))
        ::MessageBoxW(window_, L"Impossible d'utiliser votre messagerie!", L"Messagerie...", MB_OK | MB_ICONWARNING);
}

LRESULT CALLBACK AboutWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = win::WindowObject<AboutWindow>(window, message, lParam);
    if (self && message == WM_NCCREATE)
        self->window_ = window;
    return self ? self->handle(message, wParam, lParam) : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT AboutWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // Static controls report a click as STN_CLICKED, buttons as BN_CLICKED: both are 0.
            if (HIWORD(wParam) != STN_CLICKED)
                break;
            switch (LOWORD(wParam)) {
                case kIdWebLink:
                    openSite();
                    break;
                case kIdMailLink:
                    writeToSupport();
                    break;
                case kIdClose:
                case IDCANCEL:
                    closeRequested_ = true;
                    break;
            }
            return 0;
        case WM_CTLCOLORSTATIC: {
            const auto control = reinterpret_cast<HWND>(lParam);
            if (control != webLink_ && control != mailLink_ && control != product_)
                break;
            auto dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, control == product_ ? kProductColor : kLinkColor);
            ::SetBkColor(dc, kWhite);
            return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
        }
        case WM_SETCURSOR: {
            const auto under = reinterpret_cast<HWND>(wParam);
            if (under == webLink_ || under == mailLink_) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        }
        case WM_CLOSE:
            closeRequested_ = true;
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_GETMINMAXINFO:
            AllowClientArea(window_, win::Scale(dpi_)(SIZE{kClientWidth, kClientHeight}),
                            reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}
