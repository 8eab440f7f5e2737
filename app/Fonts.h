#pragma once

#include "win/Handle.h"

#include <array>

// The program's fonts, created once at start-up and named by what they show.
enum class FontRole {
    Note,        // Times New Roman 8 italic: notes
    Strong,      // Arial 9 bold: the repetition count, the cleaner's page titles
    Status,      // Arial 8 bold: the run's status and banner, the cleaner's status and DNS text
    BoldItalic,  // Arial 9 bold italic: the greeting, the tools' links, the cleaner's settings note
};
inline constexpr int kFontRoleCount = static_cast<int>(FontRole::BoldItalic) + 1;

class Fonts {
public:
    void create();
    HFONT get(FontRole role) const { return fonts_[static_cast<size_t>(role)].get(); }

private:
    std::array<win::UniqueFont, kFontRoleCount> fonts_;
};
