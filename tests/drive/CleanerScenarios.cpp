// The Fast Cleaner from the window: its items, runs shown live, closing during a run, the M.R.U. and DNS
// tabs.
#include "tests/drive/CleanerSession.h"
#include "tests/drive/HelpPictures.h"

#include "app/resource.h"
#include "cleaner/RegistryTraces.h"
#include "shred/ShellFolder.h"

using namespace drive;

SCENARIO("cleaner-items") {
    // No cookie folder on this machine.
    const std::wstring cookies = ShellFolderPath(ShellFolder::Cookies);
    Expect(!cookies.empty(), L"the prefix names a cookie folder");
    RemoveTree(cookies.substr(0, cookies.size() - 1));
    Expect(!win::Exists(cookies), L"no cookie folder");

    Session s;
    s.waitForScans();
    Cleaner c(s);
    const SIZE client = ClientSize(c.window);
    ExpectEqual(client.cx, layout::kClientWidth, L"client width");
    ExpectEqual(client.cy, layout::kClientHeight, L"client height");
    Expect(!(::GetWindowLongW(c.window, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX)), L"not resizable");
    for (int item = 0; item < cleaner::kCleanerItemCount; ++item)
        ExpectEqual(Text(c.check(item)), layout::kItems[item].caption, L"check box text");
    // Texts are kept whole: a control is widened past its width in the layout when the fonts here need it.
    auto widths = [&](int id, int layoutWidth) {
        RECT place;
        ::GetWindowRect(c.control(id), &place);
        if (place.right - place.left != layoutWidth)
            Log(L"widened for its text: \"" + Text(c.control(id)) + L"\" " + std::to_wstring(layoutWidth) + L" -> " +
                std::to_wstring(place.right - place.left));
    };
    for (int item = 0; item < cleaner::kCleanerItemCount; ++item)
        widths(layout::kIdCheckFirst + item, layout::kItems[item].boxWidth);
    for (const layout::AgeOption& option : layout::kAgeOptions)
        widths(option.id, option.place.right - option.place.left);
    for (int page = 0; page < 4; ++page)
        widths(layout::kIdPageTitleFirst + page, layout::kPageTitle.right - layout::kPageTitle.left);
    widths(layout::kSettingsNote.id, layout::kSettingsNote.place.right - layout::kSettingsNote.place.left);
    // Places: the banner and the tabs in the client area, the rest in the tab's page.
    auto placeIn = [&](int id, HWND origin) {
        RECT place;
        ::GetWindowRect(c.control(id), &place);
        POINT corner = {0, 0};
        ::ClientToScreen(origin, &corner);
        ::OffsetRect(&place, -corner.x, -corner.y);
        return place;
    };
    auto expectPlace = [&](int id, HWND origin, RECT expected, const std::wstring& what) {
        const RECT place = placeIn(id, origin);
        Expect(::EqualRect(&place, &expected) != FALSE,
               what + L" at " + std::to_wstring(place.left) + L"," + std::to_wstring(place.top) + L" " +
                   std::to_wstring(place.right - place.left) + L"x" + std::to_wstring(place.bottom - place.top));
    };
    expectPlace(layout::kIdBanner, c.window, layout::kBanner, L"banner");
    expectPlace(layout::kIdTabs, c.window, layout::kTabs, L"tab control");
    HWND general = c.control(layout::kIdPageFirst + layout::kGeneral);
    expectPlace(layout::kIdStateFirst + kDnsItem, general, {20, 210, 36, 226}, L"state of the last left item");
    expectPlace(layout::kIdStateFirst + kUserTempItem, general, {400, 130, 416, 146}, L"state of the third right item");
    expectPlace(layout::kIdPageTitleFirst + layout::kGeneral, general, layout::kPageTitle, L"page title");
    expectPlace(layout::kIdBusy, general, layout::kBusy, L"busy indicator");
    expectPlace(layout::kIdStatus, general, layout::kStatus, L"status line");
    expectPlace(layout::kIdButtonStrip, general, layout::kButtonStrip, L"button strip");
    const RECT check = placeIn(layout::kIdCheckFirst + kDnsItem, general);
    Expect(check.left == 40 && check.top == 210 && check.bottom == 230, L"the check box beside its state picture");
    c.expectDefaults();
    Screenshot(L"cleaner-general");

    // A balloon for every item and for the buttons of the strip, the DNS and the M.R.U. tabs but the first
    // two, which have plain tooltips; they belong to the dialog, so that they go with it. (Their showing
    // under the pointer is the gallery's check: under Wine, pointer moves from another process do not
    // reliably start a tooltip's timer.)
    auto tips = [&](bool balloon) {
        std::vector<HWND> found;
        for (HWND window : TopLevelWindows(s.program.processId(), L"")) {
            if (_wcsicmp(ClassName(window).c_str(), TOOLTIPS_CLASSW) == 0 &&
                ::GetWindow(window, GW_OWNER) == c.window &&
                ((::GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON) != 0) == balloon)
                found.push_back(window);
        }
        return found;
    };
    ExpectEqual(static_cast<long long>(tips(true).size()), cleaner::kCleanerItemCount + 2 + 2 + 3, L"balloons");
    ExpectEqual(static_cast<long long>(tips(false).size()), 2, L"plain tooltips");

    // Nothing ticked: a warning, and nothing starts.
    c.click(layout::kIdClean);
    MessageBoxInfo warning = c.box();
    ExpectEqual(warning.text, layout::kNothingTicked, L"nothing ticked");
    Answer(warning, IDOK);
    ExpectEqual(c.status(), L"", L"nothing started");
    Expect(c.runButtons(true), L"the buttons stay enabled");

    // "Sélectionner tout" and "Désélectionner tout".
    c.click(layout::kIdSelectAll);
    Expect(WaitUntil([&] {
               for (int item = 0; item < cleaner::kCleanerItemCount; ++item)
                   if (!c.ticked(item))
                       return false;
               return true;
           }),
           L"every item ticked");
    c.click(layout::kIdDeselectAll);
    Expect(WaitUntil([&] {
               for (int item = 0; item < cleaner::kCleanerItemCount; ++item)
                   if (c.ticked(item))
                       return false;
               return true;
           }),
           L"every item unticked");

    // Declined: a notice, and every control stays usable.
    c.tick(kDnsItem, true);
    c.click(layout::kIdClean);
    Answer(c.box(), IDNO);
    MessageBoxInfo declined = c.box();
    ExpectEqual(declined.text, layout::kCleanDeclined, L"declined notice");
    Answer(declined, IDOK);
    Expect(c.runButtons(true) && c.enabled(layout::kIdClose), L"every button enabled after No");
    ExpectEqual(c.status(), L"", L"nothing started after No");
    ExpectEqual(c.state(kDnsItem), layout::kWaitingText, L"nothing done after No");

    // Only the DNS cache: the run flushes it, marks it done and tells the end.
    Expect(c.stateShows(kDnsItem, IDR_CLEANER_WAITING), L"the waiting picture before the run");
    c.clean();
    c.waitForCompletion();
    ExpectEqual(c.state(kDnsItem), layout::kDoneText, L"the DNS item is done");
    Expect(WaitUntil([&] { return c.stateShows(kDnsItem, IDR_CLEANER_DONE); }), L"the done picture is on screen");
    Screenshot(L"cleaner-dns-done");
    Expect(Text(c.control(layout::kIdDnsText)).find(L"Code de retour : ") != std::wstring::npos,
           L"the run's flush wrote its output to the DNS tab");

    // Only the cookies, without a cookie folder: the status shows, the item keeps its waiting picture, and
    // the run still ends with its notice.
    c.tick(kDnsItem, false);
    c.tick(kCookiesItem, true);
    c.clean();
    c.waitForCompletion();
    ExpectEqual(c.state(kCookiesItem), layout::kWaitingText, L"no cookie folder: not done");
    Expect(c.stateShows(kCookiesItem, IDR_CLEANER_WAITING), L"the cookies keep the waiting picture on screen");
    ExpectEqual(c.state(kDnsItem), layout::kDoneText, L"done pictures stay until the dialog closes");
    c.closeIdle();

    // Nothing of the last opening survives.
    Cleaner again(s);
    again.expectDefaults();
    again.closeIdle();
    s.quit();
}

SCENARIO("cleaner-close-during-run") {
    // Each run is held at "Effacer le cache DNS", before the temporary files, for as long as the scenario
    // needs: closing lands during the run however fast the machine deletes.
    HeldCommands held;
    const std::wstring many = MakeManyTempFiles(4, 250);
    const int total = CountFiles(many);
    Log(L"temporary files: " + std::to_wstring(total));

    Session s;
    s.waitForScans();
    Cleaner c(s);
    c.showTab(layout::kSettings);
    Screenshot(L"cleaner-settings");
    c.click(layout::kIdAgeAll);
    Expect(WaitUntil([&] { return c.checked(layout::kIdAgeAll); }), L"\"all\" selected");
    c.showTab(layout::kGeneral);
    c.tick(kDnsItem, true);
    c.tick(kUserTempItem, true);
    c.clean();
    const std::wstring dnsStatus = layout::kItems[static_cast<int>(cleaner::CleanerItem::DnsCache)].status;
    Expect(WaitUntil([&] { return c.status() == dnsStatus; }), L"the run shows what it does");
    Expect(::IsWindowVisible(c.control(layout::kIdBusy)) != FALSE, L"the busy indicator shows");
    Expect(c.runButtons(false) && c.enabled(layout::kIdClose), L"the three buttons are disabled during the run");
    // The indicator moves: its pixels change while the run works.
    RECT busy;
    ::GetWindowRect(c.control(layout::kIdBusy), &busy);
    auto busyPicture = [&] {
        std::vector<COLORREF> pixels;
        win::WindowDc dc(nullptr);
        for (int y = busy.top; y < busy.bottom; ++y)
            for (int x = busy.left; x < busy.right; ++x)
                pixels.push_back(::GetPixel(dc.get(), x, y));
        return pixels;
    };
    const std::vector<COLORREF> first = busyPicture();
    Expect(WaitUntil([&] { return busyPicture() != first; }, 5000), L"the busy indicator is animated");
    Screenshot(L"cleaner-run");
    // The help's picture: the window down to the run's status line, as wide as a help picture allows (the
    // right-hand column's texts end before that).
    RECT dialog = WindowRectOf(c.window);
    dialog.right = dialog.left + kHelpPictureWidth;
    dialog.bottom = WindowRectOf(c.control(layout::kIdStatus)).bottom + 10;
    HelpPicture(L"nettoyage-rapide", dialog);

    // "Fermer" asks; Yes closes at once and stops the run: its command is ended and the temporary files,
    // reached after the stop, are left alone.
    c.click(layout::kIdClose);
    MessageBoxInfo question = c.box();
    ExpectEqual(question.text, layout::kConfirmStop, L"closing during a run asks");
    Answer(question, IDYES);
    Expect(WaitUntil([&] { return !::IsWindow(c.window); }, 5000), L"Yes closes the dialog at once");
    Expect(WaitUntil([&] { return ::IsWindowEnabled(s.main) != FALSE; }), L"the main window is enabled again");

    // Reopened at once: the defaults, and nothing starts before the stopped run has wound down.
    Cleaner again(s);
    again.expectDefaults();
    Expect(WaitUntil([&] { return again.runButtons(true); }, 30000), L"the stopped run ends");
    ExpectEqual(CountFiles(many), total, L"the stopped run deletes nothing more");
    ExpectEqual(again.status(), L"", L"the stopped run's last reports went nowhere");

    // The close box asks too, and No keeps the dialog and the run. The run reads each tick when it gets
    // there: the recycle bin, unticked meanwhile, is passed over. Released, the run comes to its own end
    // with the completion notice (a stopped run ends silently).
    constexpr int kRecycleItem = static_cast<int>(cleaner::CleanerItem::RecycleBin);
    again.click(layout::kIdAgeAll);
    again.tick(kDnsItem, true);
    again.tick(kUserTempItem, true);
    again.tick(kRecycleItem, true);
    again.clean();
    Expect(WaitUntil([&] { return again.status() == dnsStatus; }), L"the second run is under way");
    Close(again.window);
    MessageBoxInfo kept = again.box();
    ExpectEqual(kept.text, layout::kConfirmStop, L"the close box asks during a run");
    Answer(kept, IDNO);
    Expect(WaitUntil([&] { return FindMessageBox(s.program.processId(), 0) == nullptr; }), L"the question goes");
    Expect(::IsWindow(again.window) && !again.enabled(layout::kIdClean), L"No keeps the dialog and the run");
    again.tick(kRecycleItem, false);
    held.release();
    again.waitForCompletion();
    ExpectEqual(again.state(kUserTempItem), layout::kDoneText, L"the temporary files are done");
    ExpectEqual(again.state(kRecycleItem), layout::kWaitingText, L"the recycle bin, unticked in time, is not");
    ExpectEqual(CountFiles(many), 0, L"\"all\" leaves no temporary file");

    // A run that ends while the user is asked whether to stop it keeps its notice until the answer: No
    // brings the notice.
    held.hold();
    MakeManyTempFiles(2, 250);
    again.clean();
    Expect(WaitUntil([&] { return again.status() == dnsStatus; }), L"a third run under way");
    again.click(layout::kIdClose);
    MessageBoxInfo stop = again.box();
    ExpectEqual(stop.text, layout::kConfirmStop, L"closing during the third run asks");
    held.release();
    Expect(WaitUntil([&] { return again.status() == layout::kFinishedStatus; }, 60000),
           L"the run ends while the question is up");
    auto boxes = [&] {
        int shown = 0;
        for (HWND window : TopLevelWindows(s.program.processId(), layout::kMessageTitle))
            shown += ::IsWindowVisible(window) ? 1 : 0;
        return shown;
    };
    Expect(WaitUntil([&] { return !::IsWindowVisible(again.control(layout::kIdBusy)); }),
           L"the run's last reports before its end are shown");
    Expect(!WaitUntil([&] { return boxes() > 1; }, 1500), L"no notice over the question");
    Answer(stop, IDNO);
    again.waitForCompletion();

    // Quitting while a stopped run winds down ends the program at once and cleanly.
    held.hold();
    MakeManyTempFiles(2, 250);
    again.clean();
    Expect(WaitUntil([&] { return again.status() == dnsStatus; }), L"a fourth run under way");
    again.click(layout::kIdClose);
    Answer(again.box(), IDYES);
    Expect(WaitUntil([&] { return !::IsWindow(again.window); }, 5000), L"closed during the fourth run");
    Expect(WaitUntil([&] { return ::IsWindowEnabled(s.main) != FALSE; }), L"the main window is enabled again");
    const ULONGLONG quitting = ::GetTickCount64();
    s.quit();
    Log(L"quit to exit: " + std::to_wstring(::GetTickCount64() - quitting) + L" ms");
    ExpectEqual(CountFiles(many), 501, L"the fourth run stopped before the temporary files");
}

SCENARIO("cleaner-mru-dns") {
    // RecentDocs with two sub-keys: .txt (values 0, 1, MRUListEx and 101, which the lists never reach) and
    // Folder (value 0 only), and a value of the key itself.
    const std::wstring sub = cleaner::kRecentDocsSubPath;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, sub.c_str());
    auto set = [&](const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD size) {
        HKEY opened = nullptr;
        Expect(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened,
                                 nullptr) == ERROR_SUCCESS,
               L"can create " + key);
        ::RegSetValueExW(opened, name, 0, type, static_cast<const BYTE*>(data), size);
        ::RegCloseKey(opened);
    };
    const BYTE first[] = {0x61, 0x00, 0x2E, 0x00};
    const BYTE list[] = {0x01, 0x0B, 0x10, 0xFF, 0x00};
    const DWORD number = 42;
    const wchar_t folderName[] = L"Mes documents";
    set(sub, L"MRUListEx", REG_BINARY, list, sizeof(list));
    set(sub + L"\\.txt", L"0", REG_BINARY, first, sizeof(first));
    set(sub + L"\\.txt", L"1", REG_DWORD, &number, sizeof(number));
    set(sub + L"\\.txt", L"MRUListEx", REG_BINARY, list, sizeof(list));
    set(sub + L"\\.txt", L"101", REG_BINARY, first, sizeof(first));
    set(sub + L"\\Folder", L"0", REG_SZ, folderName, sizeof(folderName));

    Session s;
    s.waitForScans();
    Cleaner c(s);
    c.showTab(layout::kMru);
    HWND listView = c.control(layout::kIdMruList);
    auto rows = [&] {
        std::vector<std::wstring> texts;
        for (int i = 0, n = ListCount(listView); i < n; ++i)
            texts.push_back(ListItemText(listView, i, 0) + L"|" + ListItemText(listView, i, 1) + L"|" +
                            ListItemText(listView, i, 2) + L"|" + std::to_wstring(ListItemImage(listView, i)));
        return texts;
    };
    c.click(layout::kIdMruShow);
    const std::vector<std::wstring> listed = {
        L".txt|||0", L"|0|61002E00|1", L"|1|42|1", L"|MRUListEx|010B10FF00|1", L"Folder|||0", L"|0|Mes documents|1"};
    Expect(WaitUntil([&] { return rows() == listed; }), L"sub-keys, each followed by its values, in order");
    Screenshot(L"cleaner-mru");

    // "Effacer valeurs": the numbered values and MRUListEx go, the sub-keys, 101 and the key's own values stay.
    c.click(layout::kIdMruValues);
    const std::vector<std::wstring> keysOnly = {L".txt|||0", L"Folder|||0"};
    Expect(WaitUntil([&] { return rows() == keysOnly; }), L"only the sub-keys are left to list");
    auto exists = [&](const std::wstring& key, const wchar_t* name) {
        return ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    };
    Expect(exists(sub + L"\\.txt", L"101") && exists(sub, L"MRUListEx"), L"101 and the key's own value stay");
    Expect(!exists(sub + L"\\.txt", L"0") && !exists(sub + L"\\.txt", L"MRUListEx"), L"the listed values are gone");

    // "Effacer tout": the key is emptied and made again.
    c.click(layout::kIdMruAll);
    Expect(WaitUntil([&] { return ListCount(listView) == 0; }), L"nothing left to list");
    HKEY key = nullptr;
    Expect(::RegOpenKeyExW(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS, L"the key is back");
    DWORD subKeys = 99, values = 99;
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                       nullptr);
    ::RegCloseKey(key);
    Expect(subKeys == 0 && values == 0, L"the key is back, empty");

    // The DNS tab: the tool's output, then its return code; the buttons wait for the command's end.
    c.showTab(layout::kDns);
    HWND dnsText = c.control(layout::kIdDnsText);
    auto dnsDone = [&] {
        const std::wstring text = Text(dnsText);
        return text.find(L"Code de retour : ") != std::wstring::npos && c.enabled(layout::kIdDnsShow) &&
               c.enabled(layout::kIdDnsFlush);
    };
    c.click(layout::kIdDnsShow);
    // The command runs off the window thread: its buttons wait for its end, the dialog answers meanwhile.
    Expect(WaitUntil([&] { return !c.enabled(layout::kIdDnsShow) && !c.enabled(layout::kIdDnsFlush); }, 10000, 5),
           L"the DNS buttons are disabled while the command runs");
    DWORD_PTR answer = 0;
    Expect(::SendMessageTimeoutW(c.window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer) != 0,
           L"the dialog answers while the command runs");
    Expect(WaitUntil(dnsDone, 60000), L"Afficher shows the output and the return code");
    const std::wstring shown = Text(dnsText);
    Log(L"DNS output:\n" + shown);
    Expect(shown.find(L"Code de retour : ") > 0, L"the tool's own lines come first");
    Screenshot(L"cleaner-dns");
    c.click(layout::kIdDnsFlush);
    MessageBoxInfo flush = c.box();
    ExpectEqual(flush.text, layout::kConfirmFlush, L"the flush asks");
    Answer(flush, IDNO);
    ExpectEqual(Text(dnsText), shown, L"No changes nothing");
    // Yes empties the area before the flush writes to it.
    const std::wstring marker = L"before the flush";
    ::SendMessageW(dnsText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(marker.c_str()));
    c.click(layout::kIdDnsFlush);
    Answer(c.box(), IDYES);
    Expect(WaitUntil([&] { return Text(dnsText).find(marker) == std::wstring::npos && dnsDone(); }, 60000),
           L"the flush's output in an emptied area");
    const std::wstring flushed = Text(dnsText);
    Expect(flushed.find(L"Code de retour : ") == flushed.rfind(L"Code de retour : "), L"one command's output");
    // Escape closes the idle dialog, even from the DNS text area.
    RECT area;
    ::GetWindowRect(dnsText, &area);
    MouseClick({(area.left + area.right) / 2, (area.top + area.bottom) / 2});
    Expect(WaitUntil([&] {
               GUITHREADINFO focus = {};
               focus.cbSize = sizeof(focus);
               return ::GetGUIThreadInfo(::GetWindowThreadProcessId(c.window, nullptr), &focus) &&
                      focus.hwndFocus == dnsText;
           }),
           L"the DNS text area has the keyboard");
    KeyPress(VK_ESCAPE);
    Expect(WaitUntil([&] { return !::IsWindow(c.window); }), L"Escape closes the dialog");
    Expect(WaitUntil([&] { return ::IsWindowEnabled(s.main) != FALSE; }), L"the main window is enabled again");
    s.quit();
}
