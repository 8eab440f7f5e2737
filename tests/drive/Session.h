#pragma once

// The user's steps on the main window, by the names they see; shared by the scenarios.
#include "tests/drive/Drive.h"

#include "app/main/ControlIds.h"
#include "win/Files.h"
#include "win/Handle.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace drive {

constexpr wchar_t kTitle[] = L"Kestavel Shredder 3.20";
constexpr wchar_t kFolder[] = L"C:\\shred\\";
constexpr wchar_t kOpenTitle[] = L"Sélectionnez un fichier, il sera listé prêt pour la destruction";

inline void MakeFile(const std::wstring& path, unsigned long long size) {
    ::CreateDirectoryW(kFolder, nullptr);
    win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Expect(static_cast<bool>(file), L"the test file " + path + L" can be made");
    std::string block(1 << 20, 'x');
    for (unsigned long long written = 0; written < size; written += block.size()) {
        DWORD done = 0;
        ::WriteFile(file.get(), block.data(),
                    static_cast<DWORD>(std::min<unsigned long long>(block.size(), size - written)), &done, nullptr);
    }
}

// The user's steps on the main window, by the names they see.
struct Session {
    Session() = default;
    // Started with arguments after the program's path, as a shortcut or Explorer's verb starts it.
    explicit Session(const std::wstring& arguments) : program(Program::Start(L"KestavelShredder.exe", arguments)) {}

    Program program = Program::Start();
    HWND main = program.waitForWindow(kTitle);

    HWND control(int id) const { return FindChildById(main, id); }
    void command(int number) const { ::PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(number), 0); }
    void click(int id) const { Click(control(id)); }
    bool enabled(int id) const { return ::IsWindowEnabled(control(id)) != FALSE; }
    bool visible(int id) const { return ::IsWindowVisible(control(id)) != FALSE; }
    int listCount() const { return ListCount(control(kIdShredList)); }

    // "Ajouter un ou plusieurs fichiers", then the names typed in the open dialog.
    void addFiles(const std::wstring& folder, const std::vector<std::wstring>& names) {
        command(kCmdAddFiles);
        HWND dialog = nullptr;
        Expect(WaitUntil([&] {
                   for (HWND window : TopLevelWindows(program.processId(), kOpenTitle))
                       dialog = window;
                   return dialog && ::IsWindowVisible(dialog);
               }),
               L"the open dialog appears");
        HWND nameBox = nullptr;
        for (int id : {0x47C, 0x480}) {  // the file name combo box, or its plain edit
            for (HWND child : Children(dialog)) {
                if (::GetDlgCtrlID(child) == id && ::IsWindowVisible(child))
                    nameBox = child;
            }
            if (nameBox)
                break;
        }
        Expect(nameBox != nullptr, L"the open dialog has a file name box");
        // First into the folder, then the names, as a user typing them would.
        ::SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        Click(::GetDlgItem(dialog, IDOK));
        drive::Sleep(300);
        std::wstring typed;
        for (const std::wstring& name : names)
            typed += L"\"" + name + L"\" ";
        ::SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        Click(::GetDlgItem(dialog, IDOK));
        Expect(WaitUntil([&] { return !::IsWindow(dialog); }), L"the open dialog closes");
        WaitUntil([&] { return listCount() >= static_cast<int>(names.size()); }, 5000);
    }

    // "Ajouter un répertoire complet", then the folder chosen under C:\ in the folder browser.
    void addFolder(const std::wstring& name) {
        command(kCmdAddFolder);
        MessageBoxInfo browser = box();
        HWND tree = nullptr;
        Expect(WaitUntil([&] {
                   auto trees = Children(browser.window, L"SysTreeView32");
                   tree = trees.empty() ? nullptr : trees.front();
                   return tree && ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0;
               }),
               L"the folder browser shows its tree with a selection");
        auto start = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        HTREEITEM folder = TreeChild(tree, start, name);
        ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(folder));
        Answer(browser, IDOK);
        // Once the browser is gone the window has queued the folder and started its scan, so that a
        // waitForScans() that follows cannot look before the scan has begun.
        Expect(WaitUntil([&] { return !::IsWindow(browser.window); }), L"the folder browser closes");
    }

    std::vector<std::wstring> listTexts() const {
        std::vector<std::wstring> texts;
        for (int i = 0, n = listCount(); i < n; ++i)
            texts.push_back(ListItemText(control(kIdShredList), i));
        return texts;
    }
    // Waits until no scan covers the left column any more. A message sent first comes back only once the
    // window thread has finished what it was doing (say, closing a question and starting the scan it
    // asked about), so a scan that is about to start has put its cover up by then.
    void waitForScans() const {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        // The window puts what the scans queued on screen before it takes its cover away.
        Expect(WaitUntil([&] { return !visible(kIdLeftCover); }, 60000), L"the scans end");
    }

    MessageBoxInfo box() const { return WaitForMessageBox(program.processId(), 60000); }
    void start() {
        click(kIdStart);
        MessageBoxInfo confirm = box();
        ExpectEqual(confirm.title, L"SUPPRESSION DÉFINITIVE D'UNE LISTE DE FICHIERS", L"start confirmation");
        Answer(confirm, IDYES);
    }
    void quit() {
        Close(main);
        ExpectEqual(program.waitForExit(), 0, L"exit code");
    }
};

// A real click on the list's first row: the list takes the keyboard focus and the program the foreground.
inline void ClickFirstRow(const Session& s) {
    HWND list = s.control(kIdShredList);
    const std::vector<HWND> headers = Children(list, L"SysHeader32");
    Expect(!headers.empty(), L"the list has a header");
    RECT header;
    ::GetWindowRect(headers.front(), &header);
    MouseClick({header.left + 60, header.bottom + 6});
    Expect(WaitUntil([&] { return FocusedControl(s.main) == list; }), L"the list has the focus");
}

inline int SelectedCount(HWND list) {
    return static_cast<int>(::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

}  // namespace drive
