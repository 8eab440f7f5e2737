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

HWND Child(HWND parent,
           int id,
           const wchar_t* className,
           const wchar_t* text,
           DWORD style,
           int x,
           int y,
           int width,
           int height,
           HFONT font) {
    HWND control =
        ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

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
    const win::Placement place = win::CentredPlacement(kClientWidth, kClientHeight, kStyle);
    // Not owned by the main window: while that is hidden, this one keeps the program's taskbar button.
    if (!::CreateWindowExW(0, kClassName, kTitle, kStyle, place.x, place.y, place.width, place.height, nullptr, nullptr,
                           app_.instance, this))
        return false;
    if (main_)
        ::ShowWindow(main_, SW_HIDE);
    build();
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    return true;
}

void AboutWindow::build() {
    const auto font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW underlined = {};
    ::GetObjectW(font, sizeof(underlined), &underlined);
    underlined.lfUnderline = TRUE;
    linkFont_.reset(::CreateFontIndirectW(&underlined));
    LOGFONTW title = {};
    ::GetObjectW(font, sizeof(title), &title);
    title.lfHeight = title.lfHeight * 5 / 4;
    title.lfWeight = FW_BOLD;
    productFont_.reset(::CreateFontIndirectW(&title));

    HWND panel = Panel::Create(window_, kIdPanel, 0, 0, 500, 205, kWhite);
    ::SetWindowLongPtrW(panel, GWL_STYLE, ::GetWindowLongPtrW(panel, GWL_STYLE) | WS_BORDER);
    ::SetWindowPos(panel, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);

    auto picture = [&](int id, int resource, int x, int y, int width, int height, const wchar_t* text) {
        HWND box = PictureBox::Create(panel, x, y, width, height, app_.pictures.bitmap(resource), text);
        ::SetWindowLongPtrW(box, GWLP_ID, id);
    };
    picture(kIdArt, IDR_ABOUT_ART, 0, 0, 247, 197, L"Kestavel Shredder");
    picture(kIdWebIcon, IDR_ABOUT_WEB, 300, 20, 20, 20, L"Site web");
    picture(kIdMailIcon, IDR_ABOUT_MAIL, 300, 45, 20, 20, L"E-mail");

    // SS_NOTIFY: the links receive the mouse, report clicks and show their tooltips.
    const DWORD link = SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
    webLink_ = Child(panel, kIdWebLink, L"STATIC", SupportLinks::kSiteLabel, link, 325, 20, 80, 20, linkFont_.get());
    mailLink_ = Child(panel, kIdMailLink, L"STATIC", L"Contacter le support", link, 325, 45, 100, 20, linkFont_.get());
    product_ = Child(panel, kIdProduct, L"STATIC", L"Kestavel Shredder 3.20", SS_CENTER | SS_NOPREFIX, 270, 70, 220, 45,
                     productFont_.get());
    Child(panel, kIdClose, L"BUTTON", L"Fermer cette fenêtre", WS_TABSTOP | BS_DEFPUSHBUTTON, 330, 170, 160, 25, font);

    HWND tips = PlainTip::Create(window_);
    PlainTip::AddTool(tips, webLink_, std::wstring(L"Se connecter au site web ") + SupportLinks::kSiteAddress);
    PlainTip::AddTool(tips, mailLink_, std::wstring(L"Envoyer un e-mail au support de ") + SupportLinks::kSiteLabel);
    buildStatusBar();
}

void AboutWindow::buildStatusBar() {
    HWND bar = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdStatusBar)),
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (!bar)
        return;
    int parts[] = {20, -1};
    ::SendMessageW(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    ::SendMessageW(bar, SB_SETICON, 0, reinterpret_cast<LPARAM>(app_.pictures.smallIcon(IDI_APP)));
    // A leading tab centres the text in its field.
    const std::wstring notice = std::wstring(L"\t") + SupportLinks::kNotice;
    ::SendMessageW(bar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(notice.c_str()));
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
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}
