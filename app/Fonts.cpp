#include "app/Fonts.h"

namespace {

win::UniqueFont MakeFont(const wchar_t* face, int points, bool bold, bool italic) {
    win::WindowDc screen(nullptr);
    const int height = -::MulDiv(points, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    return win::UniqueFont(::CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, face));
}

}  // namespace

void Fonts::create() {
    notes_ = MakeFont(L"Times New Roman", 8, false, true);
    spin_ = MakeFont(L"Arial", 9, true, false);
    status_ = MakeFont(L"Arial", 8, true, false);
    greeting_ = MakeFont(L"Arial", 9, true, true);
}

HFONT Fonts::get(int number) const {
    switch (number) {
        case 1:
            return notes_.get();
        case 2:
            return spin_.get();
        case 3:
            return status_.get();
        case 6:
            return greeting_.get();
    }
    return nullptr;
}
