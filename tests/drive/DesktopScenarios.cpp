// The habits a Windows user brings: files and folders dropped from Explorer on the shred list, Delete and
// Ctrl+A in the list, Tab, Enter and Space in the destruction view.
#include "tests/drive/Session.h"

using namespace drive;

namespace {

// What the screen shows of a window, pixel by pixel.
std::vector<COLORREF> ScreenPixels(HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    win::WindowDc screen(nullptr);
    win::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    win::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    HGDIOBJ old = ::SelectObject(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory.get(), old);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
    ::GetDIBits(memory.get(), bitmap.get(), 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

}  // namespace

SCENARIO("desktop-drop-and-keys") {
    const std::wstring one = kFolder + std::wstring(L"un.txt"), two = kFolder + std::wstring(L"deux.txt"),
                       three = kFolder + std::wstring(L"trois.txt");
    MakeFile(one, 1 << 20);
    MakeFile(two, 2 << 20);
    MakeFile(three, 0);
    ::CreateDirectoryW(L"C:\\depose", nullptr);
    ::CreateDirectoryW(L"C:\\depose\\sous", nullptr);
    MakeFile(L"C:\\depose\\a.txt", 1);
    MakeFile(L"C:\\depose\\sous\\b.txt", 1);
    Session s;
    s.waitForScans();
    HWND list = s.control(kIdShredList);
    Expect((::GetWindowLongPtrW(list, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0, L"the list takes dropped files");

    // Two files as "Ajouter un ou plusieurs fichiers" queues them, a folder as "Ajouter le dossier + son
    // contenu" does: its entry, then its content in order.
    DropFiles(list, {one, two, L"C:\\depose"});
    s.waitForScans();
    std::vector<std::wstring> expected = {
        one, two, L"C:\\depose", L"C:\\depose\\sous", L"C:\\depose\\sous\\b.txt", L"C:\\depose\\a.txt"};
    Expect(WaitUntil([&] { return s.listTexts() == expected; }), L"two files and a folder with its content");
    Expect(WaitUntil([&] { return Text(s.control(kIdTotalSize)) == L"3.000"; }), L"total of the dropped files");
    // Dropped again, with a new file: only the new file is queued, whatever the case of the folder.
    DropFiles(list, {one, L"C:\\DEPOSE", two, three});
    s.waitForScans();
    expected.push_back(three);
    Expect(WaitUntil([&] { return s.listTexts() == expected; }), L"duplicates are ignored");
    Screenshot(L"desktop-dropped");

    // Delete removes the selected entry, as "Retirer sélection" does.
    ClickFirstRow(s);
    ListSelectOnly(list, 1);
    KeyPress(VK_DELETE);
    Expect(WaitUntil([&] { return s.listCount() == 6; }), L"Delete removes the selected entry");
    ExpectEqual(ListItemText(list, 1), L"C:\\depose", L"the entry after it moves up");
    Expect(WaitUntil([&] { return Text(s.control(kIdTotalSize)) == L"1.000"; }), L"total without it");
    // Ctrl+A selects every entry, and the list shows it; Delete then empties the list, and only the list.
    const std::vector<COLORREF> beforeAll = ScreenPixels(list);
    KeyPress(VK_CONTROL, 'A');
    Expect(WaitUntil([&] { return SelectedCount(list) == 6; }), L"Ctrl+A selects every entry");
    Expect(WaitUntil([&] { return ScreenPixels(list) != beforeAll; }, 3000), L"the selection is drawn");
    KeyPress(VK_DELETE);
    Expect(WaitUntil([&] { return s.listCount() == 0; }), L"Delete removes them all");
    ExpectEqual(Text(s.control(kIdEntryCount)), L"0", L"entry count");
    Expect(win::IsFile(one) && win::IsFile(L"C:\\depose\\sous\\b.txt"), L"removing from the list deletes nothing");

    // While a run works, the list takes no drop and no Delete, as its buttons are out of reach.
    const std::wstring big = kFolder + std::wstring(L"long.bin");
    MakeFile(big, 64ull << 20);
    DropFiles(list, {big});
    Expect(WaitUntil([&] { return s.listCount() == 1; }), L"the file to destroy is queued");
    ::SendMessageW(s.control(kIdMethodCombo), CB_SETCURSEL, 3, 0);
    ::SendMessageW(s.control(kIdRepetitionsSpin), UDM_SETPOS32, 0, 100);
    s.start();
    Expect(WaitUntil([&] { return s.enabled(kIdPause); }), L"running");
    s.click(kIdPause);
    Expect(WaitUntil([&] { return s.enabled(kIdResume); }), L"paused");
    DropFiles(list, {one, L"C:\\depose"});
    ListSelectOnly(list, 0);
    ::SendMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
    drive::Sleep(500);
    ExpectEqual(s.listCount(), 1, L"a drop during a run is refused");
    ExpectEqual(ListItemText(list, 0), big, L"the run's entry stays");
    s.click(kIdStop);
    Answer(s.box(), IDYES);
    MessageBoxInfo summary = s.box();
    ExpectEqual(summary.title, L"Destruction interrompue!", L"the run was stopped");
    Answer(summary, IDOK);
    Expect(WaitUntil([&] { return s.enabled(kIdStart) && s.listCount() == 0; }), L"idle, list empty");
    Expect(win::IsFile(one) && win::IsFolder(L"C:\\depose"), L"what was dropped during the run is untouched");
    s.quit();
}

SCENARIO("desktop-tab-order") {
    const std::wstring one = kFolder + std::wstring(L"un.txt");
    MakeFile(one, 1 << 20);
    Session s;
    s.waitForScans();
    HWND list = s.control(kIdShredList);
    DropFiles(list, {one});
    Expect(WaitUntil([&] { return s.listCount() == 1; }), L"one entry queued");
    ClickFirstRow(s);

    // Tab walks the destruction view in reading order, skipping the run buttons that are disabled, and
    // comes back to the list; Shift+Tab walks back.
    HWND removeAll = s.control(kIdRemoveAll);
    const std::vector<COLORREF> unfocused = ScreenPixels(removeAll);
    const std::vector<std::pair<int, const wchar_t*>> order = {{kIdStart, L"DÉTRUIRE TOUT!"},
                                                               {kIdRemoveSelected, L"Retirer sélection"},
                                                               {kIdRemoveAll, L"Retirer tout"},
                                                               {kIdJournal, L"Journal"},
                                                               {kIdShredList, L"the list"}};
    for (const auto& [id, name] : order) {
        KeyPress(VK_TAB);
        Expect(WaitUntil([&] { return FocusedControl(s.main) == s.control(id); }, 3000),
               std::wstring(L"Tab reaches ") + name);
    }
    KeyPress(VK_SHIFT, VK_TAB);
    Expect(WaitUntil([&] { return FocusedControl(s.main) == s.control(kIdJournal); }, 3000),
           L"Shift+Tab goes back to Journal");
    KeyPress(VK_SHIFT, VK_TAB);
    Expect(WaitUntil([&] { return FocusedControl(s.main) == removeAll; }, 3000), L"and to Retirer tout");
    // The focused button shows it.
    Expect(WaitUntil([&] { return ScreenPixels(removeAll) != unfocused; }, 3000), L"the focus is visible");
    Screenshot(L"desktop-focus");

    // Space presses the focused button: "Retirer tout" empties the list.
    KeyPress(VK_SPACE);
    Expect(WaitUntil([&] { return s.listCount() == 0; }), L"Space pressed Retirer tout");
    // Enter too: "Détruire tout!" with an empty list says so.
    KeyPress(VK_SHIFT, VK_TAB);
    KeyPress(VK_SHIFT, VK_TAB);
    Expect(WaitUntil([&] { return FocusedControl(s.main) == s.control(kIdStart); }, 3000), L"back on DÉTRUIRE TOUT!");
    KeyPress(VK_RETURN);
    MessageBoxInfo error = s.box();
    ExpectEqual(error.text, L"Aucun fichier à détruire dans la liste!", L"Enter pressed DÉTRUIRE TOUT!");
    Answer(error, IDOK);
    s.quit();
}
