#include "tests/drive/HelpPictures.h"

#include "tests/drive/Drive.h"
#include "win/Handle.h"

#include <algorithm>
#include <vector>

namespace drive {

namespace {

// The screen's pixels in the rectangle, row by row from the top, as 0x00RRGGBB.
std::vector<DWORD> ScreenPixels(const RECT& part) {
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;
    win::WindowDc screen(nullptr);
    win::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::UniqueBitmap bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    Expect(bits != nullptr, L"a picture of the screen can be made");
    {
        win::SelectGuard select(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), part.left, part.top, SRCCOPY);
    }
    ::GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    std::vector<DWORD> copy(pixels, pixels + static_cast<size_t>(width) * height);
    for (DWORD& pixel : copy)
        pixel &= 0xFFFFFF;
    return copy;
}

}  // namespace

bool TakingHelpPictures() {
    return ::GetEnvironmentVariableW(L"KESTAVEL_HELP_PICTURES", nullptr, 0) != 0;
}

bool HelpPicture(const std::wstring& name, const RECT& part, HWND shown) {
    if (!TakingHelpPictures())
        return true;
    auto gone = [&] { return shown && !::IsWindowVisible(shown); };
    if (gone())
        return false;
    const int width = part.right - part.left;
    Expect(width > 0 && width <= kHelpPictureWidth && part.bottom > part.top,
           L"the help picture " + name + L" is " + std::to_wstring(width) + L" pixels wide, at most " +
               std::to_wstring(kHelpPictureWidth));
    // A window that has just appeared (a menu) is black on the X screen until it has painted itself; in no
    // picture of the windows is an eighth of the pixels black.
    const bool drawn = WaitUntil([&] {
        const std::vector<DWORD> pixels = ScreenPixels(part);
        return gone() || std::count(pixels.begin(), pixels.end(), 0u) * 8 < static_cast<std::ptrdiff_t>(pixels.size());
    });
    if (gone())
        return false;
    Expect(drawn, L"the help picture " + name + L" is drawn");
    const std::wstring picture = L"help-picture-" + name;
    Screenshot(picture, part);
    if (gone()) {
        ::DeleteFileW((L"C:\\screenshots\\" + picture + L".bmp").c_str());
        return false;
    }
    return true;
}

RECT WindowRectOf(HWND window) {
    RECT box = {};
    if (!::GetWindowRect(window, &box))
        return {};
    return box;
}

RECT Around(std::initializer_list<RECT> parts, int margin) {
    RECT box = *parts.begin();
    for (const RECT& part : parts)
        ::UnionRect(&box, &box, &part);
    ::InflateRect(&box, margin, margin);
    return box;
}

int LastColumnWith(const RECT& part, COLORREF colour) {
    const int width = part.right - part.left;
    const std::vector<DWORD> pixels = ScreenPixels(part);
    // A COLORREF is 0x00BBGGRR.
    const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    int last = -1;
    for (size_t row = 0; row < pixels.size(); row += width) {
        for (int x = width - 1; x > last; --x) {
            if (pixels[row + x] == wanted) {
                last = x;
                break;
            }
        }
    }
    return part.left + last;
}

}  // namespace drive
