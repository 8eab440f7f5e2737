// The explorer bar as assistive tools read it: a pane whose children are its groups (objects of their own)
// and any entry placed before the first header. A group is named by its header and holds, as child ids, its
// collapse button (headers that collapse) and then its entries: links, labels, separators, and embedded
// containers, which are windows and answer as such.
#include "controls/Accessible.h"
#include "controls/ExplorerBarRecord.h"

#include <vector>

namespace ExplorerBar::detail {

namespace {

using controls::AccessibleInfo;
using controls::ComRef;

// The bar's own children: the index of each group's header, or of an entry before the first header.
std::vector<int> TopLevel(const Bar& bar) {
    std::vector<int> indexes;
    bool inGroup = false;
    for (size_t i = 0; i < bar.items.size(); ++i) {
        inGroup = inGroup || IsHeader(*bar.items[i]);
        if (!inGroup || IsHeader(*bar.items[i]))
            indexes.push_back(static_cast<int>(i));
    }
    return indexes;
}

// A group's children: its collapse button (-1) if the header collapses, then its entries' indexes.
std::vector<int> GroupChildren(const Bar& bar, int header) {
    std::vector<int> children;
    if (bar.items[header]->type == kHeader)
        children.push_back(-1);
    for (size_t i = header + 1; i < bar.items.size() && !IsHeader(*bar.items[i]); ++i)
        children.push_back(static_cast<int>(i));
    return children;
}

int IndexOf(const Bar& bar, const Item* item) {
    for (size_t i = 0; i < bar.items.size(); ++i) {
        if (bar.items[i].get() == item)
            return static_cast<int>(i);
    }
    return -1;
}

RECT OnScreen(const Bar& bar, RECT page) {
    if (::IsRectEmpty(&page) || !::IsWindowVisible(bar.page))
        return {};
    ::MapWindowPoints(bar.page, nullptr, reinterpret_cast<POINT*>(&page), 2);
    return page;
}

// The states every part of the bar shares: unavailable with the bar, invisible when not shown, off screen
// when scrolled out of the bar's window.
long SharedStates(const Bar& bar, bool shown, const RECT& screen) {
    long state = controls::WindowStates(bar.outer, false) & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE);
    if (!shown)
        return state | STATE_SYSTEM_INVISIBLE;
    RECT view = {}, common = {};
    ::GetClientRect(bar.outer, &view);
    ::MapWindowPoints(bar.outer, nullptr, reinterpret_cast<POINT*>(&view), 2);
    if (!::IntersectRect(&common, &view, &screen))
        state |= STATE_SYSTEM_OFFSCREEN;
    return state;
}

long Expansion(const Item& header) {
    if (header.type != kHeader)
        return 0;
    return header.collapsed ? STATE_SYSTEM_COLLAPSED : STATE_SYSTEM_EXPANDED;
}

void DescribeGroup(const Bar& bar, int header, AccessibleInfo& info) {
    const Item& item = *bar.items[header];
    RECT client = {};
    ::GetClientRect(bar.page, &client);
    RECT area = {bar.scale(kMargin), item.top, client.right - bar.scale(kMargin), item.top + item.height};
    for (int child : GroupChildren(bar, header)) {
        if (child >= 0 && bar.items[child]->shown)
            area.bottom = bar.items[child]->top + bar.items[child]->height;
    }
    info.role = ROLE_SYSTEM_GROUPING;
    info.name = controls::AccessibleName(item.caption);
    info.screen = OnScreen(bar, area);
    info.state = SharedStates(bar, item.shown, info.screen) | Expansion(item);
}

void DescribeCollapseButton(const Bar& bar, int header, AccessibleInfo& info) {
    const Item& item = *bar.items[header];
    info.role = ROLE_SYSTEM_OUTLINEBUTTON;
    info.name = controls::AccessibleName(item.caption);
    info.action = item.collapsed ? controls::kActionExpand : controls::kActionCollapse;
    info.screen = OnScreen(bar, item.hit);
    info.state = SharedStates(bar, item.shown, info.screen) | Expansion(item) |
                 (bar.hot == header ? STATE_SYSTEM_HOTTRACKED : 0);
}

void DescribeEntry(const Bar& bar, int index, AccessibleInfo& info) {
    const Item& item = *bar.items[index];
    info.name = controls::AccessibleName(item.caption);
    RECT page = item.text;
    switch (item.type) {
        case kLink:
            info.role = ROLE_SYSTEM_LINK;
            info.action = controls::kActionOpen;
            break;
        case kLabel:
            info.role = ROLE_SYSTEM_STATICTEXT;
            break;
        case kSeparator:
            info.role = ROLE_SYSTEM_SEPARATOR;
            break;
        case kContainer:
            info.role = ROLE_SYSTEM_WINDOW;
            break;
    }
    if (item.type == kSeparator || (item.type == kContainer && item.shown)) {
        RECT client = {};
        ::GetClientRect(bar.page, &client);
        page = {bar.scale(kMargin), item.top, client.right - bar.scale(kMargin), item.top + item.height};
    }
    info.screen = item.shown ? OnScreen(bar, page) : RECT{};
    info.state = SharedStates(bar, item.shown, info.screen);
    if (item.type == kLink)
        info.state |= STATE_SYSTEM_LINKED | (bar.hot == index ? STATE_SYSTEM_HOTTRACKED : 0);
    else
        info.state |= STATE_SYSTEM_READONLY;
}

// An embedded container is a window: its own standard object.
ComRef<IDispatch> ContainerObject(const Item& item) {
    ComRef<IDispatch> object;
    if (item.container)
        ::AccessibleObjectFromWindow(item.container, OBJID_WINDOW, IID_IDispatch,
                                     reinterpret_cast<void**>(object.put()));
    return object;
}

class GroupObject;

class BarObject : public controls::Accessible {
public:
    explicit BarObject(HWND outer) : Accessible(outer) {}

private:
    const Bar* bar() const { return RecordOf(window()); }

    long ChildCount() const override {
        const Bar* record = bar();
        return record ? static_cast<long>(TopLevel(*record).size()) : 0;
    }

    bool Describe(long child, AccessibleInfo& info) const override;
    ComRef<IDispatch> ChildObject(long child) const override;

    HRESULT DoAction(long child) override {
        Bar* record = RecordOf(window());
        if (!record)
            return RPC_E_DISCONNECTED;
        // Only a link before the first header has an action of its own here; a group's are its children's.
        ActivateItem(*record, TopLevel(*record).at(child - 1));
        return S_OK;
    }
};

class GroupObject : public controls::Accessible {
public:
    GroupObject(HWND outer, const Item* header) : Accessible(outer), header_(header) {}

private:
    // The bar and the header's index while both still exist; the header is known by its record, so that the
    // group keeps its identity when other items come and go.
    const Bar* bar(int& header) const {
        const Bar* record = RecordOf(window());
        header = record ? IndexOf(*record, header_) : -1;
        return header >= 0 ? record : nullptr;
    }

    long ChildCount() const override {
        int header = 0;
        const Bar* record = bar(header);
        return record ? static_cast<long>(GroupChildren(*record, header).size()) : 0;
    }

    bool Describe(long child, AccessibleInfo& info) const override {
        int header = 0;
        const Bar* record = bar(header);
        if (!record)
            return false;
        if (child == CHILDID_SELF) {
            DescribeGroup(*record, header, info);
            return true;
        }
        const int index = GroupChildren(*record, header).at(child - 1);
        if (index < 0)
            DescribeCollapseButton(*record, header, info);
        else
            DescribeEntry(*record, index, info);
        return true;
    }

    ComRef<IDispatch> ChildObject(long child) const override {
        int header = 0;
        const Bar* record = bar(header);
        if (!record)
            return {};
        const int index = GroupChildren(*record, header).at(child - 1);
        return index >= 0 ? ContainerObject(*record->items[index]) : ComRef<IDispatch>();
    }

    HRESULT DoAction(long child) override {
        int header = 0;
        Bar* record = const_cast<Bar*>(bar(header));
        if (!record)
            return RPC_E_DISCONNECTED;
        const int index = GroupChildren(*record, header).at(child - 1);
        ActivateItem(*record, index < 0 ? header : index);
        return S_OK;
    }

    ComRef<IDispatch> ParentObject() const override { return controls::MakeAccessible<BarObject>(window()); }

    const Item* header_;
};

bool BarObject::Describe(long child, AccessibleInfo& info) const {
    const Bar* record = bar();
    if (!record)
        return false;
    if (child == CHILDID_SELF) {
        info.role = ROLE_SYSTEM_PANE;
        info.name = controls::WindowName(record->outer);
        info.state = controls::WindowStates(record->outer, false);
        info.screen = controls::ScreenRect(record->outer);
        return true;
    }
    const int index = TopLevel(*record).at(child - 1);
    if (IsHeader(*record->items[index]))
        DescribeGroup(*record, index, info);
    else
        DescribeEntry(*record, index, info);
    return true;
}

ComRef<IDispatch> BarObject::ChildObject(long child) const {
    const Bar* record = bar();
    if (!record)
        return {};
    const Item& item = *record->items[TopLevel(*record).at(child - 1)];
    if (IsHeader(item))
        return controls::MakeAccessible<GroupObject>(window(), &item);
    return ContainerObject(item);
}

}  // namespace

LRESULT AnswerGetObject(HWND outer, WPARAM wParam) {
    return controls::AnswerGetObject(controls::MakeAccessible<BarObject>(outer), wParam);
}

long GroupChildId(const Bar& bar, int header) {
    const std::vector<int> top = TopLevel(bar);
    for (size_t i = 0; i < top.size(); ++i) {
        if (top[i] == header)
            return static_cast<long>(i + 1);
    }
    return CHILDID_SELF;
}

}  // namespace ExplorerBar::detail
