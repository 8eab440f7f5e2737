#include "app/Fonts.h"

#include <iterator>

namespace {

struct FontFace {
    const wchar_t* face;
    int points;
    bool bold;
    bool italic;
};

// By FontRole.
constexpr FontFace kFaces[] = {
    {L"Times New Roman", 8, false, true},
    {L"Arial", 9, true, false},
    {L"Arial", 8, true, false},
    {L"Arial", 9, true, true},
};
static_assert(std::size(kFaces) == kFontRoleCount, "one face per FontRole");

win::UniqueFont MakeFont(const FontFace& font) {
    win::WindowDc screen(nullptr);
    const int height = -::MulDiv(font.points, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    return win::UniqueFont(::CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, FALSE, FALSE,
                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_DONTCARE, font.face));
}

}  // namespace

void Fonts::create() {
    for (size_t role = 0; role < fonts_.size(); ++role)
        fonts_[role] = MakeFont(kFaces[role]);
}
