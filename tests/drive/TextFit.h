#pragma once

// Texts that fit: whether every standard control of a window shows its whole text in its font, at the
// window's screen scale. The driver cannot use the program's fonts (GDI handles stay in their process, and
// Wine even refuses WM_GETFONT from another one), so it makes the same fonts from the program's own table
// (app/Fonts.cpp) at the window's DPI and measures each text as the control lays it out: a static's lines
// as DrawText wraps them in its client area, a button's or a check box's caption beside its box, an edit's
// text between its margins, every item of a combo box in its face and in its drop-down list, tab headers
// and list view column headers in their own rectangles.

#include "app/Fonts.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace drive {

// The fonts the program gives a window's controls, made in the driver at a DPI.
class ProgramFonts {
public:
    explicit ProgramFonts(UINT dpi) : dpi_(dpi) {}
    UINT dpi() const { return dpi_; }
    // The control with this id shows its text in this font; every other one in the dialog font.
    ProgramFonts& set(int id, FontRole role);
    HFONT get(FontRole role) const { return fonts_.get(role, dpi_); }
    HFONT of(HWND control) const;

private:
    UINT dpi_;
    Fonts fonts_;
    std::map<int, FontRole> roles_;
};

// A text wider (or, wrapped, taller) than the room its control gives it.
struct TextMisfit {
    HWND control = nullptr;
    std::wstring className;
    int id = 0;
    std::wstring text;
    SIZE needed = {};  // the text's extent in the control's font
    SIZE room = {};    // what the control gives it
};

// Every visible child control of the window, through the whole tree, whose text does not fit. Controls
// that draw themselves (owner-drawn buttons and statics, custom classes) are left to their own checks.
std::vector<TextMisfit> TextMisfits(HWND window, const ProgramFonts& fonts);
// Fails, naming every misfit, unless there is none; logs how many controls were measured.
void ExpectTextsFit(HWND window, const ProgramFonts& fonts, const std::wstring& what);
std::wstring Describe(const TextMisfit& misfit);

// The extent of one line of text in a font, as GetTextExtentPoint32 gives it.
SIZE TextExtent(HFONT font, const std::wstring& text);

}  // namespace drive
