#pragma once

#include "win/Dpi.h"
#include "win/Handle.h"

#include <array>
#include <map>

// The program's fonts, named by what they show and given in points, so that each screen scale gets its own
// size. The fonts of a scale are created the first time a window asks for them, on the window thread, and
// kept until the process ends.
enum class FontRole {
    Note,        // Times New Roman 8 italic: notes
    Strong,      // Arial 9 bold: the repetition count, the cleaner's page titles
    Status,      // Arial 8 bold: the run's status and banner, the cleaner's status and DNS text
    BoldItalic,  // Arial 9 bold italic: the greeting, the tools' links, the cleaner's settings note
    Dialog,      // the dialog face, 8 points: the standard controls' text
    Caption,     // Arial 8: the destruction view's compact captions and values
};
inline constexpr int kFontRoleCount = static_cast<int>(FontRole::Caption) + 1;

class Fonts {
public:
    // Creates the fonts of the system's scale.
    void create();
    // A font at the system's scale.
    HFONT get(FontRole role) const { return get(role, systemDpi_); }
    // A font for a window at the given DPI.
    HFONT get(FontRole role, UINT dpi) const;
    // The system's icon-title font at a DPI: what list and tree views show by themselves at the system's
    // scale, for a window on a screen of another.
    HFONT iconTitle(UINT dpi) const;

private:
    using Set = std::array<win::UniqueFont, kFontRoleCount>;
    UINT systemDpi_ = win::kBaseDpi;
    mutable std::map<UINT, Set> sets_;
    mutable std::map<UINT, win::UniqueFont> iconTitles_;
};
