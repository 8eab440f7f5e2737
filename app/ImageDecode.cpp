#include "app/ImageDecode.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace {

// libjpeg reports fatal errors through a callback that must not return: jump back to the decoder.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    HBITMAP volatile bitmap = nullptr;  // volatile: read again after the jump
};

void OnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void IgnoreJpegMessage(j_common_ptr) {}

}  // namespace

win::UniqueBitmap DecodeJpeg(const void* data, size_t size) {
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    error.manager.output_message = IgnoreJpegMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        if (error.bitmap)
            ::DeleteObject(error.bitmap);
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, static_cast<const unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;  // libjpeg-turbo writes Windows' pixel order directly
    jpeg_start_decompress(&info);
    void* bits = nullptr;
    error.bitmap =
        CreateDib32(static_cast<int>(info.output_width), static_cast<int>(info.output_height), &bits).release();
    if (!error.bitmap) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    auto* pixels = static_cast<unsigned char*>(bits);
    const size_t stride = size_t{info.output_width} * 4;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return win::UniqueBitmap(error.bitmap);
}

win::UniqueBitmap DecodePng(const void* data, size_t size) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size))
        return {};
    image.format = PNG_FORMAT_BGRA;
    void* bits = nullptr;
    win::UniqueBitmap bitmap = CreateDib32(static_cast<int>(image.width), static_cast<int>(image.height), &bits);
    if (!bitmap) {
        png_image_free(&image);
        return {};
    }
    if (!png_image_finish_read(&image, nullptr, bits, static_cast<png_int_32>(image.width * 4), nullptr)) {
        png_image_free(&image);
        return {};
    }
    // AlphaBlend wants premultiplied colours.
    auto* pixel = static_cast<unsigned char*>(bits);
    for (size_t i = 0, n = size_t{image.width} * image.height; i < n; ++i, pixel += 4) {
        const unsigned alpha = pixel[3];
        for (int c = 0; c < 3; ++c)
            pixel[c] = static_cast<unsigned char>((pixel[c] * alpha + 127) / 255);
    }
    return bitmap;
}

win::UniqueBitmap CreateDib32(int width, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* ignored = nullptr;
    return win::UniqueBitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits ? bits : &ignored, nullptr, 0));
}
