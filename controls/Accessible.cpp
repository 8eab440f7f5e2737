#include "controls/Accessible.h"

#include <vector>

namespace controls {

namespace {

// Never a leading or trailing space, nor a line break: a reader speaks them or stumbles on them.
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

BSTR ToBstr(const std::wstring& text) {
    return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace

std::wstring AccessibleName(const std::wstring& caption) {
    size_t first = 0, last = caption.size();
    while (first < last && IsBlank(caption[first]))
        ++first;
    while (last > first && IsBlank(caption[last - 1]))
        --last;
    return caption.substr(first, last - first);
}

std::wstring WindowName(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    return AccessibleName(std::wstring(text.data(), copied > 0 ? copied : 0));
}

RECT ScreenRect(HWND window) {
    RECT rect = {};
    if (::IsWindowVisible(window))
        ::GetWindowRect(window, &rect);
    return rect;
}

long WindowStates(HWND window, bool focusable) {
    long state = 0;
    if (!::IsWindowVisible(window))
        state |= STATE_SYSTEM_INVISIBLE;
    if (!::IsWindowEnabled(window))
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (focusable) {
        state |= STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == window)
            state |= STATE_SYSTEM_FOCUSED;
    }
    return state;
}

HRESULT Accessible::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Accessible::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&references_));
}

ULONG Accessible::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    // The only place an accessible object is destroyed: the last client let it go. MakeAccessible is the
    // only place one is made.
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

ITypeInfo* Accessible::TypeInfo() {
    if (!typeInfo_) {
        ComRef<ITypeLib> library;
        if (SUCCEEDED(::LoadRegTypeLib(LIBID_Accessibility, 1, 1, LOCALE_NEUTRAL, library.put())))
            library->GetTypeInfoOfGuid(IID_IAccessible, typeInfo_.put());
    }
    return typeInfo_.get();
}

HRESULT Accessible::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = TypeInfo() ? 1 : 0;
    return S_OK;
}

HRESULT Accessible::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    if (!TypeInfo())
        return TYPE_E_CANTLOADLIBRARY;
    *info = typeInfo_.get();
    (*info)->AddRef();
    return S_OK;
}

HRESULT Accessible::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return TypeInfo() ? ::DispGetIDsOfNames(typeInfo_.get(), names, count, ids) : TYPE_E_CANTLOADLIBRARY;
}

HRESULT Accessible::Invoke(DISPID member,
                           REFIID,
                           LCID,
                           WORD flags,
                           DISPPARAMS* parameters,
                           VARIANT* result,
                           EXCEPINFO* exception,
                           UINT* wrongArgument) {
    if (!TypeInfo())
        return TYPE_E_CANTLOADLIBRARY;
    return ::DispInvoke(static_cast<IAccessible*>(this), typeInfo_.get(), member, flags, parameters, result, exception,
                        wrongArgument);
}

ComRef<IDispatch> Accessible::ParentObject() const {
    ComRef<IDispatch> parent;
    ::CreateStdAccessibleObject(window_, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(parent.put()));
    return parent;
}

long Accessible::ChildId(const VARIANT& child) const {
    if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > ChildCount())
        return -1;
    return child.lVal;
}

HRESULT Accessible::Lookup(const VARIANT& child, AccessibleInfo& info) const {
    if (!::IsWindow(window_))
        return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    if (id < 0)
        return E_INVALIDARG;
    return Describe(id, info) ? S_OK : RPC_E_DISCONNECTED;
}

HRESULT Accessible::Text(const VARIANT& child, std::wstring AccessibleInfo::*field, BSTR* text) const {
    if (!text)
        return E_POINTER;
    *text = nullptr;
    AccessibleInfo info;
    const HRESULT found = Lookup(child, info);
    if (FAILED(found))
        return found;
    const std::wstring& value = info.*field;
    if (value.empty())
        return S_FALSE;
    *text = ToBstr(value);
    return *text ? S_OK : E_OUTOFMEMORY;
}

HRESULT Accessible::Number(const VARIANT& child, long AccessibleInfo::*field, VARIANT* number) const {
    if (!number)
        return E_POINTER;
    ::VariantInit(number);
    AccessibleInfo info;
    const HRESULT found = Lookup(child, info);
    if (FAILED(found))
        return found;
    number->vt = VT_I4;
    number->lVal = info.*field;
    return S_OK;
}

void Accessible::ChildVariant(long id, VARIANT* out) const {
    ::VariantInit(out);
    if (id > 0) {
        if (ComRef<IDispatch> object = ChildObject(id)) {
            out->vt = VT_DISPATCH;
            out->pdispVal = object.release();
            return;
        }
    }
    out->vt = VT_I4;
    out->lVal = id;
}

HRESULT Accessible::get_accParent(IDispatch** parent) {
    if (!parent)
        return E_POINTER;
    *parent = nullptr;
    if (!::IsWindow(window_))
        return RPC_E_DISCONNECTED;
    *parent = ParentObject().release();
    return *parent ? S_OK : S_FALSE;
}

HRESULT Accessible::get_accChildCount(long* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    if (!::IsWindow(window_))
        return RPC_E_DISCONNECTED;
    *count = ChildCount();
    return S_OK;
}

HRESULT Accessible::get_accChild(VARIANT child, IDispatch** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!::IsWindow(window_))
        return RPC_E_DISCONNECTED;
    const long id = ChildId(child);
    if (id <= 0)
        return E_INVALIDARG;
    // A simple element has no object of its own: the client asks this one with the child's id.
    *object = ChildObject(id).release();
    return *object ? S_OK : S_FALSE;
}

HRESULT Accessible::get_accName(VARIANT child, BSTR* name) {
    return Text(child, &AccessibleInfo::name, name);
}

HRESULT Accessible::get_accValue(VARIANT child, BSTR* value) {
    return Text(child, &AccessibleInfo::value, value);
}

HRESULT Accessible::get_accDescription(VARIANT child, BSTR* description) {
    return Text(child, &AccessibleInfo::description, description);
}

HRESULT Accessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    return Text(child, &AccessibleInfo::action, action);
}

HRESULT Accessible::get_accRole(VARIANT child, VARIANT* role) {
    return Number(child, &AccessibleInfo::role, role);
}

HRESULT Accessible::get_accState(VARIANT child, VARIANT* state) {
    return Number(child, &AccessibleInfo::state, state);
}

HRESULT Accessible::get_accHelp(VARIANT child, BSTR* help) {
    if (!help)
        return E_POINTER;
    *help = nullptr;
    AccessibleInfo info;
    const HRESULT found = Lookup(child, info);
    return FAILED(found) ? found : S_FALSE;
}

HRESULT Accessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    if (!file || !topic)
        return E_POINTER;
    *file = nullptr;
    *topic = -1;
    AccessibleInfo info;
    const HRESULT found = Lookup(child, info);
    return FAILED(found) ? found : S_FALSE;
}

HRESULT Accessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    if (!shortcut)
        return E_POINTER;
    *shortcut = nullptr;
    AccessibleInfo info;
    const HRESULT found = Lookup(child, info);
    return FAILED(found) ? found : S_FALSE;
}

HRESULT Accessible::get_accFocus(VARIANT* focus) {
    if (!focus)
        return E_POINTER;
    ::VariantInit(focus);
    if (!::IsWindow(window_))
        return RPC_E_DISCONNECTED;
    for (long id = 0, count = ChildCount(); id <= count; ++id) {
        AccessibleInfo info;
        if (Describe(id, info) && (info.state & STATE_SYSTEM_FOCUSED)) {
            ChildVariant(id, focus);
            return S_OK;
        }
    }
    return S_FALSE;
}

HRESULT Accessible::get_accSelection(VARIANT* selection) {
    if (!selection)
        return E_POINTER;
    ::VariantInit(selection);
    return ::IsWindow(window_) ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
}

HRESULT Accessible::accSelect(long flags, VARIANT child) {
    AccessibleInfo info;
    const HRESULT found = Lookup(child, info);
    if (FAILED(found))
        return found;
    // Only the control itself takes the focus; its items are not windows.
    if (flags == SELFLAG_TAKEFOCUS && child.lVal == CHILDID_SELF && (info.state & STATE_SYSTEM_FOCUSABLE)) {
        if (info.state & STATE_SYSTEM_UNAVAILABLE)
            return E_ACCESSDENIED;
        ::SetFocus(window_);  // returns the window that had the focus, null as well when none had
        return ::GetFocus() == window_ ? S_OK : E_FAIL;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT Accessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (!left || !top || !width || !height)
        return E_POINTER;
    *left = *top = *width = *height = 0;
    AccessibleInfo info;
    const HRESULT found = Lookup(child, info);
    if (FAILED(found))
        return found;
    *left = info.screen.left;
    *top = info.screen.top;
    *width = info.screen.right - info.screen.left;
    *height = info.screen.bottom - info.screen.top;
    return S_OK;
}

HRESULT Accessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end)
        return E_POINTER;
    ::VariantInit(end);
    if (!::IsWindow(window_))
        return RPC_E_DISCONNECTED;
    const long id = ChildId(start);
    if (id < 0)
        return E_INVALIDARG;
    const long count = ChildCount();
    long target = 0;
    switch (direction) {
        case NAVDIR_FIRSTCHILD:
        case NAVDIR_LASTCHILD:
            if (id != CHILDID_SELF)
                return E_INVALIDARG;
            target = direction == NAVDIR_FIRSTCHILD ? 1 : count;
            break;
        // The items stand in one column or one row: the spatial directions go to the neighbours.
        case NAVDIR_NEXT:
        case NAVDIR_DOWN:
        case NAVDIR_RIGHT:
            target = id == CHILDID_SELF ? 0 : id + 1;
            break;
        case NAVDIR_PREVIOUS:
        case NAVDIR_UP:
        case NAVDIR_LEFT:
            target = id == CHILDID_SELF ? 0 : id - 1;
            break;
        default:
            return E_INVALIDARG;
    }
    // The control's own siblings are its parent's to give.
    if (target < 1 || target > count)
        return S_FALSE;
    ChildVariant(target, end);
    return S_OK;
}

HRESULT Accessible::accHitTest(long x, long y, VARIANT* child) {
    if (!child)
        return E_POINTER;
    ::VariantInit(child);
    if (!::IsWindow(window_))
        return RPC_E_DISCONNECTED;
    const POINT at = {x, y};
    AccessibleInfo self;
    if (!Describe(CHILDID_SELF, self))
        return RPC_E_DISCONNECTED;
    if (!::PtInRect(&self.screen, at))
        return S_FALSE;
    for (long id = 1, count = ChildCount(); id <= count; ++id) {
        AccessibleInfo info;
        if (Describe(id, info) && !(info.state & STATE_SYSTEM_INVISIBLE) && ::PtInRect(&info.screen, at)) {
            ChildVariant(id, child);
            return S_OK;
        }
    }
    child->vt = VT_I4;
    child->lVal = CHILDID_SELF;
    return S_OK;
}

HRESULT Accessible::accDoDefaultAction(VARIANT child) {
    AccessibleInfo info;
    const HRESULT found = Lookup(child, info);
    if (FAILED(found))
        return found;
    if (info.action.empty())
        return DISP_E_MEMBERNOTFOUND;
    if (info.state & STATE_SYSTEM_UNAVAILABLE)
        return E_ACCESSDENIED;
    return DoAction(child.lVal);
}

HRESULT Accessible::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT Accessible::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

LRESULT AnswerGetObject(ComRef<Accessible> object, WPARAM wParam) {
    // The marshalled object keeps its own reference; ours goes with `object`. A failure is the documented
    // answer too: the client's call then fails with it rather than read a different object.
    return object ? ::LresultFromObject(IID_IAccessible, wParam, object.get()) : 0;
}

void NotifyStateChange(HWND window, long child) {
    ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, child);
}

void NotifyNameChange(HWND window, long child) {
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, child);
}

void NotifyValueChange(HWND window, long child) {
    ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, child);
}

}  // namespace controls
