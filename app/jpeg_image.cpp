#include "app/jpeg_image.h"

#include <climits>
#include <csetjmp>
#include <cstdio>

// jpeglib.h relies on FILE and size_t being declared before it is included.
#include <jpeglib.h>

namespace {

// A damaged banner must not end the program: libjpeg's default error handler calls exit().
// Errors jump back to DecodeJpeg instead, and so do corrupt-data warnings, because libjpeg
// would otherwise pad a truncated picture with grey and report success.
struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf resume;
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  std::longjmp(manager->resume, 1);
}

void JumpOnCorruptData(j_common_ptr info, int level) {
  if (level < 0) {
    JumpOnError(info);
  }
}

// libjpeg's default writes to stderr, which a GUI program does not have.
void DiscardMessage(j_common_ptr) {}

// Largest pixel buffer accepted, so that a forged header cannot ask for gigabytes.
constexpr unsigned long long kMaxBitmapBytes = 64ull * 1024 * 1024;

HBITMAP CreateTopDownDib(JDIMENSION width, JDIMENSION height, unsigned char** bits, std::size_t* stride) {
  const unsigned long long rowBytes = (static_cast<unsigned long long>(width) * 3 + 3) & ~3ull;
  if (width == 0 || height == 0 || width > LONG_MAX || height > LONG_MAX || rowBytes * height > kMaxBitmapBytes) {
    return nullptr;
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bitmap == nullptr || pixels == nullptr) {
    if (bitmap != nullptr) {
      DeleteObject(bitmap);
    }
    return nullptr;
  }
  *bits = static_cast<unsigned char*>(pixels);
  *stride = static_cast<std::size_t>(rowBytes);
  return bitmap;
}

#ifndef JCS_EXTENSIONS
// Plain libjpeg knows only RGB output; GDI wants BGR.
void SwapRedBlue(unsigned char* row, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x) {
    unsigned char red = row[x * 3];
    row[x * 3] = row[x * 3 + 2];
    row[x * 3 + 2] = red;
  }
}
#endif

}  // namespace

// Nothing with a destructor lives in this function: longjmp would skip it. What must survive
// the jump is volatile.
HBITMAP DecodeJpeg(const unsigned char* data, std::size_t size) noexcept {
  if (data == nullptr || size == 0 || size > ULONG_MAX) {
    return nullptr;
  }
  jpeg_decompress_struct info;
  JpegErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = JumpOnError;
  errors.base.emit_message = JumpOnCorruptData;
  errors.base.output_message = DiscardMessage;
  HBITMAP volatile bitmap = nullptr;
  if (setjmp(errors.resume) != 0) {
    jpeg_destroy_decompress(&info);
    if (bitmap != nullptr) {
      DeleteObject(bitmap);
    }
    return nullptr;
  }

  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return nullptr;
  }
#ifdef JCS_EXTENSIONS
  info.out_color_space = JCS_EXT_BGR;
#else
  info.out_color_space = JCS_RGB;
#endif
  jpeg_start_decompress(&info);
  unsigned char* bits = nullptr;
  std::size_t stride = 0;
  if (info.output_components == 3) {
    bitmap = CreateTopDownDib(info.output_width, info.output_height, &bits, &stride);
  }
  if (bitmap == nullptr) {
    jpeg_destroy_decompress(&info);
    return nullptr;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = bits + static_cast<std::size_t>(info.output_scanline) * stride;
    if (jpeg_read_scanlines(&info, &row, 1) != 1) {
      // Only a suspending data source returns no row; a memory source never should.
      jpeg_destroy_decompress(&info);
      DeleteObject(bitmap);
      return nullptr;
    }
#ifndef JCS_EXTENSIONS
    SwapRedBlue(row, info.output_width);
#endif
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return bitmap;
}

HBITMAP LoadJpegBitmap(HINSTANCE instance, int resourceId) noexcept {
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resourceId), RT_RCDATA);
  if (found == nullptr) {
    return nullptr;
  }
  const DWORD size = SizeofResource(instance, found);
  HGLOBAL loaded = LoadResource(instance, found);
  if (size == 0 || loaded == nullptr) {
    return nullptr;
  }
  // Resource memory stays mapped as long as the module; nothing to free.
  const void* data = LockResource(loaded);
  if (data == nullptr) {
    return nullptr;
  }
  return DecodeJpeg(static_cast<const unsigned char*>(data), size);
}
