#include "app/Pictures.h"

#include "app/ImageDecode.h"
#include "win/Dpi.h"

namespace {

constexpr int kJpegPictures[] = {IDR_HEADER, IDR_CORNER, IDR_COVER, IDR_TOOLS_BACKGROUND, IDR_ABOUT_ART};
constexpr int kPngPictures[] = {IDR_LOGO, IDR_GROUP_MAIN, IDR_GROUP_SHRED, IDR_GROUP_EXPLORER, IDR_GROUP_SUPPORT,
                                IDR_LINK_HOME, IDR_LINK_CLEANER, IDR_LINK_TOOLS, IDR_LINK_QUIT, IDR_LINK_ADD_FILES,
                                IDR_LINK_ADD_FOLDER, IDR_LINK_PRESETS, IDR_LINK_HELP, IDR_LINK_ABOUT,
                                // the About window's
                                IDR_ABOUT_WEB, IDR_ABOUT_MAIL,
                                // the Windows tools view's
                                IDR_TOOLS_ITEMS, IDR_TOOLS_TABS,
                                // the Fast Cleaner's
                                IDR_CLEANER_TAB_GENERAL, IDR_CLEANER_TAB_SETTINGS, IDR_CLEANER_TAB_DNS,
                                IDR_CLEANER_TAB_MRU, IDR_CLEANER_WAITING, IDR_CLEANER_DONE, IDR_CLEANER_MRU_KEY,
                                IDR_CLEANER_MRU_VALUE, IDR_CLEANER_BUSY};
constexpr int kBmpPictures[] = {IDB_MENU_RECYCLE, IDB_MENU_INTERNET, IDB_MENU_HISTORY, IDB_MENU_DOCUMENTS,
                                IDB_MENU_FOLDER,  IDB_MENU_CLEANER,  IDB_MENU_HELP,    IDB_MENU_QUIT};
constexpr int kIcons[] = {IDI_APP,        IDI_TRAY,     IDI_BTN_DESTROY,         IDI_BTN_PAUSE,
                          IDI_BTN_RESUME, IDI_BTN_STOP, IDI_BTN_REMOVE_SELECTED, IDI_BTN_REMOVE_ALL,
                          IDI_BTN_JOURNAL};

// A 32-bit picture reduced (or, for now, enlarged) to another size by averaging the source area under each
// pixel of the result; the colours stay premultiplied.
win::UniqueBitmap Resample(HBITMAP source, SIZE to) {
    DIBSECTION from = {};
    if (!::GetObjectW(source, sizeof(from), &from) || from.dsBm.bmBitsPixel != 32 || !from.dsBm.bmBits || to.cx <= 0 ||
        to.cy <= 0)
        return {};
    const int fromWidth = from.dsBm.bmWidth;
    const int fromHeight = from.dsBm.bmHeight;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = to.cx;
    info.bmiHeader.biHeight = from.dsBmih.biHeight < 0 ? -to.cy : to.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::UniqueBitmap result(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!result)
        return {};
    const auto* in = static_cast<const BYTE*>(from.dsBm.bmBits);
    auto* out = static_cast<BYTE*>(bits);
    // Rows are in the same order in both pictures, so row y of one maps to row y of the other.
    for (int y = 0; y < to.cy; ++y) {
        const double top = static_cast<double>(y) * fromHeight / to.cy;
        const double bottom = static_cast<double>(y + 1) * fromHeight / to.cy;
        for (int x = 0; x < to.cx; ++x) {
            const double left = static_cast<double>(x) * fromWidth / to.cx;
            const double right = static_cast<double>(x + 1) * fromWidth / to.cx;
            double sum[4] = {};
            double area = 0;
            for (int sy = static_cast<int>(top); sy < fromHeight && sy < bottom; ++sy) {
                const double hy = (sy + 1 < bottom ? sy + 1 : bottom) - (sy > top ? sy : top);
                for (int sx = static_cast<int>(left); sx < fromWidth && sx < right; ++sx) {
                    const double wx = (sx + 1 < right ? sx + 1 : right) - (sx > left ? sx : left);
                    const BYTE* pixel = in + static_cast<size_t>(sy) * from.dsBm.bmWidthBytes + sx * 4;
                    for (int channel = 0; channel < 4; ++channel)
                        sum[channel] += pixel[channel] * wx * hy;
                    area += wx * hy;
                }
            }
            BYTE* pixel = out + (static_cast<size_t>(y) * to.cx + x) * 4;
            for (int channel = 0; channel < 4; ++channel)
                pixel[channel] = static_cast<BYTE>(area > 0 ? sum[channel] / area + 0.5 : 0);
        }
    }
    return result;
}

// The bytes of an RCDATA resource; they live as long as the module.
bool ResourceBytes(HINSTANCE instance, int id, const void** data, size_t* size) {
    HRSRC resource = ::FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!resource)
        return false;
    HGLOBAL loaded = ::LoadResource(instance, resource);
    *data = loaded ? ::LockResource(loaded) : nullptr;
    *size = ::SizeofResource(instance, resource);
    return *data != nullptr && *size != 0;
}

}  // namespace

bool Pictures::load(HINSTANCE instance, int* failedId) {
    instance_ = instance;
    auto fail = [&](int id) {
        if (failedId)
            *failedId = id;
        return false;
    };
    for (int id : kJpegPictures) {
        const void* data = nullptr;
        size_t size = 0;
        if (!ResourceBytes(instance, id, &data, &size) || !(bitmaps_[id] = DecodeJpeg(data, size)))
            return fail(id);
    }
    for (int id : kPngPictures) {
        const void* data = nullptr;
        size_t size = 0;
        if (!ResourceBytes(instance, id, &data, &size) || !(bitmaps_[id] = DecodePng(data, size)))
            return fail(id);
    }
    for (int id : kBmpPictures) {
        bitmaps_[id].reset(static_cast<HBITMAP>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (!bitmaps_[id])
            return fail(id);
    }
    for (int id : kIcons) {
        icons_[id].reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 32, 32, 0)));
        smallIcons_[id].reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0)));
        if (!icons_[id] || !smallIcons_[id])
            return fail(id);
    }
    return true;
}

HBITMAP Pictures::bitmap(int id) const {
    auto found = bitmaps_.find(id);
    return found == bitmaps_.end() ? nullptr : found->second.get();
}

HICON Pictures::icon(int id) const {
    auto found = icons_.find(id);
    return found == icons_.end() ? nullptr : found->second.get();
}

HICON Pictures::smallIcon(int id) const {
    auto found = smallIcons_.find(id);
    return found == smallIcons_.end() ? nullptr : found->second.get();
}

SIZE Pictures::size(int id) const {
    BITMAP info = {};
    HBITMAP picture = bitmap(id);
    if (!picture || !::GetObjectW(picture, sizeof(info), &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

SIZE Pictures::size(int id, UINT dpi) const {
    const win::Scale scale(dpi);
    return scale(size(id));
}

HBITMAP Pictures::bitmap(int id, UINT dpi) const {
    if (dpi == win::kBaseDpi)
        return bitmap(id);
    win::UniqueBitmap& made = scaled_[{id, dpi}];
    if (!made) {
        if (HBITMAP base = bitmap(id))
            made = Resample(base, size(id, dpi));
    }
    return made ? made.get() : bitmap(id);
}

HICON Pictures::icon(int id, int pixels) const {
    win::UniqueIcon& made = sizedIcons_[{id, pixels}];
    if (!made)
        made.reset(static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_ICON, pixels, pixels, 0)));
    return made.get();
}
