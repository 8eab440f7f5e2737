#pragma once

#include "win/Handle.h"

#include <uxtheme.h>

// The visual-style functions, looked up at run time so that the program also starts where the theme
// library is missing. Every pointer may be null.
struct ThemeApi {
    using IsThemeActiveFn = BOOL(WINAPI*)();
    using OpenThemeDataFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
    using IsThemeBackgroundPartiallyTransparentFn = BOOL(WINAPI*)(HTHEME, int, int);
    using DrawThemeParentBackgroundFn = HRESULT(WINAPI*)(HWND, HDC, const RECT*);
    using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    using CloseThemeDataFn = HRESULT(WINAPI*)(HTHEME);

    IsThemeActiveFn isThemeActive = nullptr;
    OpenThemeDataFn openThemeData = nullptr;
    IsThemeBackgroundPartiallyTransparentFn isThemeBackgroundPartiallyTransparent = nullptr;
    DrawThemeParentBackgroundFn drawThemeParentBackground = nullptr;
    DrawThemeBackgroundFn drawThemeBackground = nullptr;
    CloseThemeDataFn closeThemeData = nullptr;
    int themesActive = 0;  // IsThemeActive's answer at start-up, 0 without the library

    // Re-asks IsThemeActive, e.g. after WM_THEMECHANGED.
    void refreshActive() { themesActive = isThemeActive ? (isThemeActive() ? 1 : 0) : 0; }

    win::UniqueModule library;
};

// Loads the functions on Windows XP and later when the executable carries its manifest.
void LoadThemeApi(ThemeApi& api, int osLevel);
