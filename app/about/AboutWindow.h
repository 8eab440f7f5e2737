#pragma once

#include "app/RoomPlaces.h"
#include "win/Handle.h"

#include <windows.h>

#include <array>

struct App;

// The About window: the product's name and version, the artwork, a link to the product's site and one
// that starts a mail to the support. While it is open the main window is hidden, so that it is the
// program's only window on screen; it runs its own message loop on the caller's thread and shows the
// main window again when it closes.
class AboutWindow {
public:
    // Control numbers, by which the test driver finds the controls.
    enum ControlId : int {
        kIdPanel = 201,
        kIdArt = 202,
        kIdWebIcon = 203,
        kIdWebLink = 204,
        kIdMailIcon = 205,
        kIdMailLink = 206,
        kIdProduct = 207,
        kIdClose = 208,
        kIdStatusBar = 209,
    };
    static constexpr wchar_t kTitle[] = L"À propos de Kestavel Shredder 3.20";
    static constexpr int kClientWidth = 500;
    static constexpr int kClientHeight = 225;
    // Where the controls stand at 96 DPI: the panel in the client area (the status bar under it), the rest
    // in the panel.
    struct Place {
        ControlId id;
        RECT place;
    };
    static constexpr std::array<Place, 8> kPlaces = {{
        {kIdPanel, {0, 0, 500, 205}},
        {kIdArt, {0, 0, 247, 197}},
        {kIdWebIcon, {300, 20, 320, 40}},
        {kIdMailIcon, {300, 45, 320, 65}},
        {kIdWebLink, {325, 20, 405, 40}},
        {kIdMailLink, {325, 45, 425, 65}},
        {kIdProduct, {270, 70, 490, 115}},
        {kIdClose, {330, 170, 490, 195}},
    }};
    static constexpr int kStatusIconField = 20;  // the status bar's first field, which shows the icon

    static void run(const App& app, HWND mainWindow);

private:
    AboutWindow(const App& app, HWND mainWindow) : app_(app), main_(mainWindow) {}
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    bool create();
    void build();
    void buildStatusBar();
    // Places every control at the window's DPI, with that DPI's fonts and pictures.
    void place();
    void onDpiChanged(UINT dpi, const RECT* suggested);
    HWND child(HWND parent, ControlId id, const wchar_t* className, const wchar_t* text, DWORD style);
    void loop();
    void openSite();
    void writeToSupport();

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    const App& app_;
    HWND main_;
    HWND window_ = nullptr;
    UINT dpi_ = win::kBaseDpi;
    RoomPlaces places_;
    HWND art_ = nullptr;
    HWND webIcon_ = nullptr;
    HWND mailIcon_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND webLink_ = nullptr;
    HWND mailLink_ = nullptr;
    HWND product_ = nullptr;
    bool closeRequested_ = false;
    win::UniqueFont linkFont_;
    win::UniqueFont productFont_;
};
