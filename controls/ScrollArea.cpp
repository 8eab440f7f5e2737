#include "controls/ScrollArea.h"

#include "controls/Gdi.h"
#include "win/Window.h"

#include <algorithm>
#include <memory>

namespace ScrollArea {

namespace {

constexpr wchar_t kAreaClass[] = L"KestavelScrollArea";
constexpr wchar_t kPageClass[] = L"KestavelScrollPage";

struct State {
    HWND page = nullptr;
    int innerWidth = 0;
    int innerHeight = 0;
    int step = 10;
    int position = 0;
    COLORREF back = RGB(255, 255, 255);
};

State* StateOf(HWND area) {
    wchar_t name[32] = {};
    if (!area || !::GetClassNameW(area, name, 32) || ::lstrcmpW(name, kAreaClass) != 0)
        return nullptr;
    return reinterpret_cast<State*>(::GetWindowLongPtrW(area, 0));
}

int ClientHeight(HWND area) {
    RECT client = {};
    ::GetClientRect(area, &client);
    return client.bottom;
}

// Puts the page at the scroll position and the scroll bar in line with the page and the client height.
// Changing the bar's visibility changes the client width, which sends WM_SIZE back here: the values are
// the same the second time, so the recursion stops there.
void Update(HWND area, State& state) {
    const int visible = ClientHeight(area);
    const int limit = std::max(0, state.innerHeight - visible);
    state.position = std::clamp(state.position, 0, limit);
    ::SetWindowPos(state.page, nullptr, 0, -state.position, state.innerWidth, state.innerHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, state.innerHeight - 1);
    info.nPage = static_cast<UINT>(std::max(0, visible));
    info.nPos = state.position;
    ::SetScrollInfo(area, SB_VERT, &info, TRUE);
}

void Scroll(HWND area, State& state, int position) {
    const int limit = std::max(0, state.innerHeight - ClientHeight(area));
    position = std::clamp(position, 0, limit);
    if (position == state.position)
        return;
    state.position = position;
    ::SetWindowPos(state.page, nullptr, 0, -position, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    ::SetScrollPos(area, SB_VERT, position, TRUE);
}

LRESULT CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT client;
        ::GetClientRect(page, &client);
        if (State* state = StateOf(::GetParent(page)))
            controls::FillSolid(reinterpret_cast<HDC>(wParam), client, state->back);
        return 1;
    }
    return ::DefWindowProcW(page, message, wParam, lParam);
}

LRESULT CALLBACK AreaProc(HWND area, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<State*>(::GetWindowLongPtrW(area, 0));
    switch (message) {
        case WM_NCCREATE: {
            auto owned = std::make_unique<State>();
            ::SetWindowLongPtrW(area, 0, reinterpret_cast<LONG_PTR>(owned.release()));
            break;
        }
        case WM_NCDESTROY: {
            std::unique_ptr<State> owned(state);
            ::SetWindowLongPtrW(area, 0, 0);
            break;
        }
        case WM_SIZE:
            if (state && state->page)
                Update(area, *state);
            break;
        case WM_ERASEBKGND:
            if (state) {
                // The page covers the top of the client area; the rest shows the back colour.
                RECT client;
                ::GetClientRect(area, &client);
                client.top = std::max<LONG>(0, state->innerHeight - state->position);
                controls::FillSolid(reinterpret_cast<HDC>(wParam), client, state->back);
            }
            return 1;
        case WM_VSCROLL:
            if (state) {
                SCROLLINFO info = {};
                info.cbSize = sizeof(info);
                info.fMask = SIF_ALL;
                ::GetScrollInfo(area, SB_VERT, &info);
                int position = state->position;
                switch (LOWORD(wParam)) {
                    case SB_LINEUP:
                        position -= state->step;
                        break;
                    case SB_LINEDOWN:
                        position += state->step;
                        break;
                    case SB_PAGEUP:
                        position -= ClientHeight(area);
                        break;
                    case SB_PAGEDOWN:
                        position += ClientHeight(area);
                        break;
                    case SB_THUMBTRACK:
                    case SB_THUMBPOSITION:
                        position = info.nTrackPos;
                        break;
                    case SB_TOP:
                        position = 0;
                        break;
                    case SB_BOTTOM:
                        position = state->innerHeight;
                        break;
                }
                Scroll(area, *state, position);
            }
            return 0;
        case WM_MOUSEWHEEL:
            if (state) {
                const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
                Scroll(area, *state, state->position - notches * 3 * state->step);
            }
            return 0;
    }
    return ::DefWindowProcW(area, message, wParam, lParam);
}

void Register(HINSTANCE instance) {
    win::RegisterPaintedClass(instance, kAreaClass, AreaProc, sizeof(LONG_PTR));
    win::RegisterPaintedClass(instance, kPageClass, PageProc);
}

}  // namespace

HWND Create(HWND parent, int id, int x, int y, int width, int height, int innerWidth, int innerHeight, int step) {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    Register(instance);
    HWND area =
        ::CreateWindowExW(WS_EX_CLIENTEDGE, kAreaClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width,
                          height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    State* state = StateOf(area);
    if (!state)
        return nullptr;
    state->page = ::CreateWindowExW(0, kPageClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, innerWidth,
                                    innerHeight, area, nullptr, instance, nullptr);
    if (!state->page) {
        ::DestroyWindow(area);
        return nullptr;
    }
    state->step = step > 0 ? step : 1;
    state->innerWidth = innerWidth;
    state->innerHeight = innerHeight;
    Update(area, *state);
    return area;
}

void SetStep(HWND area, int step) {
    if (State* state = StateOf(area))
        state->step = step > 0 ? step : 1;
}

HWND Page(HWND area) {
    const State* state = StateOf(area);
    return state ? state->page : nullptr;
}

SIZE InnerSize(HWND area) {
    const State* state = StateOf(area);
    return state ? SIZE{state->innerWidth, state->innerHeight} : SIZE{0, 0};
}

void SetInnerSize(HWND area, int width, int height) {
    State* state = StateOf(area);
    if (!state)
        return;
    state->innerWidth = std::max(0, width);
    state->innerHeight = std::max(0, height);
    Update(area, *state);
}

COLORREF BackColor(HWND area) {
    const State* state = StateOf(area);
    return state ? state->back : CLR_INVALID;
}

void SetBackColor(HWND area, COLORREF color) {
    if (State* state = StateOf(area)) {
        state->back = color;
        ::InvalidateRect(area, nullptr, TRUE);
    }
}

int Position(HWND area) {
    const State* state = StateOf(area);
    return state ? state->position : 0;
}

void ScrollTo(HWND area, int position) {
    if (State* state = StateOf(area))
        Scroll(area, *state, position);
}

}  // namespace ScrollArea
