#include "app/ImageDecode.h"

#include "tests/unit/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// The test runner copies these pictures next to the test executable.
std::string Asset(const wchar_t* name) {
    std::string bytes = test::ReadFile(name);
    EXPECT_FALSE(bytes.empty()) << "missing picture file";
    return bytes;
}

struct Pixels {
    int width = 0, height = 0;
    const unsigned char* bits = nullptr;
    const unsigned char* at(int x, int y) const { return bits + (static_cast<size_t>(y) * width + x) * 4; }
};

Pixels Inspect(HBITMAP bitmap) {
    DIBSECTION section = {};
    EXPECT_EQ(::GetObjectW(bitmap, sizeof(section), &section), static_cast<int>(sizeof(section)));
    return {section.dsBm.bmWidth, section.dsBm.bmHeight, static_cast<const unsigned char*>(section.dsBm.bmBits)};
}

TEST(Pictures, JpegDecodesToAnOpaqueTopDownBitmap) {
    const std::string data = Asset(L"header.jpg");
    win::UniqueBitmap bitmap = DecodeJpeg(data.data(), data.size());
    ASSERT_TRUE(bitmap);
    Pixels pixels = Inspect(bitmap.get());
    EXPECT_EQ(pixels.width, 834);
    EXPECT_EQ(pixels.height, 60);
    EXPECT_EQ(pixels.at(10, 10)[3], 255);
    // The header is dark on its left, where the greeting is drawn in white.
    const unsigned char* left = pixels.at(100, 20);
    EXPECT_LT(left[0] + left[1] + left[2], 3 * 110);
}

TEST(Pictures, PngDecodesWithPremultipliedAlpha) {
    const std::string data = Asset(L"logo.png");
    win::UniqueBitmap bitmap = DecodePng(data.data(), data.size());
    ASSERT_TRUE(bitmap);
    Pixels pixels = Inspect(bitmap.get());
    EXPECT_EQ(pixels.width, 40);
    EXPECT_EQ(pixels.height, 40);
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_LE(pixels.at(x, y)[c], pixels.at(x, y)[3]) << "pixel " << x << "," << y;
}

TEST(Pictures, DamagedDataIsRefused) {
    std::string data = Asset(L"header.jpg");
    EXPECT_FALSE(DecodeJpeg(data.data(), 100));  // cut short
    EXPECT_FALSE(DecodeJpeg("not a picture", 13));
    EXPECT_FALSE(DecodePng(data.data(), data.size()));  // a JPEG is no PNG
    std::string png = Asset(L"logo.png");
    EXPECT_FALSE(DecodePng(png.data(), png.size() / 2));
}

}  // namespace
