#include "app/Pictures.h"

#include "app/ImageDecode.h"
#include "win/Dpi.h"

#include <algorithm>
#include <iterator>
#include <vector>

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

// The source pixels under each pixel of a line of `to` pixels made from `from`, with the share of each.
struct Span {
    int first;
    std::vector<float> weights;  // of pixels first, first + 1, ...; they add up to 1
};

std::vector<Span> Spans(int from, int to) {
    std::vector<Span> spans(static_cast<size_t>(to));
    for (int i = 0; i < to; ++i) {
        const double start = static_cast<double>(i) * from / to;
        const double end = static_cast<double>(i + 1) * from / to;
        Span& span = spans[static_cast<size_t>(i)];
        span.first = static_cast<int>(start);
        for (int source = span.first; source < from && source < end; ++source) {
            const double covered = std::min<double>(source + 1, end) - std::max<double>(source, start);
            span.weights.push_back(static_cast<float>(covered / (end - start)));
        }
    }
    return spans;
}

// A picture reduced to another size by averaging the source area under each pixel of the result (an
// enlargement repeats the source pixels, blending them where a result pixel straddles two), as a 32-bit
// top-down DIB section: a 32-bit picture keeps its premultiplied colours, one of another depth comes out
// opaque. Rows first, then columns, over the averaged rows.
win::UniqueBitmap Resample(HBITMAP source, SIZE to) {
    BITMAP from = {};
    if (!::GetObjectW(source, sizeof(from), &from) || to.cx <= 0 || to.cy <= 0)
        return {};
    const int fromWidth = from.bmWidth;
    const int fromHeight = from.bmHeight;
    // Both pictures are read and written top-down whatever the source's own row order: the header a DIB
    // section reports does not tell it reliably (Wine gives a positive height for a top-down one).
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = fromWidth;
    info.bmiHeader.biHeight = -fromHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<BYTE> pixels(static_cast<size_t>(fromWidth) * fromHeight * 4);
    win::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc || ::GetDIBits(dc.get(), source, 0, static_cast<UINT>(fromHeight), pixels.data(), &info, DIB_RGB_COLORS) !=
                   fromHeight)
        return {};
    if (from.bmBitsPixel != 32) {
        for (size_t alpha = 3; alpha < pixels.size(); alpha += 4)
            pixels[alpha] = 255;
    }
    void* bits = nullptr;
    win::UniqueBitmap result = CreateDib32(to.cx, to.cy, &bits);
    if (!result)
        return {};
    const std::vector<Span> columns = Spans(fromWidth, to.cx);
    const std::vector<Span> rows = Spans(fromHeight, to.cy);
    // Each source row averaged across: fromHeight rows of to.cx pixels, 4 channels.
    std::vector<float> across(static_cast<size_t>(fromHeight) * to.cx * 4);
    for (int sy = 0; sy < fromHeight; ++sy) {
        const BYTE* row = pixels.data() + static_cast<size_t>(sy) * fromWidth * 4;
        float* out = &across[static_cast<size_t>(sy) * to.cx * 4];
        for (const Span& span : columns) {
            float sum[4] = {};
            for (size_t k = 0; k < span.weights.size(); ++k) {
                const BYTE* pixel = row + (span.first + k) * 4;
                for (int channel = 0; channel < 4; ++channel)
                    sum[channel] += pixel[channel] * span.weights[k];
            }
            for (int channel = 0; channel < 4; ++channel)
                *out++ = sum[channel];
        }
    }
    auto* out = static_cast<BYTE*>(bits);
    for (const Span& span : rows) {
        for (int x = 0; x < to.cx * 4; ++x) {
            float sum = 0;
            for (size_t k = 0; k < span.weights.size(); ++k)
                sum += across[(span.first + k) * to.cx * 4 + x] * span.weights[k];
            *out++ = static_cast<BYTE>(std::min(255.0f, sum + 0.5f));
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

template <size_t N>
bool Holds(const int (&ids)[N], int id) {
    for (int each : ids)
        if (each == id)
            return true;
    return false;
}

// Decodes resource number `resource`, a rendering of the picture `id` (the same number at 100 %).
win::UniqueBitmap Decode(HINSTANCE instance, int id, int resource) {
    if (Holds(kBmpPictures, id))
        return win::UniqueBitmap(static_cast<HBITMAP>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    const void* data = nullptr;
    size_t size = 0;
    if (!ResourceBytes(instance, resource, &data, &size))
        return {};
    if (Holds(kJpegPictures, id))
        return DecodeJpeg(data, size);
    if (Holds(kPngPictures, id))
        return DecodePng(data, size);
    return {};
}

// Whether the executable holds the picture `id`'s rendering `resource`, without decoding it.
bool Holds(HINSTANCE instance, int id, int resource) {
    const wchar_t* type = Holds(kBmpPictures, id) ? MAKEINTRESOURCEW(2) /* RT_BITMAP */ : MAKEINTRESOURCEW(10);
    return ::FindResourceW(instance, MAKEINTRESOURCEW(resource), type) != nullptr;
}

SIZE SizeOf(HBITMAP picture) {
    BITMAP info = {};
    if (!picture || !::GetObjectW(picture, sizeof(info), &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

}  // namespace

bool Pictures::load(HINSTANCE instance, int* failedId) {
    instance_ = instance;
    auto fail = [&](int id) {
        if (failedId)
            *failedId = id;
        return false;
    };
    // The 100 % pictures are decoded now; the others are only looked for, so that a picture missing at a
    // scale is known at start-up.
    auto decodeAll = [&](const int* ids, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            const int id = ids[i];
            if (!(bitmaps_[id] = Decode(instance, id, id)) || !Holds(instance, id, PICTURE_AT_150(id)) ||
                !Holds(instance, id, PICTURE_AT_200(id)))
                return fail(id);
        }
        return true;
    };
    if (!decodeAll(kJpegPictures, std::size(kJpegPictures)) || !decodeAll(kPngPictures, std::size(kPngPictures)) ||
        !decodeAll(kBmpPictures, std::size(kBmpPictures)))
        return false;
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
    return SizeOf(bitmap(id));
}

SIZE Pictures::size(int id, UINT dpi) const {
    const win::Scale scale(dpi);
    return scale(size(id));
}

HBITMAP Pictures::rendering(int id, int resource) const {
    win::UniqueBitmap& made = renderings_[resource];
    if (!made)
        made = Decode(instance_, id, resource);
    return made.get();
}

HBITMAP Pictures::bitmap(int id, UINT dpi) const {
    HBITMAP base = bitmap(id);
    const SIZE want = size(id, dpi);
    const SIZE have = size(id);
    if (!base || (want.cx == have.cx && want.cy == have.cy))
        return base;
    win::UniqueBitmap& made = scaled_[{id, dpi}];
    if (made)
        return made.get();
    // The smallest rendering at least as large as the window wants, else the largest; a rendering is not
    // decoded when its scale says it is too small.
    struct Rendering {
        int resource;
        UINT dpi;
    };
    HBITMAP from = base;
    for (const Rendering& each : {Rendering{id, win::kBaseDpi}, Rendering{PICTURE_AT_150(id), win::kBaseDpi * 3 / 2},
                                  Rendering{PICTURE_AT_200(id), win::kBaseDpi * 2}}) {
        const SIZE expected = win::Scale(each.dpi)(have);
        if ((expected.cx < want.cx || expected.cy < want.cy) && each.dpi < win::kBaseDpi * 2)
            continue;
        HBITMAP candidate = each.resource == id ? base : rendering(id, each.resource);
        if (!candidate)
            continue;
        from = candidate;
        const SIZE size = SizeOf(candidate);
        if (size.cx >= want.cx && size.cy >= want.cy)
            break;
    }
    const SIZE size = SizeOf(from);
    if (size.cx == want.cx && size.cy == want.cy)
        return from;
    made = Resample(from, want);
    return made ? made.get() : from;
}

HICON Pictures::icon(int id, int pixels) const {
    win::UniqueIcon& made = sizedIcons_[{id, pixels}];
    if (!made)
        made.reset(static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_ICON, pixels, pixels, 0)));
    return made.get();
}
