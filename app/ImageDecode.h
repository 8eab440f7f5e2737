#pragma once

#include "win/Handle.h"

#include <cstddef>

// Decodes JPEG (libjpeg) and PNG (libpng) data into 32-bit top-down DIB sections. PNG pixels are stored
// with premultiplied alpha, ready for AlphaBlend. An empty bitmap means the data could not be decoded.
win::UniqueBitmap DecodeJpeg(const void* data, size_t size);
win::UniqueBitmap DecodePng(const void* data, size_t size);

// An empty 32-bit top-down DIB section of the given size; bits receives its pixel memory (may be null).
win::UniqueBitmap CreateDib32(int width, int height, void** bits);
