#pragma once

#include <windows.h>

#include <string>

// A help balloon (bold title with its icon, wrapped text) that Windows shows by itself when the mouse
// pointer rests on a control. One tooltip window per control, created without a parent: it lives until
// the thread that created it ends. The tooltip watches the control's mouse messages itself
// (TTF_SUBCLASS), so nobody relays them.
//
// parent is accepted for the callers' symmetry and is normally null. An empty title shows the text alone,
// without title or icon. Texts are shown as typed: an ampersand is not a mnemonic. Returns the tooltip
// window, or null when it could not be created (the control then simply has no balloon).
HWND AttachBalloonTip(HWND parent, HWND control, const std::wstring& title, const std::wstring& text, HICON titleIcon);

// Long texts wrap at 200 pixels at 96 DPI: the balloon's wrapping width at another scale, for a balloon whose
// control has moved to a monitor of that scale.
void ScaleBalloonTip(HWND tip, UINT dpi);
