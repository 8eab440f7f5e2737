#pragma once

#include <windows.h>

#include <string>

// Plain tooltips (a one-line text, no title) for the controls of one window. The tooltip window is owned
// by that window and goes with it, so windows opened and closed many times leave nothing behind. It
// watches the controls' mouse messages itself (TTF_SUBCLASS).
namespace PlainTip {

// Null when the tooltip window could not be made; AddTool then does nothing.
HWND Create(HWND owner);
void AddTool(HWND tips, HWND control, const std::wstring& text);

}  // namespace PlainTip
