#pragma once
// JPEG pictures decoded with libjpeg into GDI bitmaps.

#include <windows.h>

#include <cstddef>

// Decodes a complete JPEG file held in memory into a 24-bit top-down DIB section (rows
// DWORD-aligned, bytes in blue-green-red order). Returns nullptr for empty, damaged, truncated
// or unsupported data (CMYK, absurd sizes); never exits or throws. The caller owns the bitmap.
HBITMAP DecodeJpeg(const unsigned char* data, std::size_t size) noexcept;

// Decodes the RCDATA resource resourceId of the module instance; nullptr when it is missing or
// does not decode.
HBITMAP LoadJpegBitmap(HINSTANCE instance, int resourceId) noexcept;
