#pragma once

#include "win/Handle.h"

// The program's fonts, created once at start-up and addressed by number:
// 1 Times New Roman 8 italic (notes), 2 Arial 9 bold (spin box, cleaner), 3 Arial 8 bold (run status and
// banner, cleaner), 6 Arial 9 bold italic (greeting, tools panel).
class Fonts {
public:
    void create();
    HFONT get(int number) const;

private:
    win::UniqueFont notes_, spin_, status_, greeting_;
};
