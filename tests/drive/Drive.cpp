#include "tests/drive/Drive.h"

#include "app/Pictures.h"
#include "win/Handle.h"
#include "win/Strings.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>

namespace drive {

void Log(const std::wstring& line) {
    std::string bytes = win::ToUtf8(line);
    std::fprintf(stdout, "%s\n", bytes.c_str());
    std::fflush(stdout);
}

void Fail(const std::wstring& what) {
    throw Failure(win::ToUtf8(what));
}

void Expect(bool condition, const std::wstring& what) {
    if (!condition)
        Fail(L"expected: " + what);
}

void ExpectEqual(const std::wstring& actual, const std::wstring& expected, const std::wstring& what) {
    if (actual != expected)
        Fail(what + L"\n  expected: \"" + expected + L"\"\n  actual:   \"" + actual + L"\"");
}

void ExpectEqual(long long actual, long long expected, const std::wstring& what) {
    if (actual != expected)
        Fail(what + L": expected " + std::to_wstring(expected) + L", got " + std::to_wstring(actual));
}

bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs, DWORD stepMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (predicate())
            return true;
        if (::GetTickCount64() >= deadline)
            return false;
        ::Sleep(stepMs);
    }
}

void Sleep(DWORD ms) {
    ::Sleep(ms);
}

Program Program::Start(const std::wstring& exe) {
    return Start(exe, L"");
}

Program Program::Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        Fail(L"cannot start " + exe + L": " + win::SystemErrorText(::GetLastError()));
    ::CloseHandle(info.hThread);
    Program program;
    program.process_ = info.hProcess;
    program.processId_ = info.dwProcessId;
    Log(L"started " + exe + L" (process " + std::to_wstring(info.dwProcessId) + L")");
    return program;
}

Program Program::Attach(DWORD processId) {
    Program program;
    program.process_ = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
    if (!program.process_)
        Fail(L"cannot open process " + std::to_wstring(processId) + L": " + win::SystemErrorText(::GetLastError()));
    program.processId_ = processId;
    return program;
}

Program::Program(Program&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), processId_(other.processId_) {}

Program::~Program() {
    if (process_) {
        // A scenario that failed half-way leaves nothing running behind it.
        if (running())
            ::TerminateProcess(process_, 99);
        ::CloseHandle(process_);
    }
}

bool Program::running() const {
    return ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD Program::waitForExit(DWORD timeoutMs) {
    if (::WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        Fail(L"the program did not end within " + std::to_wstring(timeoutMs) + L" ms");
    DWORD code = 0;
    ::GetExitCodeProcess(process_, &code);
    return code;
}

HWND Program::waitForWindow(const std::wstring& title, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId_, title)) {
                if (::IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    if (!found)
        Fail(L"no visible window \"" + title + L"\" within " + std::to_wstring(timeoutMs) + L" ms");
    return found;
}

void Program::kill() {
    ::TerminateProcess(process_, 98);
    ::WaitForSingleObject(process_, 5000);
}

namespace {

// EnumWindows and EnumChildWindows want stdcall callbacks, which lambdas are not: collect every window,
// then filter.
BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> AllTopLevelWindows() {
    std::vector<HWND> windows;
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

DWORD OwnerProcess(HWND window) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    return owner;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const std::wstring& title) {
    std::vector<HWND> found;
    for (HWND window : AllTopLevelWindows()) {
        if (OwnerProcess(window) == processId && Text(window) == title)
            found.push_back(window);
    }
    return found;
}

std::vector<HWND> Children(HWND parent, const std::wstring& className) {
    std::vector<HWND> all;
    ::EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> found;
    for (HWND window : all) {
        if (className.empty() || _wcsicmp(ClassName(window).c_str(), className.c_str()) == 0)
            found.push_back(window);
    }
    return found;
}

HWND FindChildById(HWND parent, int id) {
    for (HWND child : Children(parent)) {
        if (::GetDlgCtrlID(child) == id)
            return child;
    }
    Fail(L"no control with id " + std::to_wstring(id));
}

HWND FindChild(HWND parent, const std::wstring& className, const std::wstring& text) {
    for (HWND child : Children(parent, className)) {
        if (Text(child) == text)
            return child;
    }
    Fail(L"no " + className + L" control \"" + text + L"\"");
}

std::wstring Text(HWND window) {
    // WM_GETTEXT answers across processes, where GetWindowText only reads the caption of other processes.
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          5000, &copied);
    text.resize(copied);
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

SIZE ClientSize(HWND window) {
    RECT client = {};
    ::GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

RECT ClientRectOnScreen(HWND window) {
    RECT client = {};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

void Click(HWND button) {
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

void Close(HWND window) {
    ::PostMessageW(window, WM_CLOSE, 0, 0);
}

namespace {

// A visible top-level window of the process with this class, within the time; null otherwise.
HWND FindVisibleWindowOfClass(DWORD processId, const wchar_t* className, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : AllTopLevelWindows()) {
                if (OwnerProcess(window) == processId && ClassName(window) == className && ::IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const std::wstring& className, DWORD timeoutMs) {
    return FindVisibleWindowOfClass(processId, className.c_str(), timeoutMs);
}

HWND FindWindowTitled(const std::wstring& title, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : AllTopLevelWindows()) {
                if (::IsWindowVisible(window) && Text(window) == title) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

HWND FindMessageBox(DWORD processId, DWORD timeoutMs) {
    return FindVisibleWindowOfClass(processId, L"#32770", timeoutMs);
}

MessageBoxInfo WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    MessageBoxInfo box;
    box.window = FindMessageBox(processId, timeoutMs);
    if (!box.window)
        Fail(L"no message box within " + std::to_wstring(timeoutMs) + L" ms");
    box.title = Text(box.window);
    if (HWND text = ::GetDlgItem(box.window, 0xFFFF))
        box.text = Text(text);
    Log(L"message box \"" + box.title + L"\": " + box.text);
    return box;
}

void Answer(const MessageBoxInfo& box, int buttonId) {
    HWND button = ::GetDlgItem(box.window, buttonId);
    Expect(button != nullptr, L"the message box has button " + std::to_wstring(buttonId));
    Click(button);
    WaitUntil([&] { return !::IsWindow(box.window); }, 5000);
}

namespace {

// Memory in another process, for the list view messages that take a pointer.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) : size_(size) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        process_.reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
        if (!process_)
            Fail(L"cannot open the program's process");
        address_ = ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        if (!address_)
            Fail(L"cannot allocate memory in the program's process");
    }
    ~RemoteBuffer() { ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* address() const { return address_; }
    void write(const void* data, size_t size, size_t offset = 0) {
        ::WriteProcessMemory(process_.get(), static_cast<char*>(address_) + offset, data, size, nullptr);
    }
    void read(void* data, size_t size, size_t offset = 0) const {
        ::ReadProcessMemory(process_.get(), static_cast<const char*>(address_) + offset, data, size, nullptr);
    }

private:
    win::UniqueHandle process_;
    void* address_ = nullptr;
    size_t size_;
};

}  // namespace

void MouseClick(POINT screen, bool right) {
    ::SetCursorPos(screen.x, screen.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    ::SendInput(2, input, sizeof(INPUT));
}

void KeyPress(WORD virtualKey) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = virtualKey;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
    ::Sleep(50);
}

void KeyPress(WORD modifier, WORD virtualKey) {
    INPUT input[4] = {};
    for (INPUT& key : input)
        key.type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[3].ki.wVk = modifier;
    input[1].ki.wVk = input[2].ki.wVk = virtualKey;
    input[2].ki.dwFlags = input[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(4, input, sizeof(INPUT));
    ::Sleep(50);
}

HWND FocusedControl(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

void DropFiles(HWND target, const std::vector<std::wstring>& paths) {
    // DROPFILES, then each path ended by a zero, then one more zero.
    std::vector<wchar_t> names;
    for (const std::wstring& path : paths)
        names.insert(names.end(), path.c_str(), path.c_str() + path.size() + 1);
    names.push_back(L'\0');
    DROPFILES header = {};
    header.pFiles = sizeof(header);
    header.pt = {20, 40};
    header.fWide = TRUE;
    RemoteBuffer remote(target, sizeof(header) + names.size() * sizeof(wchar_t));
    remote.write(&header, sizeof(header));
    remote.write(names.data(), names.size() * sizeof(wchar_t), sizeof(header));
    DWORD_PTR ignored = 0;
    if (!::SendMessageTimeoutW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote.address()), 0, SMTO_NORMAL, 30000,
                               &ignored))
        Fail(L"the window did not take the dropped files");
}

void SendDpiChanged(HWND window, UINT dpi, const RECT& suggested) {
    RemoteBuffer remote(window, sizeof(suggested));
    remote.write(&suggested, sizeof(suggested));
    DWORD_PTR ignored = 0;
    if (!::SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote.address()),
                               SMTO_NORMAL, 30000, &ignored))
        Fail(L"the window did not take the change of scale");
}

HWND FindPopupMenu(DWORD processId, DWORD timeoutMs) {
    return FindVisibleWindowOfClass(processId, L"#32768", timeoutMs);
}

HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs) {
    HWND found = FindPopupMenu(processId, timeoutMs);
    if (!found)
        Fail(L"no popup menu within " + std::to_wstring(timeoutMs) + L" ms");
    return found;
}

HWND RightClickForMenu(POINT screen, DWORD processId) {
    for (int attempt = 1; attempt <= 4; ++attempt) {
        if (attempt > 1) {
            std::fwprintf(stderr, L"no popup menu after right click %d, clicking again\n", attempt - 1);
            ::SetCursorPos(screen.x + 1, screen.y);  // the pointer moves over the target again
            Sleep(800);
        }
        MouseClick(screen, true);
        if (HWND menu = FindPopupMenu(processId, 3000))
            return menu;
    }
    Fail(L"no popup menu after four right clicks");
    return nullptr;
}

bool ClickUntil(POINT screen, const std::function<bool()>& done) {
    for (int attempt = 1; attempt <= 4; ++attempt) {
        if (attempt > 1) {
            std::fwprintf(stderr, L"nothing came of click %d, clicking again\n", attempt - 1);
            ::SetCursorPos(screen.x + 1, screen.y);
            Sleep(800);
        }
        MouseClick(screen);
        if (WaitUntil(done, 3000))
            return true;
    }
    return false;
}

std::vector<std::wstring> PopupMenuTexts(HWND menuWindow) {
    auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
    std::vector<std::wstring> texts;
    for (int i = 0, n = ::GetMenuItemCount(menu); i < n; ++i) {
        wchar_t text[256] = {};
        if (::GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION) == 0 &&
            (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR))
            texts.push_back(L"-");
        else
            texts.push_back(text);
    }
    return texts;
}

std::vector<bool> PopupMenuEnabled(HWND menuWindow) {
    auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
    std::vector<bool> enabled;
    for (int i = 0, n = ::GetMenuItemCount(menu); i < n; ++i)
        enabled.push_back(!(::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)));
    return enabled;
}

namespace {

// The items right under parent (null: the top level), with their texts, as the tree holds them now.
std::vector<std::pair<HTREEITEM, std::wstring>> TreeItems(HWND tree, HTREEITEM parent) {
    std::vector<std::pair<HTREEITEM, std::wstring>> items;
    constexpr int kChars = 512;
    RemoteBuffer remote(tree, sizeof(TVITEMW) + kChars * sizeof(wchar_t));
    auto item = reinterpret_cast<HTREEITEM>(
        ::SendMessageW(tree, TVM_GETNEXTITEM, parent ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(parent)));
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        TVITEMW request = {};
        request.mask = TVIF_TEXT;
        request.hItem = item;
        request.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.address()) + sizeof(TVITEMW));
        request.cchTextMax = kChars;
        remote.write(&request, sizeof(request));
        ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.address()));
        wchar_t name[kChars] = {};
        remote.read(name, sizeof(name) - sizeof(wchar_t), sizeof(TVITEMW));
        items.emplace_back(item, name);
    }
    return items;
}

}  // namespace

HTREEITEM TreeChild(HWND tree, HTREEITEM parent, const std::wstring& text) {
    if (parent)
        ::SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    // A folder opens once the program has read it, off its window thread.
    HTREEITEM found = nullptr;
    WaitUntil([&] {
        for (const auto& [item, name] : TreeItems(tree, parent)) {
            if (name == text)
                found = item;
        }
        return found != nullptr;
    });
    if (!found)
        Fail(L"no tree item \"" + text + L"\"");
    return found;
}

std::vector<std::wstring> TreeChildTexts(HWND tree, HTREEITEM parent) {
    std::vector<std::wstring> texts;
    for (const auto& item : TreeItems(tree, parent))
        texts.push_back(item.second);
    return texts;
}

RECT TreeItemRectOnScreen(HWND tree, HTREEITEM item) {
    ::SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RemoteBuffer remote(tree, sizeof(RECT));
    remote.write(&item, sizeof(item));  // TVM_GETITEMRECT takes the item in the rectangle's first bytes
    ::SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote.address()));
    RECT rect = {};
    remote.read(&rect, sizeof(rect));
    ::MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring TabText(HWND tabs, int index) {
    constexpr int kRoom = 260;
    RemoteBuffer remote(tabs, sizeof(TCITEMW) + kRoom * sizeof(wchar_t));
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.address()) + sizeof(TCITEMW));
    item.cchTextMax = kRoom;
    remote.write(&item, sizeof(item));
    ::SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(remote.address()));
    wchar_t text[kRoom] = {};
    remote.read(text, sizeof(text) - sizeof(wchar_t), sizeof(TCITEMW));
    return text;
}

RECT TabItemRectOnScreen(HWND tabs, int index) {
    RemoteBuffer remote(tabs, sizeof(RECT));
    ::SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.address()));
    RECT rect = {};
    remote.read(&rect, sizeof(rect));
    ::MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int ListCount(HWND list) {
    return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

void ListSelectOnly(HWND list, int item) {
    RemoteBuffer remote(list, sizeof(LVITEMW));
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    remote.write(&state, sizeof(state));
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(remote.address()));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.write(&state, sizeof(state));
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(remote.address()));
}

std::wstring ListItemText(HWND list, int item, int column) {
    constexpr int kChars = 2048;
    RemoteBuffer remote(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    LVITEMW request = {};
    request.mask = LVIF_TEXT;
    request.iItem = item;
    request.iSubItem = column;
    request.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.address()) + sizeof(LVITEMW));
    request.cchTextMax = kChars;
    remote.write(&request, sizeof(request));
    auto length = ::SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(remote.address()));
    std::wstring text(static_cast<size_t>(length), L'\0');
    remote.read(text.data(), text.size() * sizeof(wchar_t), sizeof(LVITEMW));
    return text;
}

int ProgressPosition(HWND bar) {
    return static_cast<int>(::SendMessageW(bar, PBM_GETPOS, 0, 0));
}

int ListItemImage(HWND list, int item) {
    RemoteBuffer remote(list, sizeof(LVITEMW));
    LVITEMW request = {};
    request.mask = LVIF_IMAGE;
    request.iItem = item;
    remote.write(&request, sizeof(request));
    ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.address()));
    remote.read(&request, sizeof(request));
    return request.iImage;
}

int CountScreenPixels(const RECT& screen, const std::function<bool(COLORREF)>& test) {
    win::WindowDc dc(nullptr);
    int count = 0;
    for (int y = screen.top; y < screen.bottom; ++y) {
        for (int x = screen.left; x < screen.right; ++x) {
            if (test(::GetPixel(dc.get(), x, y)))
                ++count;
        }
    }
    return count;
}

bool ScreenShowsPicture(POINT at, int id, COLORREF back) {
    static win::UniqueModule program(::LoadLibraryExW(L"KestavelShredder.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    static Pictures pictures;
    static const bool loaded = program && pictures.load(program.get());
    DIBSECTION section = {};
    if (!loaded || !::GetObjectW(pictures.bitmap(id), sizeof(section), &section) || section.dsBm.bmBitsPixel != 32)
        return false;
    const int size = section.dsBm.bmHeight;
    win::WindowDc dc(nullptr);
    int matching = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Decoded pictures are top-down, premultiplied.
            const BYTE* p = static_cast<const BYTE*>(section.dsBm.bmBits) + y * section.dsBm.bmWidthBytes + x * 4;
            const COLORREF shown = ::GetPixel(dc.get(), at.x + x, at.y + y);
            auto blends = [&](int picture, int ground, int screen) {
                return std::abs(picture + ground * (255 - p[3]) / 255 - screen) <= 6;
            };
            matching += blends(p[2], GetRValue(back), GetRValue(shown)) &&
                        blends(p[1], GetGValue(back), GetGValue(shown)) &&
                        blends(p[0], GetBValue(back), GetBValue(shown));
        }
    }
    return matching * 10 >= size * size * 9;
}

void Screenshot(const std::wstring& name) {
    Screenshot(name, {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
}

void Screenshot(const std::wstring& name, const RECT& part) {
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;
    win::WindowDc screen(nullptr);
    win::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::UniqueBitmap bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        win::SelectGuard select(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), part.left, part.top, SRCCOPY);
    }
    ::GdiFlush();
    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    const DWORD imageSize = stride * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + imageSize;
    const std::wstring path = L"C:\\screenshots\\" + name + L".bmp";
    win::UniqueFile out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!out)
        Fail(L"cannot write " + path);
    DWORD written = 0;
    ::WriteFile(out.get(), &file, sizeof(file), &written, nullptr);
    ::WriteFile(out.get(), &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr);
    ::WriteFile(out.get(), bits, imageSize, &written, nullptr);
    Log(L"screenshot " + name);
}

std::vector<Scenario>& Scenarios() {
    static std::vector<Scenario> all;
    return all;
}

std::wstring RegisteredFolder(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name,
                   RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

std::wstring KestavelFolder(const std::wstring& sub) {
    const std::wstring work = RegisteredFolder(L"Local AppData") + L"\\Kestavel\\";
    return sub.empty() ? work : work + sub + L"\\";
}

}  // namespace drive
