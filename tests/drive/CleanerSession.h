#pragma once

// The user's steps in the Fast Cleaner, by the names they see; shared by its scenarios and its benchmark.
#include "tests/drive/Session.h"

#include "app/cleaner/CleanerDialogLayout.h"

#include <string>

namespace drive {

namespace layout = cleaner::layout;

inline constexpr int kDnsItem = static_cast<int>(cleaner::CleanerItem::DnsCache);
inline constexpr int kCookiesItem = static_cast<int>(cleaner::CleanerItem::Cookies);
inline constexpr int kUserTempItem = static_cast<int>(cleaner::CleanerItem::UserTemp);

// While it lives, the program's command interpreter (ComSpec, read when the program starts it) is this
// driver, which waits until released: a run that reaches "Effacer le cache DNS" is held there for as long
// as a scenario needs, however fast the machine. Made before the program is started.
class HeldCommands {
public:
    HeldCommands() : release_(::CreateEventW(nullptr, TRUE, FALSE, kHeldCommandEvent)) {
        Expect(static_cast<bool>(release_), L"the held commands' event");
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        ::SetEnvironmentVariableW(L"ComSpec", self);
    }
    ~HeldCommands() { release(); }
    void release() const { ::SetEvent(release_.get()); }
    void hold() const { ::ResetEvent(release_.get()); }

private:
    win::UniqueHandle release_;
};

// The user's steps in the Fast Cleaner, by the names they see.
struct Cleaner {
    Session& s;
    HWND window = nullptr;

    explicit Cleaner(Session& session) : s(session) {
        s.command(kCmdCleaner);
        window = s.program.waitForWindow(layout::kTitle);
    }
    HWND control(int id) const { return FindChildById(window, id); }
    void click(int id) const { Click(control(id)); }
    bool enabled(int id) const { return ::IsWindowEnabled(control(id)) != FALSE; }
    bool checked(int id) const { return ::SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    HWND check(int item) const { return control(layout::kIdCheckFirst + item); }
    bool ticked(int item) const { return checked(layout::kIdCheckFirst + item); }
    void tick(int item, bool on) const {
        if (ticked(item) != on)
            Click(check(item));
        Expect(WaitUntil([&] { return ticked(item) == on; }), L"the item's box follows the click");
    }
    std::wstring state(int item) const { return Text(control(layout::kIdStateFirst + item)); }
    // Whether an item's state control shows that picture of the program, on the page.
    bool stateShows(int item, int picture) const {
        RECT place;
        ::GetWindowRect(control(layout::kIdStateFirst + item), &place);
        return ScreenShowsPicture({place.left, place.top}, picture, layout::kPageBack);
    }
    std::wstring status() const { return Text(control(layout::kIdStatus)); }
    bool runButtons(bool on) const {
        return enabled(layout::kIdClean) == on && enabled(layout::kIdSelectAll) == on &&
               enabled(layout::kIdDeselectAll) == on;
    }
    // A tab, clicked as the user does.
    void showTab(int index) const {
        HWND tabs = control(layout::kIdTabs);
        const RECT header = TabItemRectOnScreen(tabs, index);
        HWND page = control(layout::kIdPageFirst + index);
        Expect(ClickUntil({(header.left + header.right) / 2, (header.top + header.bottom) / 2},
                          [&] { return ::IsWindowVisible(page) != FALSE; }),
               L"tab " + std::to_wstring(index) + L" shows its page");
        // Visible is not yet painted: the page and its controls are drawn now, so that a picture taken next
        // shows them and not the page before.
        ::RedrawWindow(page, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    MessageBoxInfo box() const {
        MessageBoxInfo info = s.box();
        ExpectEqual(info.title, layout::kMessageTitle, L"message box title");
        return info;
    }
    // "Nettoyer", answered Yes.
    void clean() const {
        click(layout::kIdClean);
        MessageBoxInfo confirm = box();
        ExpectEqual(confirm.text, layout::kConfirmClean, L"confirmation");
        Answer(confirm, IDYES);
    }
    // The completion notice; the three buttons come back only once it is dismissed.
    void waitForCompletion() const {
        MessageBoxInfo done = box();
        ExpectEqual(done.text, layout::kCleanFinished, L"completion notice");
        ExpectEqual(status(), layout::kFinishedStatus, L"status line at the end");
        Expect(runButtons(false), L"the buttons stay disabled while the notice is up");
        Expect(!::IsWindowVisible(control(layout::kIdBusy)), L"the busy indicator is hidden at the end");
        Answer(done, IDOK);
        Expect(WaitUntil([&] { return runButtons(true); }), L"the buttons come back");
    }
    // What every opening shows.
    void expectDefaults() const {
        for (int item = 0; item < cleaner::kCleanerItemCount; ++item) {
            Expect(!ticked(item), L"item " + std::to_wstring(item) + L" unticked at opening");
            ExpectEqual(state(item), layout::kWaitingText, L"item " + std::to_wstring(item) + L" waiting");
        }
        Expect(!checked(layout::kIdAgeKeep48) && checked(layout::kIdAgeKeep24) && !checked(layout::kIdAgeAll),
               L"the 24-hour option is selected at opening");
        ExpectEqual(status(), L"", L"no status at opening");
        Expect(!::IsWindowVisible(control(layout::kIdBusy)), L"no busy indicator at opening");
        Expect(!::IsWindowEnabled(s.main), L"the main window is disabled while the dialog is open");
    }
    void closeIdle() {
        click(layout::kIdClose);
        Expect(WaitUntil([&] { return !::IsWindow(window); }), L"Fermer closes the idle dialog");
        Expect(FindMessageBox(s.program.processId(), 0) == nullptr, L"no question when idle");
        Expect(WaitUntil([&] { return ::IsWindowEnabled(s.main) != FALSE; }), L"the main window is enabled again");
    }
};

inline void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    win::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + L"\\" + name);
            else
                ::DeleteFileW((folder + L"\\" + name).c_str());
        } while (::FindNextFileW(find.get(), &entry));
    }
    ::RemoveDirectoryW(folder.c_str());
}

// Files in the folder and below it; a folder that cannot be listed (it always holds "." and "..") fails the
// scenario rather than counting as empty.
inline int CountFiles(const std::wstring& folder) {
    int count = 0;
    WIN32_FIND_DATAW entry;
    win::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find) {
        const DWORD error = ::GetLastError();
        Expect(false, L"can list " + folder + L" (error " + std::to_wstring(error) + L")");
        return 0;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        count += (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? CountFiles(folder + L"\\" + name) : 1;
    } while (::FindNextFileW(find.get(), &entry));
    return count;
}

// A temporary folder of many files: hard links to one empty file, in folders of perFolder, under the
// user's temporary folder. Returns the folder.
inline std::wstring MakeManyTempFiles(int folders, int perFolder) {
    wchar_t tempPath[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, tempPath);
    const std::wstring many = std::wstring(tempPath) + L"many";
    ::CreateDirectoryW(many.c_str(), nullptr);
    const std::wstring source = many + L"\\source.tmp";
    {
        win::UniqueFile file(::CreateFileW(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        Expect(static_cast<bool>(file), L"the first temporary file");
    }
    for (int f = 0; f < folders; ++f) {
        const std::wstring folder = many + L"\\d" + std::to_wstring(f);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        for (int i = 0; i < perFolder; ++i) {
            const std::wstring link = folder + L"\\f" + std::to_wstring(i) + L".tmp";
            Expect(::CreateHardLinkW(link.c_str(), source.c_str(), nullptr) != FALSE, L"hard link " + link);
        }
    }
    return many;
}

}  // namespace drive
