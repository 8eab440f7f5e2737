#include "app/MainWindow.h"

#include "app/App.h"
#include "app/Environment.h"
#include "app/Greeting.h"
#include "app/PictureBox.h"

namespace {

constexpr wchar_t kClassName[] = L"KestavelShredderMain";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

}  // namespace

bool MainWindow::create() {
    WNDCLASSEXW type = {};
    type.cbSize = sizeof(type);
    type.lpfnWndProc = Proc;
    type.hInstance = app_.instance;
    type.hIcon = app_.pictures.icon(IDI_APP);
    type.hIconSm = app_.pictures.smallIcon(IDI_APP);
    type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    type.lpszClassName = kClassName;
    if (!::RegisterClassExW(&type))
        return false;

    RECT frame = {0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    window_ = ::CreateWindowExW(0, kClassName, kProgramTitle, kStyle, x, y, width, height, nullptr, nullptr,
                                app_.instance, this);
    if (!window_)
        return false;
    buildHeader();
    return true;
}

void MainWindow::show() {
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
}

void MainWindow::buildHeader() {
    HBITMAP header = app_.pictures.bitmap(IDR_HEADER);
    const std::wstring first = GreetingFirstLine(LastFolderName(ProfileFolderPath() + L"\\"), IsAdministrator() == 1);
    const std::wstring second = GreetingSecondLine(FrenchDateLine());
    const std::wstring text = DrawGreeting(app_, header, first, second) ? first + L"\r\n" + second : std::wstring();
    header_ = PictureBox::Create(window_, 0, 0, 834, 60, header, text.c_str());
    ::SetWindowLongPtrW(header_, GWLP_ID, 1001);
    HWND corner = PictureBox::Create(window_, 834, 0, 180, 60, app_.pictures.bitmap(IDR_CORNER));
    ::SetWindowLongPtrW(corner, GWLP_ID, 1002);
}

LRESULT CALLBACK MainWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_THEMECHANGED:
            app_.theme.refreshActive();
            break;
        case WM_CLOSE:
            ::DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}
