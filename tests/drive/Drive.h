#pragma once

// A small library for driving the real KestavelShredder.exe from a second process, the way a user would:
// start it, find its windows and controls, click, read texts, lists and progress bars, answer message
// boxes, take screenshots and check the exit code. Scenarios read as the user's steps; a failed check
// throws drive::Failure, which ends the scenario with a message and exit code 1.

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace drive {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The event that releases the driver when it stands in for the program's command interpreter.
inline constexpr wchar_t kHeldCommandEvent[] = L"KestavelDriveHeldCommand";

// Console output in UTF-8, and the failure helpers.
void Log(const std::wstring& line);
[[noreturn]] void Fail(const std::wstring& what);
void Expect(bool condition, const std::wstring& what);
void ExpectEqual(const std::wstring& actual, const std::wstring& expected, const std::wstring& what);
void ExpectEqual(long long actual, long long expected, const std::wstring& what);

// Polls until the predicate holds; false after the timeout.
bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs = 10000, DWORD stepMs = 50);
void Sleep(DWORD ms);

// The program under test, started from the folder the driver runs in.
class Program {
public:
    static Program Start(const std::wstring& exe = L"KestavelShredder.exe");
    // With arguments after the quoted path, and a working folder (empty: the driver's own).
    static Program Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder = L"");
    // A process started by someone else (the shell, an installer), found by its id.
    static Program Attach(DWORD processId);
    Program(Program&&) noexcept;
    Program& operator=(Program&&) = delete;
    ~Program();

    DWORD processId() const { return processId_; }
    bool running() const;
    // Waits for the process to end and returns its exit code; fails on timeout.
    DWORD waitForExit(DWORD timeoutMs = 15000);
    // Top-level visible window of this process with the given title; fails on timeout.
    HWND waitForWindow(const std::wstring& title, DWORD timeoutMs = 15000) const;
    void kill();

private:
    Program() = default;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Top-level windows of a process whose title matches exactly (visible or not).
std::vector<HWND> TopLevelWindows(DWORD processId, const std::wstring& title);
// A visible top-level window of the process with this class, within the time; null otherwise.
HWND FindProcessWindow(DWORD processId, const std::wstring& className, DWORD timeoutMs);
// A visible top-level window with this title, whichever process shows it; null otherwise.
HWND FindWindowTitled(const std::wstring& title, DWORD timeoutMs);

// Child windows, searched through the whole tree.
HWND FindChildById(HWND parent, int id);
HWND FindChild(HWND parent, const std::wstring& className, const std::wstring& text);
std::vector<HWND> Children(HWND parent, const std::wstring& className = L"");

std::wstring Text(HWND window);
std::wstring ClassName(HWND window);
SIZE ClientSize(HWND window);
RECT ClientRectOnScreen(HWND window);

// Posted, never sent, so that a modal box the click opens cannot block the driver.
void Click(HWND button);
void Close(HWND window);

// A message box (dialog class #32770) owned by the process.
struct MessageBoxInfo {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text;
};
MessageBoxInfo WaitForMessageBox(DWORD processId, DWORD timeoutMs = 10000);
// A dialog box of the process shown within the time, or null: for steps that must not ask anything.
HWND FindMessageBox(DWORD processId, DWORD timeoutMs);
void Answer(const MessageBoxInfo& box, int buttonId);  // IDOK, IDYES, IDNO...

// Real mouse input, as the user's hand: the pointer moves to the screen point and the button clicks there.
void MouseClick(POINT screen, bool right = false);
// A real key press, to whatever has the keyboard (the foreground window, an open menu).
void KeyPress(WORD virtualKey);
// The same with a modifier held down (VK_CONTROL, VK_SHIFT).
void KeyPress(WORD modifier, WORD virtualKey);
// The control that has the keyboard focus in the thread that owns the window, or null.
HWND FocusedControl(HWND window);
// Files dropped on a window as Explorer drops them: a WM_DROPFILES whose DROPFILES block, with the paths,
// is built in the program's memory. Sent, not posted: the block stays until the window has read it.
void DropFiles(HWND target, const std::vector<std::wstring>& paths);
// What Windows sends a top-level window that crosses to a monitor of another scale: WM_DPICHANGED with the
// new DPI and the suggested window rectangle, the rectangle in the program's memory. Sent, and waited for.
void SendDpiChanged(HWND window, UINT dpi, const RECT& suggested);

// An open popup menu of the process (class #32768) and its items' texts, in order; separators read "-".
HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs = 5000);
// The same without failing: null when no menu opened in time.
HWND FindPopupMenu(DWORD processId, DWORD timeoutMs);
// A right click at the screen point that should open one of the process's popup menus. Under Wine on a
// loaded machine a menu sometimes closes as it opens (the X focus events of the click arrive late and take
// the owner out of the foreground), so the hand clicks again, up to four times, before failing.
HWND RightClickForMenu(POINT screen, DWORD processId);
// A left click at the screen point, repeated (up to four times) until what it should bring about holds: a
// click can be lost the same way on a loaded machine. False when it never held.
bool ClickUntil(POINT screen, const std::function<bool()>& done);
std::vector<std::wstring> PopupMenuTexts(HWND menuWindow);
std::vector<bool> PopupMenuEnabled(HWND menuWindow);

// Tree views read across processes: the item with this text under parent (null: the top level), and an
// item's rectangle on screen.
HTREEITEM TreeChild(HWND tree, HTREEITEM parent, const std::wstring& text);
// The texts of the items under parent as the tree shows them now (nothing is expanded for it).
std::vector<std::wstring> TreeChildTexts(HWND tree, HTREEITEM parent);
RECT TreeItemRectOnScreen(HWND tree, HTREEITEM item);

// Tab controls read across processes: the text of a tab and its rectangle on screen.
std::wstring TabText(HWND tabs, int index);
RECT TabItemRectOnScreen(HWND tabs, int index);

// Controls read across processes.
int ListCount(HWND list);
// Selects one row of a list view (and only that row), as a click on it would.
void ListSelectOnly(HWND list, int item);
std::wstring ListItemText(HWND list, int item, int column = 0);
int ProgressPosition(HWND bar);
// The image index of a list view row (read across processes).
int ListItemImage(HWND list, int item);
// How many pixels of the screen rectangle satisfy the test (colours as COLORREF), for pictures that the
// program draws and the driver cannot read otherwise.
int CountScreenPixels(const RECT& screen, const std::function<bool(COLORREF)>& test);
// Whether the screen at `at` shows the program's picture `id` (the first cell of a strip, as at 96 DPI) blended
// over `back`: nine pixels in ten within a few steps of the blend. The pictures are read from the program's
// own executable.
bool ScreenShowsPicture(POINT at, int id, COLORREF back);

// Saves the whole screen as C:\screenshots\<name>.bmp; the test runner turns it into a PNG in the build tree.
void Screenshot(const std::wstring& name);
// Only this rectangle of the screen.
void Screenshot(const std::wstring& name, const RECT& part);

// A folder of the sandbox's user as the Explorer "Shell Folders" key names it ("Local AppData"...), read
// straight from the registry rather than through the program's own lookup; empty when it is not named.
std::wstring RegisteredFolder(const wchar_t* name);
// The program's working folder "<Local AppData>\Kestavel\", or one of its subfolders, with a trailing
// backslash. Nothing is created.
std::wstring KestavelFolder(const std::wstring& sub = L"");

// Seconds since a point in time, for the benchmark scenarios' figures.
using Clock = std::chrono::steady_clock;
inline double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Scenario registry.
using ScenarioFn = void (*)();
struct Scenario {
    const char* name;
    ScenarioFn run;
};
std::vector<Scenario>& Scenarios();
struct Register {
    Register(const char* name, ScenarioFn run) { Scenarios().push_back({name, run}); }
};

}  // namespace drive

#define DRIVE_CONCAT2(a, b) a##b
#define DRIVE_CONCAT(a, b) DRIVE_CONCAT2(a, b)
#define SCENARIO(name)                                                                                   \
    static void DRIVE_CONCAT(scenario_, __LINE__)();                                                     \
    static drive::Register DRIVE_CONCAT(registered_, __LINE__)(name, DRIVE_CONCAT(scenario_, __LINE__)); \
    static void DRIVE_CONCAT(scenario_, __LINE__)()
