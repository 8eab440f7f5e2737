#pragma once

// What screen readers and automation tools read of the controls the program draws itself: MSAA objects
// (IAccessible; UI Automation's proxy reads them too), answered from each control's WM_GETOBJECT.
//
// A control describes itself and its items (child ids 1..n for items that are not windows) through a small
// subclass of controls::Accessible; the COM plumbing, the reference count, navigation, hit testing and the
// checks of the arguments live here once. An object holds its window weakly: once the window is gone (a
// client may keep the object as long as it likes), every call answers RPC_E_DISCONNECTED.
//
// Objects are served to other processes by COM's standard marshalling, so the thread that owns the
// controls must be in a single-threaded apartment (the program initialises one at start-up).

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <utility>

namespace controls {

// An owned COM reference.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference already counted for the caller.
    explicit ComRef(T* owned) : pointer_(owned) {}
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    // From a reference to a derived type.
    template <typename U>
    ComRef(ComRef<U>&& other) noexcept : pointer_(other.release()) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // Hands the reference to the caller.
    T* release() { return std::exchange(pointer_, nullptr); }
    void reset() {
        if (T* old = std::exchange(pointer_, nullptr))
            old->Release();
    }
    // For calls that return a counted reference through an out parameter.
    T** put() {
        reset();
        return &pointer_;
    }

private:
    T* pointer_ = nullptr;
};

// One element as an assistive tool reads it: the control itself (CHILDID_SELF) or one of its items.
struct AccessibleInfo {
    long role = ROLE_SYSTEM_CLIENT;
    std::wstring name;
    std::wstring value;
    std::wstring description;
    std::wstring action;  // the default action's name; none when empty
    long state = 0;
    RECT screen = {};  // on the screen; empty when the element is not shown
};

// The default actions' names, in the program's language.
inline constexpr wchar_t kActionPress[] = L"Appuyer";
inline constexpr wchar_t kActionOpen[] = L"Ouvrir";
inline constexpr wchar_t kActionCollapse[] = L"Réduire";
inline constexpr wchar_t kActionExpand[] = L"Développer";

// A caption as a name: without the spaces some captions start with to stand clear of their icon.
std::wstring AccessibleName(const std::wstring& caption);
// The window's text, as a name.
std::wstring WindowName(HWND window);
// The window's rectangle on the screen, empty while it is hidden.
RECT ScreenRect(HWND window);
// The states every window-backed element shares: unavailable, invisible, focused (with focusable).
long WindowStates(HWND window, bool focusable);

class Accessible : public IAccessible {
public:
    Accessible(const Accessible&) = delete;
    Accessible& operator=(const Accessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch, through the Accessibility type library: late-bound clients, and the stubs that carry a
    // call across processes where they go through Invoke, reach the same methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override;

protected:
    explicit Accessible(HWND window) : window_(window) {}
    // Only Release destroys an object: its count says when no client holds it any more.
    virtual ~Accessible() = default;

    HWND window() const { return window_; }

    // What a control describes. Describe fills the element (0: the control itself) and answers false once
    // the control's record is gone with its window.
    virtual long ChildCount() const { return 0; }
    virtual bool Describe(long child, AccessibleInfo& info) const = 0;
    // A child that has children of its own is an object; null for a simple element.
    virtual ComRef<IDispatch> ChildObject(long) const { return {}; }
    // The default action, asked only of an element that has one and is available (E_ACCESSDENIED goes back
    // otherwise). Never waits on what the action opens: the client waits for the answer.
    virtual HRESULT DoAction(long) { return DISP_E_MEMBERNOTFOUND; }
    // By default, the window's standard object, as for any window's client area.
    virtual ComRef<IDispatch> ParentObject() const;

private:
    // IAccessible's description in the registered type library; null when it cannot be loaded.
    ITypeInfo* TypeInfo();
    // The child id in a VARIANT, checked against the children; -1 when it is none of them.
    long ChildId(const VARIANT& child) const;
    // The element, or an error: RPC_E_DISCONNECTED once the window is gone, E_INVALIDARG for no such child.
    HRESULT Lookup(const VARIANT& child, AccessibleInfo& info) const;
    // A text of the element: S_FALSE and null when it is empty.
    HRESULT Text(const VARIANT& child, std::wstring AccessibleInfo::*field, BSTR* text) const;
    HRESULT Number(const VARIANT& child, long AccessibleInfo::*field, VARIANT* number) const;
    // Child `id` as a VARIANT: the object for a child that is one, its id otherwise.
    void ChildVariant(long id, VARIANT* out) const;

    HWND window_;
    LONG references_ = 1;
    ComRef<ITypeInfo> typeInfo_;
};

// A new object, counted once for the caller. Every accessible object is made here and destroyed by its
// Release: the one place where objects are created and destroyed by hand, as COM's counting asks.
template <typename T, typename... Args>
ComRef<T> MakeAccessible(Args&&... args) {
    return ComRef<T>(new T(std::forward<Args>(args)...));
}

// The answer to WM_GETOBJECT for the client area: hands the object to the asking process. When it cannot be
// handed over, LresultFromObject's error, which the client's call then returns.
LRESULT AnswerGetObject(ComRef<Accessible> object, WPARAM wParam);
// True when WM_GETOBJECT's lParam asks for the client area's object; every other request goes on to the
// window's usual procedure.
inline bool AsksForClient(LPARAM lParam) {
    return static_cast<LONG>(lParam) == OBJID_CLIENT;
}

// Events for assistive tools, about a window's client object or one of its items. The system itself tells
// of a window that takes the focus (Wine 8 too); the controls' items never take it.
void NotifyStateChange(HWND window, long child = CHILDID_SELF);
void NotifyNameChange(HWND window, long child = CHILDID_SELF);
void NotifyValueChange(HWND window, long child = CHILDID_SELF);

}  // namespace controls
