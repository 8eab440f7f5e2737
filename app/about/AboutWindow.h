#pragma once

#include "win/Handle.h"

#include <windows.h>

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

    static void run(const App& app, HWND mainWindow);

private:
    AboutWindow(const App& app, HWND mainWindow) : app_(app), main_(mainWindow) {}
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    bool create();
    void build();
    void buildStatusBar();
    void loop();
    void openSite();
    void writeToSupport();

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    const App& app_;
    HWND main_;
    HWND window_ = nullptr;
    HWND webLink_ = nullptr;
    HWND mailLink_ = nullptr;
    HWND product_ = nullptr;
    bool closeRequested_ = false;
    win::UniqueFont linkFont_;
    win::UniqueFont productFont_;
};
