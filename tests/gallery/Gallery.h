#pragma once

// The controls gallery: one window that hosts every custom control, and groups of in-process checks on
// them. A group is run by name (controls_gallery.exe GROUP); its failed checks are printed and make the
// exit code 1.

#include "app/Fonts.h"
#include "app/Pictures.h"
#include "controls/Theme.h"
#include "win/Handle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace gallery {

// What the gallery shares with its groups.
struct Resources {
    HINSTANCE instance = nullptr;
    Pictures pictures;
    Fonts fonts;
    ThemeApi theme;                // the real theme functions (inactive under Wine's default settings)
    ThemeApi noTheme;              // no functions at all: classic faces
    HWND window = nullptr;         // the gallery window, showing every control
    HWND explorerBar = nullptr;    // the gallery's explorer bar, built like the main window's
    std::vector<WPARAM> commands;  // WM_COMMAND wParams the gallery window received, oldest first
    // The button pictures: 24 pixels for the run buttons, 16 for the buttons under the list.
    win::UniqueIcon destroyIcon, pauseIcon, resumeIcon, stopIcon, removeSelectedIcon, removeAllIcon, journalIcon;
};
Resources& Shared();

// Output and checks. A failed check is printed at once and counted; the group goes on.
void Log(const std::wstring& line);
void Check(bool condition, const std::wstring& what);
int FailureCount();

// Delivers every pending message, paints included.
void Pump();
// Delivers messages until the condition holds or a generous bound passes; false in the second case. For
// what Windows does on its own timers (a tooltip showing after its delay), never to measure time.
bool PumpUntil(bool (*condition)(const void*), const void* context, DWORD boundMs = 10000);
template <typename Condition>
bool PumpUntil(Condition condition, DWORD boundMs = 10000) {
    return PumpUntil([](const void* c) { return (*static_cast<const Condition*>(c))(); }, &condition, boundMs);
}

// A picture of a window's client area, read back pixel by pixel.
class Capture {
public:
    Capture() = default;
    Capture(int width, int height) : width_(width), height_(height), pixels_(width * height) {}
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF at(int x, int y) const;
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Smallest rectangle holding every pixel that differs from the colour, within an area.
    RECT boundsNot(COLORREF background, RECT area) const;
    RECT boundsNot(COLORREF background) const { return boundsNot(background, {0, 0, width_, height_}); }
    // True when the test holds for every pixel of the area / for at least one.
    template <typename Test>
    bool all(RECT area, Test test) const {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (!test(at(x, y)))
                    return false;
        return true;
    }
    template <typename Test>
    bool any(RECT area, Test test) const {
        return !all(area, [&](COLORREF color) { return !test(color); });
    }
    RECT whole() const { return {0, 0, width_, height_}; }

    std::vector<DWORD>& raw() { return pixels_; }
    const std::vector<DWORD>& raw() const { return pixels_; }

private:
    int width_ = 0, height_ = 0;
    std::vector<DWORD> pixels_;  // 0x00RRGGBB, top-down
};

// The control's own drawing, asked for with WM_PRINTCLIENT into a memory picture.
Capture PrintClient(HWND window);
// What the screen shows of the window's client area.
Capture FromScreen(HWND window);

// True when the colour lies on the straight line between a and b, within a few units: a pixel of text
// drawn in b over a, anti-aliased or not.
bool Between(COLORREF color, COLORREF a, COLORREF b);
std::wstring ColorText(COLORREF color);

// Saves the whole screen, or a window's area on it, as C:\screenshots\NAME.bmp (the runner converts it
// into build/screenshots/NAME.png).
void Screenshot(const std::wstring& name, HWND window = nullptr);
// Saves a part of a window's client area.
void Screenshot(const std::wstring& name, HWND window, RECT clientArea);

// Test groups, registered by name.
using GroupFn = void (*)();
struct Group {
    const char* name;
    GroupFn run;
};
std::vector<Group>& Groups();
struct Register {
    Register(const char* name, GroupFn run) { Groups().push_back({name, run}); }
};

// The gallery window with every control, as the user sees it.
inline constexpr int kGalleryWidth = 1040;
inline constexpr int kGalleryHeight = 720;
void BuildShowcase(Resources& resources);
// Messages of the gallery window that the controls need answered (owner drawing); true when handled.
bool HandleGalleryMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Another top-level window of the gallery's class, for checks that need controls of their own at a known
// place on the screen; it records WM_COMMAND like the gallery window.
HWND CreateStage(int x, int y, int width, int height);

// A static caption in the gallery window.
HWND Caption(HWND parent, int x, int y, int width, int height, const wchar_t* text);

}  // namespace gallery

#define GALLERY_CONCAT2(a, b) a##b
#define GALLERY_CONCAT(a, b) GALLERY_CONCAT2(a, b)
#define GALLERY_GROUP(name)                                                                                 \
    static void GALLERY_CONCAT(group_, __LINE__)();                                                         \
    static gallery::Register GALLERY_CONCAT(registered_, __LINE__)(name, GALLERY_CONCAT(group_, __LINE__)); \
    static void GALLERY_CONCAT(group_, __LINE__)()
