#pragma once

#include "app/Fonts.h"
#include "win/Dpi.h"
#include "win/Handle.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <optional>
#include <vector>

// The controls of a window as its layout table places them at 96 DPI. The window builds its controls
// anywhere, adds each here with its table's place and font, then places them all at its DPI: once when it
// is built, and again with the new DPI's fonts when it moves to a monitor of another scale.
class RoomPlaces {
public:
    // How a control grows when its text needs more than the table's width: not at all, to its text, or to
    // its text and the box or round before it (check boxes and option buttons).
    enum class Fit { None, Text, Box };

    void add(HWND control, const RECT& place, std::optional<FontRole> font, Fit fit = Fit::None);
    // Every control at its place times the scale, with its font at that DPI, widened where its text needs it.
    void place(const win::Scale& scale, const Fonts& fonts) const;

private:
    struct Placed {
        HWND control;
        RECT place;
        std::optional<FontRole> font;
        Fit fit;
    };
    std::vector<Placed> placed_;
};

struct ImageListTraits {
    using type = HIMAGELIST;
    static type empty() { return nullptr; }
    static void close(type list) { ImageList_Destroy(list); }
};
using UniqueImageList = win::Unique<ImageListTraits>;

// Moves a top-level window to the place Windows suggests as it crosses to a monitor of another scale
// (null: where it stands), then sizes it so that its client area is exactly the given size.
void FitClientArea(HWND window, SIZE client, const RECT* suggested);

// Raises the largest size of a fixed-size window (WM_GETMINMAXINFO) to what its client area needs, so that
// the system does not cut a window larger than the screen, as a dialog made for 200 % is on a small one.
void AllowClientArea(HWND window, SIZE client, MINMAXINFO* limits);

// A control moved and sized to a place of its parent's client area, and given a font (redrawn).
void PlaceControl(HWND control, const RECT& place);
void SetControlFont(HWND control, HFONT font);

// The place of a control in a window's table of {id, place} rows; an empty place when the table has none.
template <typename Row, size_t N, typename Id>
const RECT& PlaceIn(const std::array<Row, N>& rows, Id id) {
    for (const Row& row : rows) {
        if (row.id == id)
            return row.place;
    }
    static constexpr RECT kNowhere = {};
    return kNowhere;
}

// The width in pixels of a control's text in its font (one line, prefixes as typed).
int TextWidth(HWND control);
// The width of a text in a font, measured on the window's screen.
int TextWidth(HWND window, HFONT font, const wchar_t* text);
