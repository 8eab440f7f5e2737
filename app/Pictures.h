#pragma once

#include "app/resource.h"
#include "win/Handle.h"

#include <map>

// The interface pictures, decoded once at start-up from the executable's resources (JPEG and PNG through
// libjpeg and libpng, BMP and ICO through the system) and kept until the process ends. Pictures are
// addressed by their resource number.
class Pictures {
public:
    // Decodes every picture; false names the first one that could not be decoded.
    bool load(HINSTANCE instance, int* failedId = nullptr);

    HBITMAP bitmap(int id) const;
    HICON icon(int id) const;       // the 32 x 32 image of an icon resource
    HICON smallIcon(int id) const;  // its 16 x 16 image
    SIZE size(int id) const;        // size of a bitmap picture, {0, 0} when unknown

private:
    std::map<int, win::UniqueBitmap> bitmaps_;
    std::map<int, win::UniqueIcon> icons_;
    std::map<int, win::UniqueIcon> smallIcons_;
};
