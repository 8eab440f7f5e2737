#pragma once

#include <windows.h>

#include <string>

struct App;

// The program's main window: 1014 x 718 client area, centred, fixed size. It is created invisible, filled,
// then shown, so that the user never sees it being built.
class MainWindow {
public:
    explicit MainWindow(App& app) : app_(app) {}
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    bool create();
    void show();
    HWND handle() const { return window_; }

    static constexpr int kClientWidth = 1014;
    static constexpr int kClientHeight = 718;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void buildHeader();

    App& app_;
    HWND window_ = nullptr;
    HWND header_ = nullptr;
};
