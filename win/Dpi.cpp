#include "win/Dpi.h"

namespace win {
namespace {

// The functions of later systems, looked up at run time so that the program still starts on XP.
template <typename Function>
Function Lookup(const wchar_t* module, const char* name) {
    HMODULE handle = ::GetModuleHandleW(module);
    return handle ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(handle, name))) : nullptr;
}

}  // namespace

void DeclareDpiAwareness() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, then _PER_MONITOR_AWARE (v1).
    if (auto set = Lookup<SetContext>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
        if (set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))) ||
            set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3))))
            return;
    }
    using SetAwareness = HRESULT(WINAPI*)(int);
    if (HMODULE shcore = ::LoadLibraryW(L"shcore.dll")) {
        auto set =
            reinterpret_cast<SetAwareness>(reinterpret_cast<void*>(::GetProcAddress(shcore, "SetProcessDpiAwareness")));
        const bool done = set && set(2 /* PROCESS_PER_MONITOR_DPI_AWARE */) == S_OK;
        ::FreeLibrary(shcore);
        if (done)
            return;
    }
    using SetAware = BOOL(WINAPI*)();
    if (auto set = Lookup<SetAware>(L"user32.dll", "SetProcessDPIAware"))
        set();
}

UINT SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT DpiOf(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = Lookup<ForWindow>(L"user32.dll", "GetDpiForWindow");
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window))
            return dpi;
    }
    return SystemDpi();
}

int MetricFor(int index, UINT dpi) {
    using ForDpi = int(WINAPI*)(int, UINT);
    static const auto forDpi = Lookup<ForDpi>(L"user32.dll", "GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, dpi);
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

LOGFONTW IconTitleFont(UINT dpi) {
    LOGFONTW font = {};
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto forDpi = Lookup<ForDpi>(L"user32.dll", "SystemParametersInfoForDpi");
    if (forDpi && forDpi(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0, dpi))
        return font;
    ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0);
    font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    return font;
}

RECT FrameFor(RECT client, DWORD style, DWORD exStyle, UINT dpi) {
    using ForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi = Lookup<ForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&client, style, FALSE, exStyle, dpi))
        ::AdjustWindowRectEx(&client, style, FALSE, exStyle);
    return client;
}

}  // namespace win
