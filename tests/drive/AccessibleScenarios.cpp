// The hand-drawn controls as a screen reader or an automation tool reads and works them from its own process:
// MSAA objects through AccessibleObjectFromWindow, and the events the program raises.
#include "tests/drive/Session.h"

#include "app/about/AboutWindow.h"
#include "app/journal/JournalWindow.h"
#include "app/main/MainWindowLayout.h"
#include "app/main/ShredViewLayout.h"
#include "app/tools/ToolItems.h"
#include "app/tools/ToolsView.h"
#include "controls/Accessible.h"
#include "win/Strings.h"

#include <oleacc.h>

#include <cstdio>
#include <vector>

using namespace drive;
using controls::ComRef;
using namespace mainwin::layout;

namespace {

std::wstring Hex(HRESULT result) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(result));
    return text;
}

void ExpectOk(HRESULT result, const std::wstring& what) {
    Expect(SUCCEEDED(result), what + L" (" + Hex(result) + L")");
}

VARIANT Child(long id) {
    VARIANT child;
    ::VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// The driver's thread is a COM apartment while the scenario runs.
struct Apartment {
    Apartment() { ExpectOk(::CoInitialize(nullptr), L"the driver joins a COM apartment"); }
    ~Apartment() { ::CoUninitialize(); }
};

ComRef<IAccessible> ObjectOf(HWND window) {
    ComRef<IAccessible> object;
    ExpectOk(
        ::AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(object.put())),
        L"the control gives its accessible object");
    return object;
}

ComRef<IAccessible> AsAccessible(ComRef<IDispatch> object, const std::wstring& what) {
    ComRef<IAccessible> accessible;
    Expect(object && SUCCEEDED(object->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(accessible.put()))),
           what + L" is an accessible object");
    return accessible;
}

ComRef<IAccessible> ChildObject(IAccessible* parent, long id) {
    ComRef<IDispatch> child;
    ExpectOk(parent->get_accChild(Child(id), child.put()), L"child " + std::to_wstring(id));
    return AsAccessible(std::move(child), L"child " + std::to_wstring(id));
}

// Everything a reader asks of one element.
struct Element {
    long role = 0;
    long state = 0;
    std::wstring name, value, description, action;
    RECT screen = {};
};

std::wstring Read(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), IAccessible* object, long id) {
    BSTR text = nullptr;
    ExpectOk((object->*get)(Child(id), &text), L"a text of the element");
    std::wstring result = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
    ::SysFreeString(text);
    return result;
}

Element Read(IAccessible* object, long id = CHILDID_SELF) {
    Element element;
    VARIANT role, state;
    ExpectOk(object->get_accRole(Child(id), &role), L"the role");
    ExpectOk(object->get_accState(Child(id), &state), L"the state");
    element.role = role.lVal;
    element.state = state.lVal;
    element.name = Read(&IAccessible::get_accName, object, id);
    element.value = Read(&IAccessible::get_accValue, object, id);
    element.description = Read(&IAccessible::get_accDescription, object, id);
    element.action = Read(&IAccessible::get_accDefaultAction, object, id);
    long x = 0, y = 0, w = 0, h = 0;
    ExpectOk(object->accLocation(&x, &y, &w, &h, Child(id)), L"the location");
    element.screen = {x, y, x + w, y + h};
    return element;
}

bool Has(long state, long flag) {
    return (state & flag) != 0;
}

bool SameRect(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

// The program's events, as an out-of-context hook delivers them: to this thread, while it pumps its
// messages.
struct Event {
    DWORD event;
    HWND window;
    LONG object;
    LONG child;
};
std::vector<Event> gEvents;

void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    gEvents.push_back({event, window, object, child});
}

class EventHook {
public:
    explicit EventHook(DWORD processId)
        : hook_(::SetWinEventHook(EVENT_OBJECT_FOCUS,
                                  EVENT_OBJECT_VALUECHANGE,
                                  nullptr,
                                  Record,
                                  processId,
                                  0,
                                  WINEVENT_OUTOFCONTEXT)) {
        Expect(hook_ != nullptr, L"the driver hooks the program's events");
    }
    ~EventHook() { ::UnhookWinEvent(hook_); }
    EventHook(const EventHook&) = delete;
    EventHook& operator=(const EventHook&) = delete;

    // Pumps this thread's messages until the event about the client object of the window (and child) arrives.
    bool waitFor(DWORD event, HWND window, LONG child = CHILDID_SELF, DWORD timeoutMs = 10000) const {
        const DWORD start = ::GetTickCount();
        for (;;) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&message);
            for (const Event& seen : gEvents) {
                if (seen.event == event && seen.window == window && seen.object == OBJID_CLIENT && seen.child == child)
                    return true;
            }
            if (::GetTickCount() - start > timeoutMs)
                return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }

private:
    HWINEVENTHOOK hook_;
};

long ExpectedRole(ExplorerBar::ItemType type) {
    switch (type) {
        case ExplorerBar::kLink:
            return ROLE_SYSTEM_LINK;
        case ExplorerBar::kLabel:
            return ROLE_SYSTEM_STATICTEXT;
        case ExplorerBar::kSeparator:
            return ROLE_SYSTEM_SEPARATOR;
        default:
            return ROLE_SYSTEM_WINDOW;
    }
}

}  // namespace

// The big buttons, the explorer bar, a tool link, the overall progress bar and a picture, read and worked
// through MSAA from the driver's process, as the program's own tables name them.
SCENARIO("accessible-controls") {
    Apartment apartment;
    Session s;
    EventHook events(s.program.processId());

    // Big buttons: push buttons named by their caption without its leading spaces, unavailable when
    // disabled, placed where their windows are.
    Expect(s.enabled(kIdStart) && !s.enabled(kIdPause), L"at start the run can start and not pause");
    std::vector<Button> buttons(kRunButtons.begin(), kRunButtons.end());
    buttons.insert(buttons.end(), kListButtons.begin(), kListButtons.end());
    for (const Button& row : buttons) {
        HWND button = s.control(row.id);
        const Element read = Read(ObjectOf(button).get());
        ExpectEqual(read.role, ROLE_SYSTEM_PUSHBUTTON, L"a big button's role");
        ExpectEqual(win::ToUpper(read.name), win::ToUpper(row.caption), L"a big button's name");
        ExpectEqual(read.action, controls::kActionPress, L"a big button's action");
        Expect(Has(read.state, STATE_SYSTEM_FOCUSABLE), read.name + L" is focusable");
        ExpectEqual(Has(read.state, STATE_SYSTEM_UNAVAILABLE), !s.enabled(row.id), read.name + L" unavailable");
        RECT window;
        ::GetWindowRect(button, &window);
        Expect(SameRect(read.screen, window), read.name + L" is where its window is");
    }
    ExpectEqual(Read(ObjectOf(s.control(kIdStart)).get()).name, win::ToUpper(kRunButtons[0].caption),
                L"the start button's name, its leading spaces gone");
    ExpectEqual(ObjectOf(s.control(kIdPause))->accDoDefaultAction(Child(CHILDID_SELF)), E_ACCESSDENIED,
                L"a disabled button cannot be pressed");

    // Tab to a big button raises the focus event a screen reader follows (Wine raises it for every window
    // that takes the focus, as Windows does), and the button then reads as focused; MSAA can move the focus too.
    ClickFirstRow(s);
    HWND start = s.control(kIdStart);
    KeyPress(VK_TAB);
    Expect(WaitUntil([&] { return FocusedControl(s.main) == start; }, 3000), L"Tab reaches the start button");
    Expect(events.waitFor(EVENT_OBJECT_FOCUS, start), L"the focus event of the start button arrives");
    Expect(Has(Read(ObjectOf(start).get()).state, STATE_SYSTEM_FOCUSED), L"the start button reads as focused");
    HWND journalButton = s.control(kIdJournal);
    ExpectOk(ObjectOf(journalButton)->accSelect(SELFLAG_TAKEFOCUS, Child(CHILDID_SELF)), L"Journal takes the focus");
    Expect(WaitUntil([&] { return FocusedControl(s.main) == journalButton; }), L"Journal has the focus");

    // Its default action presses it: "Journal" opens the journal window.
    ExpectOk(ObjectOf(journalButton)->accDoDefaultAction(Child(CHILDID_SELF)), L"pressing Journal");
    HWND journal = s.program.waitForWindow(JournalWindow::kTitle);
    Close(journal);
    Expect(WaitUntil([&] { return !::IsWindow(journal) && ::IsWindowEnabled(s.main); }), L"the journal closes");

    // The explorer bar: a pane of groups named by their headers, each holding its collapse button and its
    // entries in the order of the column's table.
    HWND column = s.control(kIdLeftColumn);
    ComRef<IAccessible> bar = ObjectOf(column);
    ExpectEqual(Read(bar.get()).role, ROLE_SYSTEM_PANE, L"the explorer bar's role");
    long groups = 0, entry = 0, toolsGroup = 0, toolsLink = 0;
    ComRef<IAccessible> group;
    for (const ColumnEntry& row : kColumnEntries) {
        if (row.type == ExplorerBar::kHeader) {
            group = ChildObject(bar.get(), ++groups);
            const Element read = Read(group.get());
            ExpectEqual(read.role, ROLE_SYSTEM_GROUPING, L"a group's role");
            ExpectEqual(read.name, row.caption, L"a group's name");
            Expect(Has(read.state, STATE_SYSTEM_EXPANDED), read.name + L" is expanded");
            const Element button = Read(group.get(), 1);
            ExpectEqual(button.role, ROLE_SYSTEM_OUTLINEBUTTON, L"a collapse button's role");
            ExpectEqual(button.name, row.caption, L"a collapse button's name");
            ExpectEqual(button.action, controls::kActionCollapse, L"a collapse button's action");
            entry = 1;
            continue;
        }
        const Element read = Read(group.get(), ++entry);
        ExpectEqual(read.role, ExpectedRole(row.type), L"the role of entry " + std::wstring(row.caption));
        ExpectEqual(read.name, row.caption, L"an entry's name");
        Expect(!Has(read.state, STATE_SYSTEM_INVISIBLE) && !::IsRectEmpty(&read.screen), read.name + L" is shown");
        if (row.type == ExplorerBar::kLink) {
            ExpectEqual(read.action, controls::kActionOpen, read.name + L": its action");
            Expect(Has(read.state, STATE_SYSTEM_LINKED), read.name + L" is a link");
        }
        if (row.command == kCmdTools) {
            toolsGroup = groups;
            toolsLink = entry;
        }
        if (row.type == ExplorerBar::kContainer) {
            ComRef<IDispatch> window;
            Expect(group->get_accChild(Child(entry), window.put()) == S_OK && window,
                   L"an embedded container answers as its window");
        }
    }
    long count = 0;
    ExpectOk(bar->get_accChildCount(&count), L"the bar's child count");
    ExpectEqual(count, groups, L"the bar's children are its groups");
    Expect(toolsLink != 0, L"the column has the tools link");

    // Parents, navigation and hit testing lead where they should.
    ComRef<IDispatch> parent;
    ExpectOk(bar->get_accParent(parent.put()), L"the bar's parent");
    VARIANT role;
    const HRESULT parentRole = AsAccessible(std::move(parent), L"the bar's parent")->get_accRole(Child(0), &role);
    if (parentRole == E_NOTIMPL)
        Log(L"the bar's parent, the system's window object, answers E_NOTIMPL (Wine 8)");
    else
        Expect(parentRole == S_OK && role.lVal == ROLE_SYSTEM_WINDOW, L"the bar's parent is its window's object");
    group = ChildObject(bar.get(), toolsGroup);
    ExpectOk(group->get_accParent(parent.put()), L"a group's parent");
    ExpectEqual(Read(AsAccessible(std::move(parent), L"a group's parent").get()).role, ROLE_SYSTEM_PANE,
                L"a group's parent is the bar");
    VARIANT next;
    ExpectOk(group->accNavigate(NAVDIR_NEXT, Child(toolsLink - 1), &next), L"navigation to the next entry");
    Expect(next.vt == VT_I4 && next.lVal == toolsLink, L"the next entry follows");
    const Element tools = Read(group.get(), toolsLink);
    const POINT middle = {(tools.screen.left + tools.screen.right) / 2, (tools.screen.top + tools.screen.bottom) / 2};
    // The point finds the page's window, which answers as the bar, whose hit test gives the group, whose
    // own gives the link.
    ComRef<IAccessible> found;
    VARIANT hit;
    ExpectOk(::AccessibleObjectFromPoint(middle, found.put(), &hit), L"the object under the tools link");
    ExpectEqual(Read(found.get()).name, Read(group.get()).name, L"the group under the tools link");
    Expect(hit.vt == VT_I4 && hit.lVal == toolsLink, L"the link under its middle");
    // What a client that lists the children gets: the groups, as objects.
    VARIANT children[kColumnEntries.size()];
    LONG listed = 0;
    ExpectOk(::AccessibleChildren(bar.get(), 0, count, children, &listed), L"listing the bar's children");
    ExpectEqual(listed, count, L"every group listed");
    for (LONG i = 0; i < listed; ++i) {
        Expect(children[i].vt == VT_DISPATCH, L"a group is listed as an object");
        ::VariantClear(&children[i]);
    }

    // A collapse button collapses and expands its group and says so.
    ComRef<IAccessible> last = ChildObject(bar.get(), groups);
    ExpectOk(last->accDoDefaultAction(Child(1)), L"collapsing the last group");
    Expect(WaitUntil([&] { return Has(Read(last.get()).state, STATE_SYSTEM_COLLAPSED); }), L"the group collapses");
    Expect(Has(Read(last.get(), 2).state, STATE_SYSTEM_INVISIBLE), L"a collapsed group's entry is invisible");
    ExpectEqual(Read(last.get(), 1).action, controls::kActionExpand, L"a collapsed group's button expands");
    Expect(events.waitFor(EVENT_OBJECT_STATECHANGE, column, groups), L"the bar tells of the collapse");
    ExpectOk(last->accDoDefaultAction(Child(1)), L"expanding the last group");
    Expect(WaitUntil([&] { return Has(Read(last.get()).state, STATE_SYSTEM_EXPANDED); }), L"the group expands");

    // A link's default action is its click: "Outils Windows" shows the tools view.
    ExpectOk(group->accDoDefaultAction(Child(toolsLink)), L"opening the tools link");
    Expect(WaitUntil([&] { return s.visible(kIdToolsView); }), L"the tools view shows");

    // A tool link: a link named by its text, described by the text under it; on a hidden tab, invisible.
    HWND view = s.control(kIdToolsView);
    for (int number = 1; number <= kToolCount; ++number) {
        const ToolItem& item = ToolItemAt(number);
        const Element read = Read(ObjectOf(FindChildById(view, kToolLinkFirst + number)).get());
        ExpectEqual(read.role, ROLE_SYSTEM_LINK, L"a tool link's role");
        ExpectEqual(read.name, item.link, L"a tool link's name");
        ExpectEqual(read.description, item.description ? item.description : L"", L"a tool link's description");
        ExpectEqual(read.action, controls::kActionOpen, L"a tool link's action");
        ExpectEqual(Has(read.state, STATE_SYSTEM_INVISIBLE), item.tab != kTabUtilities,
                    read.name + L" is shown with its tab only");
    }
    s.command(kCmdHome);
    Expect(WaitUntil([&] { return !s.visible(kIdToolsView); }), L"the destruction view is back");

    // The overall progress bar: its value is the percentage it shows, and a change of it is told.
    HWND overall = s.control(kIdOverallBar);
    ComRef<IAccessible> progress = ObjectOf(overall);
    Element read = Read(progress.get());
    ExpectEqual(read.role, ROLE_SYSTEM_PROGRESSBAR, L"the progress bar's role");
    ExpectEqual(read.name, kOverallTipTitle, L"the progress bar's name");
    ExpectEqual(read.value, L"0%", L"the progress bar's value at start");
    ExpectEqual(Read(ObjectOf(s.control(kIdPointerBar)).get()).name, Text(s.control(kIdPointerCaption)),
                L"a bar of the details is named by its caption");
    ::SendMessageW(overall, PBM_SETPOS, 42, 0);
    ExpectEqual(Read(progress.get()).value, L"42%", L"the progress bar's value");
    Expect(events.waitFor(EVENT_OBJECT_VALUECHANGE, overall), L"the value change is told");
    ::SendMessageW(overall, PBM_SETPOS, 0, 0);

    // Pictures are graphics with a name; an object whose window is gone answers that it is disconnected.
    ExpectEqual(Read(ObjectOf(s.control(kIdCorner)).get()).name, kCornerPictureName, L"the corner picture's name");
    s.command(kCmdAbout);
    HWND about = s.program.waitForWindow(AboutWindow::kTitle);
    HWND art = FindChildById(about, AboutWindow::kIdArt);
    ComRef<IAccessible> picture = ObjectOf(art);
    read = Read(picture.get());
    ExpectEqual(read.role, ROLE_SYSTEM_GRAPHIC, L"a picture's role");
    ExpectEqual(read.name, Text(art), L"a picture's name");
    Close(about);
    Expect(WaitUntil([&] { return !::IsWindow(about) && ::IsWindowVisible(s.main); }), L"About closes");
    BSTR name = nullptr;
    ExpectEqual(picture->get_accName(Child(CHILDID_SELF), &name), RPC_E_DISCONNECTED,
                L"the picture's object once its window is gone");
    s.quit();
}
