#include "app/Fonts.h"

#include <iterator>

namespace {

struct FontFace {
    const wchar_t* face;
    int points;
    bool bold;
    bool italic;
    BYTE charset = DEFAULT_CHARSET;
    BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
};

// By FontRole. The dialog font is the system's default GUI font of 96 DPI, charset and family included, so
// that at 100 % the standard controls draw exactly as they did with it; in points, it grows with the scale.
constexpr FontFace kFaces[] = {
    {L"Times New Roman", 8, false, true},
    {L"Arial", 9, true, false},
    {L"Arial", 8, true, false},
    {L"Arial", 9, true, true},
    {L"MS Shell Dlg", 8, false, false, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
    {L"Arial", 8, false, false, DEFAULT_CHARSET, DEFAULT_PITCH | FF_SWISS},
};
static_assert(std::size(kFaces) == kFontRoleCount, "one face per FontRole");

win::UniqueFont MakeFont(const FontFace& font, UINT dpi) {
    const int height = -::MulDiv(font.points, static_cast<int>(dpi), 72);
    return win::UniqueFont(::CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, FALSE, FALSE,
                                         font.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         font.pitchAndFamily, font.face));
}

}  // namespace

void Fonts::create() {
    systemDpi_ = win::SystemDpi();
    get(FontRole::Note, systemDpi_);
}

HFONT Fonts::get(FontRole role, UINT dpi) const {
    auto found = sets_.find(dpi);
    if (found == sets_.end()) {
        Set set;
        for (size_t each = 0; each < set.size(); ++each)
            set[each] = MakeFont(kFaces[each], dpi);
        found = sets_.emplace(dpi, std::move(set)).first;
    }
    return found->second[static_cast<size_t>(role)].get();
}

HFONT Fonts::iconTitle(UINT dpi) const {
    win::UniqueFont& font = iconTitles_[dpi];
    if (!font) {
        const LOGFONTW description = win::IconTitleFont(dpi);
        font.reset(::CreateFontIndirectW(&description));
    }
    return font.get();
}
