#pragma once

#include <windows.h>

#include <utility>

namespace win {

// Move-only owner of a Win32 handle-like value. Traits give the empty value and the close call, so that
// CreateFileW's INVALID_HANDLE_VALUE and CreateEventW's NULL are each treated as "no handle".
template <typename Traits>
class Unique {
public:
    using value_type = typename Traits::type;

    Unique() = default;
    explicit Unique(value_type value) : value_(value) {}
    ~Unique() { reset(); }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    value_type get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::empty(); }
    value_type release() { return std::exchange(value_, Traits::empty()); }
    void reset(value_type value = Traits::empty()) {
        value_type old = std::exchange(value_, value);
        if (old != Traits::empty())
            Traits::close(old);
    }
    // For APIs that return the handle through an out parameter.
    value_type* put() {
        reset();
        return &value_;
    }

private:
    value_type value_ = Traits::empty();
};

struct HandleTraits {
    using type = HANDLE;
    static type empty() { return nullptr; }
    static void close(type h) { ::CloseHandle(h); }
};
struct FileTraits {
    using type = HANDLE;
    static type empty() { return INVALID_HANDLE_VALUE; }
    static void close(type h) { ::CloseHandle(h); }
};
struct FindTraits {
    using type = HANDLE;
    static type empty() { return INVALID_HANDLE_VALUE; }
    static void close(type h) { ::FindClose(h); }
};
struct RegKeyTraits {
    using type = HKEY;
    static type empty() { return nullptr; }
    static void close(type h) { ::RegCloseKey(h); }
};
struct ModuleTraits {
    using type = HMODULE;
    static type empty() { return nullptr; }
    static void close(type h) { ::FreeLibrary(h); }
};
template <typename T>
struct GdiObjectTraits {
    using type = T;
    static type empty() { return nullptr; }
    static void close(type h) { ::DeleteObject(h); }
};
struct IconTraits {
    using type = HICON;
    static type empty() { return nullptr; }
    static void close(type h) { ::DestroyIcon(h); }
};
struct MemoryDcTraits {
    using type = HDC;
    static type empty() { return nullptr; }
    static void close(type h) { ::DeleteDC(h); }
};
struct MenuTraits {
    using type = HMENU;
    static type empty() { return nullptr; }
    static void close(type h) { ::DestroyMenu(h); }
};

// GlobalAlloc memory, as the clipboard takes it: SetClipboardData owns it only once it has succeeded.
struct GlobalTraits {
    using type = HGLOBAL;
    static type empty() { return nullptr; }
    static void close(type h) { ::GlobalFree(h); }
};

using UniqueHandle = Unique<HandleTraits>;  // events, threads, processes, mutexes
using UniqueFile = Unique<FileTraits>;      // CreateFileW results
using UniqueFind = Unique<FindTraits>;      // FindFirstFileW results
using UniqueRegKey = Unique<RegKeyTraits>;
using UniqueModule = Unique<ModuleTraits>;
using UniqueBitmap = Unique<GdiObjectTraits<HBITMAP>>;
using UniqueFont = Unique<GdiObjectTraits<HFONT>>;
using UniqueBrush = Unique<GdiObjectTraits<HBRUSH>>;
using UniqueIcon = Unique<IconTraits>;
using UniqueMemoryDc = Unique<MemoryDcTraits>;
using UniqueMenu = Unique<MenuTraits>;
using UniqueGlobal = Unique<GlobalTraits>;

// Selects a GDI object into a device context and puts the previous one back on scope exit.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectGuard() {
        if (old_ && old_ != HGDI_ERROR)
            ::SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's device context from GetDC, released on scope exit.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace win
