// controls_gallery.exe GROUP: builds the gallery window with every custom control, then runs one group of
// checks on them; exit code 0 when every check passes.
#include "tests/gallery/Gallery.h"

#include "app/Environment.h"
#include "app/main/MainWindowLayout.h"
#include "app/main/ShredViewLayout.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"KestavelControlsGallery";

LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            gallery::Shared().commands.push_back(wParam);
            return 0;
        case WM_CTLCOLORSTATIC: {
            // Captions of the gallery in the program's label colour; those inside the explorer bar's
            // containers in its own colours.
            static const win::UniqueBrush groupBody(::CreateSolidBrush(mainwin::layout::kColumnBody));
            auto dc = reinterpret_cast<HDC>(wParam);
            wchar_t parentClass[64] = {};
            ::GetClassNameW(::GetParent(reinterpret_cast<HWND>(lParam)), parentClass, 64);
            ::SetBkMode(dc, TRANSPARENT);
            if (std::wcscmp(parentClass, L"KestavelContainer") == 0) {
                ::SetTextColor(dc, mainwin::layout::kRepetitionsCaptionColor);
                return reinterpret_cast<LRESULT>(groupBody.get());
            }
            ::SetTextColor(dc, mainwin::layout::kCaptionColor);
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
    }
    if (gallery::HandleGalleryMessage(window, message, wParam, lParam))
        return TRUE;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

HWND CreateGalleryWindow(HINSTANCE instance) {
    WNDCLASSEXW type = {};
    type.cbSize = sizeof(type);
    type.lpfnWndProc = GalleryProc;
    type.hInstance = instance;
    type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    type.lpszClassName = kClassName;
    ::RegisterClassExW(&type);
    RECT frame = {0, 0, gallery::kGalleryWidth, gallery::kGalleryHeight};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    return ::CreateWindowExW(0, kClassName, L"Kestavel Shredder \u2014 contrôles", kStyle, 0, 0,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
}

}  // namespace

HWND gallery::CreateStage(int x, int y, int width, int height) {
    RECT frame = {0, 0, width, height};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    HWND stage = ::CreateWindowExW(0, kClassName, L"Essais", kStyle | WS_VISIBLE, x, y, frame.right - frame.left,
                                   frame.bottom - frame.top, nullptr, nullptr, Shared().instance, nullptr);
    ::UpdateWindow(stage);
    Pump();
    return stage;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: controls_gallery GROUP\ngroups:\n");
        for (const auto& group : gallery::Groups())
            std::fprintf(stderr, "  %s\n", group.name);
        return 2;
    }
    const gallery::Group* chosen = nullptr;
    for (const auto& group : gallery::Groups()) {
        if (std::strcmp(group.name, argv[1]) == 0)
            chosen = &group;
    }
    if (!chosen) {
        std::fprintf(stderr, "unknown group %s\n", argv[1]);
        return 2;
    }

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    auto& shared = gallery::Shared();
    shared.instance = ::GetModuleHandleW(nullptr);
    int missing = 0;
    if (!shared.pictures.load(shared.instance, &missing)) {
        std::printf("FAILED %s: picture %d cannot be decoded\n", chosen->name, missing);
        return 1;
    }
    LoadThemeApi(shared.theme, OsLevel());
    shared.fonts.create();
    // The pointer stays away from the controls unless a check puts it somewhere.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    shared.window = CreateGalleryWindow(shared.instance);
    gallery::BuildShowcase(shared);
    ::ShowWindow(shared.window, SW_SHOWNORMAL);
    ::UpdateWindow(shared.window);
    gallery::Pump();

    chosen->run();
    const int failures = gallery::FailureCount();
    if (failures == 0) {
        std::printf("PASSED %s\n", chosen->name);
        return 0;
    }
    std::printf("FAILED %s: %d check(s)\n", chosen->name, failures);
    return 1;
}
