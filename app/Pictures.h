#pragma once

#include "app/resource.h"
#include "win/Handle.h"

#include <map>
#include <utility>

// The interface pictures, decoded from the executable's resources (JPEG and PNG through libjpeg and libpng,
// BMP and ICO through the system) and kept until the process ends. Pictures are addressed by their resource
// number at 100 %. Those for 100 % are decoded at start-up; the renderings for 150 % and 200 % (resource.h)
// the first time a window asks for a scale above 100 %.
class Pictures {
public:
    // Decodes every picture at 100 % and checks that the executable holds it at 150 and 200 %; false names
    // the first one that could not be decoded or is missing at a scale.
    bool load(HINSTANCE instance, int* failedId = nullptr);

    HBITMAP bitmap(int id) const;
    HICON icon(int id) const;       // the 32 x 32 image of an icon resource
    HICON smallIcon(int id) const;  // its 16 x 16 image
    SIZE size(int id) const;        // size of a bitmap picture, {0, 0} when unknown

    // A bitmap picture for a window at the given DPI: its size at 96 DPI times dpi / 96. It is the smallest
    // rendering at or above that size (100 %, 150 % or 200 %), reduced to it by averaging; only above 200 %
    // is the 200 % rendering enlarged. Made the first time it is asked for, on the window thread, and kept.
    HBITMAP bitmap(int id, UINT dpi) const;
    SIZE size(int id, UINT dpi) const;
    // An icon resource's image of the given size in pixels (the system's choice among its images).
    HICON icon(int id, int pixels) const;

private:
    HINSTANCE instance_ = nullptr;
    std::map<int, win::UniqueBitmap> bitmaps_;
    std::map<int, win::UniqueIcon> icons_;
    std::map<int, win::UniqueIcon> smallIcons_;
    HBITMAP rendering(int id, int resource) const;  // the picture id's rendering `resource`, decoded once

    mutable std::map<int, win::UniqueBitmap> renderings_;  // at 150 % and 200 %, by resource number
    mutable std::map<std::pair<int, UINT>, win::UniqueBitmap> scaled_;
    mutable std::map<std::pair<int, int>, win::UniqueIcon> sizedIcons_;
};
