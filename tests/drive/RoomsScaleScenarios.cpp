// The Fast Cleaner, the journal window, the tools view and the About window at the screen's scale, as the
// prefix sets it (the scenario is registered at several DPIs): each window's client area and a few of its
// controls where its table times the scale puts them, every text whole in its font, and a picture of each
// for a person to look at. Each top-level window then crosses to a monitor of another scale and is checked
// again there.
#include "tests/drive/CleanerSession.h"
#include "tests/drive/TextFit.h"

#include "app/about/AboutWindow.h"
#include "app/journal/JournalWindow.h"
#include "app/tools/ToolItems.h"
#include "app/tools/ToolsView.h"
#include "win/Dpi.h"

#include <string>
#include <vector>

using namespace drive;

namespace {

// A place may differ from the table's times the scale by this much, for the rounding of both.
constexpr int kSlack = 2;

bool Near(LONG actual, LONG expected) {
    return actual >= expected - kSlack && actual <= expected + kSlack;
}

std::wstring RectText(const RECT& place) {
    return L"(" + std::to_wstring(place.left) + L", " + std::to_wstring(place.top) + L", " +
           std::to_wstring(place.right) + L", " + std::to_wstring(place.bottom) + L")";
}

// Where the control stands in its parent's client area.
RECT PlaceIn(HWND control) {
    RECT place;
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// The control stands at the table's place times the scale; grown: it may be wider, for its text.
void ExpectPlace(HWND control,
                 const RECT& table,
                 const win::Scale& scale,
                 const std::wstring& what,
                 bool grown = false) {
    Expect(control != nullptr, what + L" exists");
    const RECT place = PlaceIn(control);
    const RECT expected = scale(table);
    const bool right = grown ? place.right >= expected.right - kSlack : Near(place.right, expected.right);
    Expect(Near(place.left, expected.left) && Near(place.top, expected.top) && right &&
               Near(place.bottom, expected.bottom),
           what + L" at " + RectText(place) + L", the table's place times the scale is " + RectText(expected));
}

void ExpectClient(HWND window, SIZE table, const win::Scale& scale, const std::wstring& what) {
    const SIZE client = ClientSize(window);
    const SIZE expected = scale(table);
    Log(what + L": client area " + std::to_wstring(client.cx) + L" x " + std::to_wstring(client.cy) + L" at " +
        std::to_wstring(scale.dpi()) + L" DPI");
    Expect(Near(client.cx, expected.cx) && Near(client.cy, expected.cy),
           what + L": client area of the table's size times the scale (" + std::to_wstring(expected.cx) + L" x " +
               std::to_wstring(expected.cy) + L")");
}

std::wstring ShotName(const win::Scale& scale, const std::wstring& what) {
    return L"scale-" + std::to_wstring(scale.dpi()) + L"-" + what;
}

// The scale the window is taken to after the screen's: a monitor of another scale.
UINT OtherDpi(UINT dpi) {
    return dpi >= 192 ? 120 : 192;
}

// The window crosses to a monitor of that scale: Windows suggests its rectangle grown by the ratio.
void CrossTo(HWND window, UINT from, UINT to) {
    RECT now;
    ::GetWindowRect(window, &now);
    const int width = ::MulDiv(now.right - now.left, static_cast<int>(to), static_cast<int>(from));
    const int height = ::MulDiv(now.bottom - now.top, static_cast<int>(to), static_cast<int>(from));
    SendDpiChanged(window, to, {now.left, now.top, now.left + width, now.top + height});
}

// The wrapping widths of the balloons a window owns.
std::vector<LRESULT> BalloonWidths(HWND owner) {
    std::vector<LRESULT> widths;
    HWND tip = nullptr;
    while ((tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr))) {
        if (::GetWindow(tip, GW_OWNER) == owner && (::GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON))
            widths.push_back(::SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
    }
    return widths;
}

// ---- The Fast Cleaner ----

ProgramFonts CleanerFonts(UINT dpi) {
    ProgramFonts fonts(dpi);
    for (int page = 0; page < static_cast<int>(layout::kPages.size()); ++page)
        fonts.set(layout::kIdPageTitleFirst + page, FontRole::Strong);
    fonts.set(layout::kIdStatus, FontRole::Status).set(layout::kIdDnsText, FontRole::Status);
    fonts.set(layout::kSettingsNote.id, FontRole::BoldItalic);
    return fonts;
}

void CheckCleaner(const Cleaner& c, const win::Scale& scale) {
    ExpectClient(c.window, {layout::kClientWidth, layout::kClientHeight}, scale, L"Fast Cleaner");
    ExpectPlace(c.control(layout::kIdTabs), layout::kTabs, scale, L"the tabs");
    const layout::Item& first = layout::kItems[0];
    const int x = layout::kItemColumnX[first.column] + layout::kCheckOffset;
    const int y = layout::kItemFirstRowY + first.row * layout::kItemRowStep;
    ExpectPlace(c.check(0), {x, y, x + first.boxWidth, y + layout::kItemHeight}, scale, L"the first item's box", true);
    ExpectPlace(c.control(layout::kIdClean), layout::kStripButtons[2].place, scale, L"\"Nettoyer\"");
    ExpectPlace(c.control(layout::kIdMruList), layout::kMruList, scale, L"the M.R.U. list");
    const ProgramFonts fonts = CleanerFonts(scale.dpi());
    for (int page = static_cast<int>(layout::kPages.size()) - 1; page >= 0; --page) {
        c.showTab(page);
        ExpectTextsFit(c.window, fonts, std::wstring(L"Fast Cleaner, tab ") + layout::kPages[page].caption);
        if (page == layout::kSettings)
            Screenshot(ShotName(scale, L"cleaner-settings"));
    }
    Screenshot(ShotName(scale, L"cleaner-general"));
}

// ---- The journal window ----

const RECT& JournalPlace(JournalWindow::ControlId id) {
    for (const JournalWindow::Place& each : JournalWindow::kPlaces) {
        if (each.id == id)
            return each.place;
    }
    Fail(L"the journal window's table places every control");
}

void CheckJournal(HWND window, const win::Scale& scale) {
    ExpectClient(window, {JournalWindow::kClientWidth, JournalWindow::kClientHeight}, scale, L"journal window");
    for (JournalWindow::ControlId id : {JournalWindow::kIdEvents, JournalWindow::kIdClear, JournalWindow::kIdClose})
        ExpectPlace(FindChildById(window, id), JournalPlace(id), scale, L"journal control " + std::to_wstring(id));
    ExpectPlace(FindChildById(window, JournalWindow::kIdDeleteOnClose), JournalPlace(JournalWindow::kIdDeleteOnClose),
                scale, L"the journal's option", true);
    ExpectTextsFit(window, ProgramFonts(scale.dpi()), L"journal window");
    Screenshot(ShotName(scale, L"journal"));
}

// ---- The About window ----

const RECT& AboutPlace(AboutWindow::ControlId id) {
    for (const AboutWindow::Place& each : AboutWindow::kPlaces) {
        if (each.id == id)
            return each.place;
    }
    Fail(L"the About window's table places every control");
}

void CheckAbout(HWND window, const win::Scale& scale) {
    ExpectClient(window, {AboutWindow::kClientWidth, AboutWindow::kClientHeight}, scale, L"About window");
    for (AboutWindow::ControlId id : {AboutWindow::kIdPanel, AboutWindow::kIdArt, AboutWindow::kIdClose})
        ExpectPlace(FindChildById(window, id), AboutPlace(id), scale, L"About control " + std::to_wstring(id));
    ExpectPlace(FindChildById(window, AboutWindow::kIdMailLink), AboutPlace(AboutWindow::kIdMailLink), scale,
                L"the support link", true);
    // The product's name is in the dialog face, a quarter larger and bold: measured here on its own.
    const ProgramFonts fonts(scale.dpi());
    HWND product = FindChildById(window, AboutWindow::kIdProduct);
    for (const TextMisfit& misfit : TextMisfits(window, fonts)) {
        if (misfit.control != product)
            Fail(L"About window: " + Describe(misfit));
    }
    LOGFONTW title = {};
    ::GetObjectW(fonts.get(FontRole::Dialog), sizeof(title), &title);
    title.lfHeight = title.lfHeight * 5 / 4;
    title.lfWeight = FW_BOLD;
    win::UniqueFont titleFont(::CreateFontIndirectW(&title));
    RECT room;
    ::GetClientRect(product, &room);
    const SIZE needed = TextExtent(titleFont.get(), Text(product));
    Expect(needed.cx <= room.right && needed.cy <= room.bottom, L"the product's name fits on one line");
    HWND status = FindChildById(window, AboutWindow::kIdStatusBar);
    Expect(LOWORD(::SendMessageW(status, SB_GETTEXTLENGTHW, 1, 0)) > 0, L"the status bar shows its notice");
    Screenshot(ShotName(scale, L"about"));
}

}  // namespace

SCENARIO("windows-at-scale") {
    const win::Scale scale(win::SystemDpi());
    const win::Scale other(OtherDpi(scale.dpi()));
    Session s;
    Log(L"screen at " + std::to_wstring(scale.dpi()) + L" DPI");

    {
        Cleaner c(s);
        CheckCleaner(c, scale);
        const std::vector<LRESULT> wraps = BalloonWidths(c.window);
        Expect(!wraps.empty(), L"the Fast Cleaner has its balloons");
        CrossTo(c.window, scale.dpi(), other.dpi());
        CheckCleaner(c, other);
        const std::vector<LRESULT> rewraps = BalloonWidths(c.window);
        Expect(rewraps.size() == wraps.size(), L"the balloons stay");
        for (size_t each = 0; each < wraps.size(); ++each)
            Expect(Near(static_cast<LONG>(rewraps[each]),
                        ::MulDiv(static_cast<int>(wraps[each]), other.dpi(), scale.dpi())),
                   L"a balloon wraps at its width times the new scale over the old (" + std::to_wstring(wraps[each]) +
                       L" -> " + std::to_wstring(rewraps[each]) + L")");
        Close(c.window);
        Expect(WaitUntil([&] { return !::IsWindow(c.window); }), L"the Fast Cleaner closes");
    }

    s.click(kIdJournal);
    HWND journal = s.program.waitForWindow(JournalWindow::kTitle);
    CheckJournal(journal, scale);
    CrossTo(journal, scale.dpi(), other.dpi());
    CheckJournal(journal, other);
    Close(journal);
    Expect(WaitUntil([&] { return !::IsWindow(journal); }), L"the journal window closes");

    // The tools view fills the main window's right-hand area, at the main window's scale.
    s.command(kCmdTools);
    HWND view = s.control(kIdToolsView);
    Expect(WaitUntil([&] { return ::IsWindowVisible(view) != FALSE; }), L"the tools view shows");
    // The tab control inside the view's margins, wherever the main window places the view.
    RECT client;
    ::GetClientRect(view, &client);
    HWND tabs = FindChildById(view, ToolsView::kTabsId);
    const int margin = scale(5);
    const RECT tabsPlace = PlaceIn(tabs);
    Expect(Near(tabsPlace.left, margin) && Near(tabsPlace.top, margin) &&
               Near(tabsPlace.right, client.right - margin) && Near(tabsPlace.bottom, client.bottom - margin),
           L"the tools' tabs inside the view's margins at " + RectText(tabsPlace));
    const ToolItem& first = ToolItemAt(1);
    const int linkX = first.x + kToolLinkOffset;
    ExpectPlace(FindChildById(view, kToolLinkFirst + 1),
                {linkX, first.y, linkX + first.width, first.y + kToolTextHeight}, scale, L"the first tool's link",
                true);
    const int below = first.y + kToolTextHeight;
    ExpectPlace(FindChildById(view, kToolLinkFirst + ToolsView::kDescriptionOffset + 1),
                {kToolDescriptionX, below, kToolDescriptionX + kToolDescriptionWidth, below + kToolTextHeight}, scale,
                L"the first tool's description", true);
    ProgramFonts toolFonts(scale.dpi());
    for (int tab = 0; tab < kToolTabCount; ++tab)
        toolFonts.set(ToolsView::kIntroFirstId + tab, FontRole::BoldItalic);
    for (int number = 1; number <= kToolCount; ++number)
        toolFonts.set(kToolLinkFirst + number, FontRole::BoldItalic);
    for (int tab = kToolTabCount - 1; tab >= 0; --tab) {
        const RECT header = TabItemRectOnScreen(tabs, tab);
        HWND page = FindChildById(view, ToolsView::kPageFirstId + tab);
        Expect(ClickUntil({(header.left + header.right) / 2, (header.top + header.bottom) / 2},
                          [&] { return ::IsWindowVisible(page) != FALSE; }),
               L"the tools' tab shows its page");
        ExpectTextsFit(view, toolFonts, std::wstring(L"tools view, tab ") + kToolTabs[tab].title);
    }
    ::RedrawWindow(view, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Screenshot(ShotName(scale, L"tools"));

    s.command(kCmdAbout);
    HWND about = s.program.waitForWindow(AboutWindow::kTitle);
    CheckAbout(about, scale);
    CrossTo(about, scale.dpi(), other.dpi());
    CheckAbout(about, other);
    Click(FindChildById(about, AboutWindow::kIdClose));
    Expect(WaitUntil([&] { return ::IsWindowVisible(s.main) != FALSE; }), L"the main window comes back");
    s.quit();
}
