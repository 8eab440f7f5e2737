// The program's icons, read from its own executable through Pictures, against the colours its windows paint
// behind them (read from the windows' tables and controls), at every scale the executable carries.
//
// What "stands out" means here, per icon, per scale and per ground, after compositing the icon over the
// ground:
//  - its shape is its pixels at least half opaque;
//  - its edge is the pixels of the shape with a side on a pixel outside it (or on the picture's border);
//  - an edge pixel is seen when it, or a pixel of the shape touching it, reaches a contrast of 3:1 (WCAG
//    relative luminance) against the ground: a rim of one pixel in the ground's own colour hides nothing;
//  - the icon stands out when at least 90 % of its edge is seen. On the explorer bar's blues, where bodies
//    drawn in the panel's colour once went unseen, its body counts too: at least a quarter of its shape
//    reaches 3:1, and at most a quarter stays within 1.5:1 of the ground, where it would vanish. On light
//    grounds the light bodies of the icons are seen by their dark edge.
#include "app/Pictures.h"
#include "app/cleaner/CleanerDialogLayout.h"
#include "app/main/MainWindowLayout.h"
#include "app/main/ShredViewLayout.h"
#include "app/tools/ToolItems.h"
#include "controls/ExplorerBar.h"
#include "win/Dpi.h"
#include "win/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double kEdgeSeen = 0.90;
constexpr double kBodySeen = 0.25;
constexpr double kBodyVanishing = 0.25;
constexpr UINT kRenderedDpis[] = {96, 144, 192};
constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64};

// A picture as premultiplied BGRA rows, top-down.
struct Pixels {
    int width = 0, height = 0;
    std::vector<BYTE> bgra;
    const BYTE* at(int x, int y) const { return bgra.data() + (static_cast<size_t>(y) * width + x) * 4; }
};

Pixels Read(HBITMAP bitmap, bool premultiplied) {
    Pixels pixels;
    BITMAP info = {};
    if (!::GetObjectW(bitmap, sizeof(info), &info))
        return pixels;
    pixels.width = info.bmWidth;
    pixels.height = info.bmHeight;
    pixels.bgra.resize(static_cast<size_t>(pixels.width) * pixels.height * 4);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = pixels.width;
    format.bmiHeader.biHeight = -pixels.height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    win::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (::GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(pixels.height), pixels.bgra.data(), &format,
                    DIB_RGB_COLORS) != pixels.height) {
        pixels.bgra.clear();
        return pixels;
    }
    if (!premultiplied) {
        for (size_t i = 0; i < pixels.bgra.size(); i += 4)
            for (int c = 0; c < 3; ++c)
                pixels.bgra[i + c] = static_cast<BYTE>((pixels.bgra[i + c] * pixels.bgra[i + 3] + 127) / 255);
    }
    return pixels;
}

// An icon's image of that size: its colour bitmap holds straight alpha.
Pixels ReadIcon(HICON icon) {
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon, &info))
        return {};
    win::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    return colour ? Read(colour.get(), false) : Pixels{};
}

double Linear(double channel) {
    const double c = channel / 255;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(double red, double green, double blue) {
    return 0.2126 * Linear(red) + 0.7152 * Linear(green) + 0.0722 * Linear(blue);
}

struct Standing {
    int edge = 0, edgeSeen = 0, shape = 0, shapeSeen = 0, shapeVanishing = 0;
    double edgeShare() const { return edge ? static_cast<double>(edgeSeen) / edge : 0; }
    double shapeShare() const { return shape ? static_cast<double>(shapeSeen) / shape : 0; }
    double vanishingShare() const { return shape ? static_cast<double>(shapeVanishing) / shape : 1; }
};

// The cell of `size` pixels at `left` of a picture, over `back`.
Standing Measure(const Pixels& pixels, int left, int size, COLORREF back) {
    const double backLuminance = Luminance(GetRValue(back), GetGValue(back), GetBValue(back));
    auto inShape = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < size && y < size && pixels.at(left + x, y)[3] >= 128;
    };
    auto contrast = [&](int x, int y) {
        const BYTE* p = pixels.at(left + x, y);
        const double rest = 1 - p[3] / 255.0;
        const double l =
            Luminance(p[2] + rest * GetRValue(back), p[1] + rest * GetGValue(back), p[0] + rest * GetBValue(back));
        return (std::max(l, backLuminance) + 0.05) / (std::min(l, backLuminance) + 0.05);
    };
    auto seen = [&](int x, int y) { return contrast(x, y) >= 3; };
    Standing standing;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (!inShape(x, y))
                continue;
            ++standing.shape;
            standing.shapeSeen += seen(x, y);
            standing.shapeVanishing += contrast(x, y) < 1.5;
            if (inShape(x - 1, y) && inShape(x + 1, y) && inShape(x, y - 1) && inShape(x, y + 1))
                continue;
            ++standing.edge;
            bool edgeSeen = false;
            for (int dy = -1; dy <= 1 && !edgeSeen; ++dy)
                for (int dx = -1; dx <= 1 && !edgeSeen; ++dx)
                    edgeSeen = inShape(x + dx, y + dy) && seen(x + dx, y + dy);
            standing.edgeSeen += edgeSeen;
        }
    }
    return standing;
}

// A colour behind icons, and whether their bodies must show on it (see the top of this file).
struct Ground {
    COLORREF colour;
    bool body = false;
};

// A colour as #RRGGBB.
std::string Hex(COLORREF colour) {
    char text[8];
    std::snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

// Checks every square cell of a picture (a strip holds several) over each ground.
void ExpectStandsOut(const std::string& what, const Pixels& pixels, std::initializer_list<Ground> grounds) {
    ASSERT_FALSE(pixels.bgra.empty()) << what << ": no picture";
    const int size = pixels.height;
    ASSERT_EQ(pixels.width % size, 0) << what << ": not square cells";
    for (const Ground& ground : grounds) {
        for (int left = 0; left < pixels.width; left += size) {
            const Standing standing = Measure(pixels, left, size, ground.colour);
            EXPECT_GE(standing.edgeShare(), kEdgeSeen)
                << what << " cell " << left / size << " at " << size << " px over " << Hex(ground.colour);
            if (!ground.body)
                continue;
            EXPECT_GE(standing.shapeShare(), kBodySeen)
                << what << " cell " << left / size << " at " << size << " px over " << Hex(ground.colour);
            EXPECT_LE(standing.vanishingShare(), kBodyVanishing)
                << what << " cell " << left / size << " at " << size << " px over " << Hex(ground.colour);
        }
    }
}

// The big buttons of the destruction view: the run buttons and those under the list.
std::vector<mainwin::layout::Button> BigButtons() {
    std::vector<mainwin::layout::Button> buttons(mainwin::layout::kRunButtons.begin(),
                                                 mainwin::layout::kRunButtons.end());
    buttons.insert(buttons.end(), mainwin::layout::kListButtons.begin(), mainwin::layout::kListButtons.end());
    return buttons;
}

class IconContrast : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring program(self);
        program.resize(program.find_last_of(L'\\') + 1);
        program += L"KestavelShredder.exe";
        module_.reset(::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        int failed = 0;
        loaded_ = module_ && pictures_.load(module_.get(), &failed);
        failed_ = failed;
    }

    void SetUp() override { ASSERT_TRUE(loaded_) << "the program's pictures, first failure " << failed_; }

    // A bitmap picture at each rendered scale: the rendering itself, of the scaled size.
    static void ExpectBitmapStandsOut(const std::string& what, int id, std::initializer_list<Ground> grounds) {
        for (UINT dpi : kRenderedDpis) {
            const Pixels pixels = Read(pictures_.bitmap(id, dpi), true);
            const SIZE size = pictures_.size(id, dpi);
            EXPECT_EQ(pixels.width, size.cx) << what;
            EXPECT_EQ(pixels.height, size.cy) << what;
            ExpectStandsOut(what, pixels, grounds);
        }
    }

    static win::UniqueModule module_;  // the program, as data
    static Pictures pictures_;
    static bool loaded_;
    static int failed_;
};

win::UniqueModule IconContrast::module_;
Pictures IconContrast::pictures_;
bool IconContrast::loaded_ = false;
int IconContrast::failed_ = 0;

TEST_F(IconContrast, ExplorerBarPicturesOnTheirGroups) {
    using namespace ExplorerBar;
    const COLORREF column = kInitialBackground;
    const COLORREF headerStart = kInitialColors[kHeaderStart - kHeaderStart];
    const COLORREF body = kInitialColors[kBody - kHeaderStart];
    int links = 0, headers = 0;
    for (const mainwin::layout::ColumnEntry& entry : mainwin::layout::kColumnEntries) {
        if (!entry.picture)
            continue;
        const std::string what = win::ToUtf8(entry.caption);
        if (entry.type == kLink) {
            ++links;
            ExpectBitmapStandsOut(what, entry.picture, {{body, true}});
        } else {
            // A group's picture overlaps the column above its header, the header's light start and its body.
            ++headers;
            ExpectBitmapStandsOut(what, entry.picture, {{column, true}, {headerStart}, {body, true}});
        }
    }
    EXPECT_GT(links, 0);
    EXPECT_GT(headers, 0);
}

TEST_F(IconContrast, ButtonIconsAtEverySizeTheSystemAsksFor) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    for (const mainwin::layout::Button& button : BigButtons())
        for (int pixels : kIconSizes)
            ExpectStandsOut(win::ToUtf8(button.caption), ReadIcon(pictures_.icon(button.icon, pixels)), {{face}});
}

TEST_F(IconContrast, FastCleanerPictures) {
    using namespace cleaner::layout;
    // A page's picture is its tab's, on the tab's face, and its own icon on the page.
    for (const Page& page : kPages)
        ExpectBitmapStandsOut(win::ToUtf8(page.caption), page.picture, {{::GetSysColor(COLOR_BTNFACE)}, {kPageBack}});
    ExpectBitmapStandsOut("waiting", IDR_CLEANER_WAITING, {{kPageBack}});
    ExpectBitmapStandsOut("done", IDR_CLEANER_DONE, {{kPageBack}});
    ExpectBitmapStandsOut("busy", IDR_CLEANER_BUSY, {{kPageBack}});
    ExpectBitmapStandsOut("M.R.U. key", IDR_CLEANER_MRU_KEY, {{kSheetBack}});
    ExpectBitmapStandsOut("M.R.U. value", IDR_CLEANER_MRU_VALUE, {{kSheetBack}});
}

TEST_F(IconContrast, WindowsToolsPictures) {
    // The tools' pages are white; their tabs stand on the tab control's face.
    ExpectBitmapStandsOut("tools", IDR_TOOLS_ITEMS, {{RGB(255, 255, 255)}});
    ExpectBitmapStandsOut("tools tabs", IDR_TOOLS_TABS, {{::GetSysColor(COLOR_BTNFACE)}});
    EXPECT_EQ(pictures_.size(IDR_TOOLS_ITEMS).cx, kToolIconCells * pictures_.size(IDR_TOOLS_ITEMS).cy);
}

// Each icon resource holds an image of every size the system asks for, so that none is scaled; the
// program's own icon also the 256-pixel one of Explorer's large views.
TEST_F(IconContrast, IconsHoldEverySize) {
    std::vector<int> icons = {IDI_APP, IDI_TRAY};
    for (const mainwin::layout::Button& button : BigButtons())
        icons.push_back(button.icon);
    for (int id : icons) {
        HRSRC found = ::FindResourceW(module_.get(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
        ASSERT_TRUE(found) << id;
        const auto* directory = static_cast<const BYTE*>(::LockResource(::LoadResource(module_.get(), found)));
        ASSERT_TRUE(directory) << id;
        // A GRPICONDIR: reserved, type, count, then entries of 14 bytes whose first byte is the width (0: 256).
        const int count = directory[4] | directory[5] << 8;
        std::vector<int> held;
        for (int i = 0; i < count; ++i)
            held.push_back(directory[6 + i * 14] ? directory[6 + i * 14] : 256);
        std::vector<int> wanted(std::begin(kIconSizes), std::end(kIconSizes));
        if (id == IDI_APP)
            wanted.push_back(256);
        for (int size : wanted)
            EXPECT_NE(std::find(held.begin(), held.end(), size), held.end()) << "icon " << id << " at " << size;
    }
}

// A window at 150 % or 200 % gets the rendering made for it, pixel for pixel; between them a reduction of
// the next larger one, of the scaled size; above 200 % the 200 % rendering enlarged.
TEST_F(IconContrast, EachScaleHasItsRendering) {
    for (int id : {IDR_LINK_TOOLS, IDR_HEADER, IDB_MENU_QUIT}) {
        for (UINT dpi : {96u, 120u, 144u, 168u, 192u, 240u}) {
            HBITMAP picture = pictures_.bitmap(id, dpi);
            BITMAP info = {};
            ASSERT_TRUE(::GetObjectW(picture, sizeof(info), &info)) << id << " at " << dpi;
            const SIZE want = win::Scale(dpi)(pictures_.size(id));
            EXPECT_EQ(info.bmWidth, want.cx) << id << " at " << dpi;
            EXPECT_EQ(info.bmHeight, want.cy) << id << " at " << dpi;
        }
    }
    // The 200 % rendering itself: the 100 % one doubled would hold no colour that it lacks.
    auto colours = [](HBITMAP picture) {
        const Pixels pixels = Read(picture, true);
        std::vector<UINT> seen;
        for (size_t i = 0; i < pixels.bgra.size(); i += 4)
            seen.push_back(*reinterpret_cast<const UINT*>(&pixels.bgra[i]));
        std::sort(seen.begin(), seen.end());
        return std::unique(seen.begin(), seen.end()) - seen.begin();
    };
    EXPECT_GT(colours(pictures_.bitmap(IDR_LINK_TOOLS, 192)), colours(pictures_.bitmap(IDR_LINK_TOOLS, 96)));
}

}  // namespace
