#include "tests/drive/TextFit.h"

#include "tests/drive/Drive.h"
#include "win/Dpi.h"
#include "win/Handle.h"

#include <commctrl.h>

namespace drive {

ProgramFonts& ProgramFonts::set(int id, FontRole role) {
    roles_[id] = role;
    return *this;
}

HFONT ProgramFonts::of(HWND control) const {
    const auto found = roles_.find(::GetDlgCtrlID(control));
    return get(found == roles_.end() ? FontRole::Dialog : found->second);
}

namespace {

// A block of the program's memory, for the header and tab messages that take a pointer.
class Remote {
public:
    Remote(HWND window, size_t size) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        process_.reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
        address_ = process_ ? ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE) : nullptr;
        if (!address_)
            Fail(L"cannot reach the program's memory");
    }
    ~Remote() { ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE); }
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;

    LPARAM at(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
    void write(const void* data, size_t size) { ::WriteProcessMemory(process_.get(), address_, data, size, nullptr); }
    void read(void* data, size_t size, size_t offset = 0) const {
        ::ReadProcessMemory(process_.get(), static_cast<const char*>(address_) + offset, data, size, nullptr);
    }

private:
    win::UniqueHandle process_;
    void* address_ = nullptr;
};

constexpr int kTextRoom = 512;

// Text and rectangle (in its control's client pixels) of one header or tab item.
struct Item {
    std::wstring text;
    RECT place = {};
    bool image = false;
};

std::vector<Item> HeaderItems(HWND header) {
    std::vector<Item> items;
    const int count = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    Remote remote(header, sizeof(HDITEMW) + sizeof(RECT) + kTextRoom * sizeof(wchar_t));
    for (int index = 0; index < count; ++index) {
        HDITEMW item = {};
        item.mask = HDI_TEXT | HDI_FORMAT;
        item.pszText = reinterpret_cast<wchar_t*>(remote.at(sizeof(HDITEMW) + sizeof(RECT)));
        item.cchTextMax = kTextRoom;
        remote.write(&item, sizeof(item));
        ::SendMessageW(header, HDM_GETITEMW, index, remote.at());
        ::SendMessageW(header, HDM_GETITEMRECT, index, remote.at(sizeof(HDITEMW)));
        Item found;
        wchar_t text[kTextRoom] = {};
        remote.read(text, sizeof(text) - sizeof(wchar_t), sizeof(HDITEMW) + sizeof(RECT));
        remote.read(&item, sizeof(item));
        remote.read(&found.place, sizeof(RECT), sizeof(HDITEMW));
        found.text = text;
        found.image = (item.fmt & (HDF_IMAGE | HDF_BITMAP)) != 0;
        items.push_back(found);
    }
    return items;
}

std::vector<Item> TabItems(HWND tabs) {
    std::vector<Item> items;
    const int count = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    Remote remote(tabs, sizeof(TCITEMW) + sizeof(RECT) + kTextRoom * sizeof(wchar_t));
    for (int index = 0; index < count; ++index) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = reinterpret_cast<wchar_t*>(remote.at(sizeof(TCITEMW) + sizeof(RECT)));
        item.cchTextMax = kTextRoom;
        remote.write(&item, sizeof(item));
        ::SendMessageW(tabs, TCM_GETITEMW, index, remote.at());
        ::SendMessageW(tabs, TCM_GETITEMRECT, index, remote.at(sizeof(TCITEMW)));
        Item found;
        wchar_t text[kTextRoom] = {};
        remote.read(text, sizeof(text) - sizeof(wchar_t), sizeof(TCITEMW) + sizeof(RECT));
        remote.read(&item, sizeof(item));
        remote.read(&found.place, sizeof(RECT), sizeof(TCITEMW));
        found.text = text;
        found.image = item.iImage >= 0;
        items.push_back(found);
    }
    return items;
}

std::wstring ComboItem(HWND combo, int index) {
    const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length <= 0)
        return {};
    // CB_GETLBTEXT crosses processes: the system copies the item back into this buffer.
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

// Measures texts in one font on a screen DC.
class Measure {
public:
    explicit Measure(HFONT font) : dc_(::GetDC(nullptr)), old_(::SelectObject(dc_, font)) {}
    ~Measure() {
        ::SelectObject(dc_, old_);
        ::ReleaseDC(nullptr, dc_);
    }
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;

    // One line, prefixes (&) shown as the controls show them unless told.
    SIZE line(const std::wstring& text, bool prefixes = true) const { return block(text, 0, prefixes); }
    // Lines wrapped as DrawText wraps them in width pixels (0: no wrapping).
    SIZE block(const std::wstring& text, int width, bool prefixes = true) const {
        RECT box = {0, 0, width, 0};
        const UINT flags = DT_CALCRECT | DT_EXPANDTABS | (width ? DT_WORDBREAK : 0) | (prefixes ? 0 : DT_NOPREFIX);
        ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &box, flags);
        return {box.right - box.left, box.bottom - box.top};
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A control's text without the blanks that end it: they draw nothing, so they may run past the edge.
std::wstring InkText(HWND control) {
    std::wstring text = Text(control);
    text.erase(text.find_last_not_of(L" \t") + 1);
    return text;
}

SIZE ClientOf(HWND control) {
    RECT client = {};
    ::GetClientRect(control, &client);
    return {client.right, client.bottom};
}

class Collector {
public:
    explicit Collector(const ProgramFonts& fonts) : fonts_(fonts), scale_(fonts.dpi()) {}

    void control(HWND control) {
        const std::wstring kind = ClassName(control);
        const LONG style = ::GetWindowLongW(control, GWL_STYLE);
        if (!_wcsicmp(kind.c_str(), WC_STATICW))
            statik(control, style);
        else if (!_wcsicmp(kind.c_str(), WC_BUTTONW))
            button(control, style);
        else if (!_wcsicmp(kind.c_str(), WC_EDITW))
            edit(control, style);
        else if (!_wcsicmp(kind.c_str(), WC_COMBOBOXW))
            combo(control);
        else if (!_wcsicmp(kind.c_str(), WC_TABCONTROLW))
            items(control, TabItems(control), scale_(6));
        else if (!_wcsicmp(kind.c_str(), WC_HEADERW))
            items(control, HeaderItems(control), 3 * win::MetricFor(SM_CXEDGE, scale_.dpi()));
    }

    int measured = 0;
    std::vector<TextMisfit> misfits;

private:
    void check(HWND control, const std::wstring& text, SIZE needed, SIZE room) {
        ++measured;
        if (needed.cx > room.cx || needed.cy > room.cy)
            misfits.push_back({control, ClassName(control), ::GetDlgCtrlID(control), text, needed, room});
    }

    void statik(HWND control, LONG style) {
        const LONG type = style & SS_TYPEMASK;
        const bool drawsText =
            type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
        // A static that ends its text with an ellipsis shows what fits by design (a path, a file's name).
        const std::wstring text = InkText(control);
        if (!drawsText || (style & SS_ELLIPSISMASK) || text.empty())
            return;
        const Measure measure(fonts_.of(control));
        const SIZE room = ClientOf(control);
        const bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
        check(control, text, measure.block(text, wraps ? room.cx : 0, !(style & SS_NOPREFIX)), room);
    }

    void button(HWND control, LONG style) {
        const LONG type = style & BS_TYPEMASK;
        const std::wstring text = InkText(control);
        if (type == BS_OWNERDRAW || type == BS_USERBUTTON || text.empty())
            return;
        const Measure measure(fonts_.of(control));
        SIZE room = ClientOf(control);
        const int edge = win::MetricFor(SM_CXEDGE, scale_.dpi());
        switch (type) {
            case BS_GROUPBOX:
                // The title sits on the frame, inset from both ends.
                room.cx -= 2 * scale_(7);
                break;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE:
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
                // The box, and the gap between the box and the caption.
                room.cx -= scale_(13) + scale_(4);
                break;
            default:
                room.cx -= 2 * (edge + 1);
                room.cy -= 2 * (edge + 1);
                break;
        }
        const bool wraps = (style & BS_MULTILINE) != 0;
        SIZE needed = measure.block(text, wraps ? room.cx : 0);
        if (type == BS_GROUPBOX)
            needed.cy = 0;  // the frame's height is not the title's
        check(control, text, needed, room);
    }

    void edit(HWND control, LONG style) {
        wchar_t parent[64] = {};
        ::GetClassNameW(::GetParent(control), parent, 64);
        const std::wstring text = Text(control);
        // A combo box's own edit is measured with its combo box; a multi-line edit scrolls.
        if ((style & ES_MULTILINE) || !_wcsicmp(parent, WC_COMBOBOXW) || text.empty())
            return;
        const Measure measure(fonts_.of(control));
        const LRESULT margins = ::SendMessageW(control, EM_GETMARGINS, 0, 0);
        SIZE room = ClientOf(control);
        room.cx -= LOWORD(margins) + HIWORD(margins);
        check(control, text, measure.line(text, false), room);
    }

    void combo(HWND control) {
        const Measure measure(fonts_.of(control));
        // GetComboBoxInfo reads only the driver's own combo boxes under Wine: ask the control in its memory.
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        Remote remote(control, sizeof(info));
        remote.write(&info, sizeof(info));
        if (!::SendMessageW(control, CB_GETCOMBOBOXINFO, 0, remote.at()))
            Fail(L"no combo box information for control " + std::to_wstring(::GetDlgCtrlID(control)));
        remote.read(&info, sizeof(info));
        // Any item can be the one the face shows; the list shows them all.
        const SIZE face = {info.rcItem.right - info.rcItem.left, info.rcItem.bottom - info.rcItem.top};
        const SIZE list = {static_cast<LONG>(::SendMessageW(control, CB_GETDROPPEDWIDTH, 0, 0)) - 2 * scale_(2),
                           face.cy};
        const int count = static_cast<int>(::SendMessageW(control, CB_GETCOUNT, 0, 0));
        for (int index = 0; index < count; ++index) {
            const std::wstring text = ComboItem(control, index);
            const SIZE needed = measure.line(text, false);
            check(control, text, needed, face);
            check(control, text, needed, list);
        }
    }

    void items(HWND control, const std::vector<Item>& found, int padding) {
        const Measure measure(fonts_.of(control));
        for (const Item& item : found) {
            if (item.text.empty())
                continue;
            SIZE room = {item.place.right - item.place.left - 2 * padding, item.place.bottom - item.place.top};
            if (item.image)
                room.cx -= win::MetricFor(SM_CXSMICON, scale_.dpi()) + scale_(3);
            check(control, item.text, measure.line(item.text), room);
        }
    }

    const ProgramFonts& fonts_;
    win::Scale scale_;
};

}  // namespace

SIZE TextExtent(HFONT font, const std::wstring& text) {
    return Measure(font).line(text, false);
}

namespace {

Collector Collect(HWND window, const ProgramFonts& fonts) {
    Collector collector(fonts);
    for (HWND child : Children(window)) {
        if (::IsWindowVisible(child))
            collector.control(child);
    }
    return collector;
}

}  // namespace

std::vector<TextMisfit> TextMisfits(HWND window, const ProgramFonts& fonts) {
    return Collect(window, fonts).misfits;
}

std::wstring Describe(const TextMisfit& misfit) {
    return misfit.className + L" " + std::to_wstring(misfit.id) + L" \"" + misfit.text + L"\": " +
           std::to_wstring(misfit.needed.cx) + L"x" + std::to_wstring(misfit.needed.cy) + L" in " +
           std::to_wstring(misfit.room.cx) + L"x" + std::to_wstring(misfit.room.cy);
}

void ExpectTextsFit(HWND window, const ProgramFonts& fonts, const std::wstring& what) {
    const Collector collector = Collect(window, fonts);
    std::wstring list;
    for (const TextMisfit& misfit : collector.misfits)
        list += L"\n  " + Describe(misfit);
    Log(what + L": " + std::to_wstring(collector.measured) + L" texts measured at " + std::to_wstring(fonts.dpi()) +
        L" DPI" + list);
    Expect(collector.misfits.empty(), what + L": every text fits its control");
}

}  // namespace drive
