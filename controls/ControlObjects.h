#pragma once

// The accessible objects of the controls that are one window each, for their window procedures'
// WM_GETOBJECT (Accessible.h). Not part of the controls' interface.

#include <windows.h>

namespace controls {

// A big button: a push button named by its caption, pressed by its default action.
LRESULT AnswerButton(HWND button, WPARAM wParam);
// A colour progress bar: a progress bar whose value is the percentage it shows.
LRESULT AnswerProgress(HWND bar, WPARAM wParam);
// For a progress bar's procedure after a change of position or range: tells assistive tools when the
// percentage shown changes, and only then.
void ProgressChanged(HWND bar);
// At WM_NCDESTROY: what ProgressChanged kept on the bar goes.
void ForgetProgress(HWND bar);
// A picture named by its window's text; animated while it moves.
LRESULT AnswerPicture(HWND picture, WPARAM wParam, bool animated);

}  // namespace controls
