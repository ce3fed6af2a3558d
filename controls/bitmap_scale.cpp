#include "controls/bitmap_scale.h"

#include <algorithm>
#include <vector>

#include "controls/gdi.h"

namespace zarn {
namespace {

// Reads any bitmap as 32-bit top-down pixels (blue, green, red, unused).
bool ReadPixels(HBITMAP bitmap, int& width, int& height, std::vector<RGBQUAD>& pixels) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
  width = info.bmWidth;
  height = info.bmHeight;
  BITMAPINFO header = gdi::TopDownDibInfo(width, height, 32);
  pixels.resize(static_cast<size_t>(width) * height);
  gdi::unique_hdc dc(CreateCompatibleDC(nullptr));
  return dc && GetDIBits(dc.get(), bitmap, 0, height, pixels.data(), &header, DIB_RGB_COLORS) == height;
}

// For each target cell along one axis: the first source index and the weights (in units of
// 1/target of a source pixel) of the source pixels it covers.
struct Span {
  int first;
  std::vector<int> weights;
};
std::vector<Span> Spans(int source, int target) {
  std::vector<Span> spans(target);
  for (int i = 0; i < target; ++i) {
    // Cell i covers [i * source, (i + 1) * source) in units of 1/target source pixels.
    const long long begin = static_cast<long long>(i) * source, end = begin + source;
    Span& span = spans[i];
    span.first = static_cast<int>(begin / target);
    for (long long p = span.first; p * target < end; ++p) {
      const long long from = std::max(begin, p * target), to = std::min(end, (p + 1) * target);
      span.weights.push_back(static_cast<int>(to - from));
    }
  }
  return spans;
}

}  // namespace

HBITMAP ShrinkBitmap(HBITMAP source, int width, int height) {
  int sw = 0, sh = 0;
  std::vector<RGBQUAD> in;
  if (width <= 0 || height <= 0 || !ReadPixels(source, sw, sh, in)) return nullptr;

  const BITMAPINFO header = gdi::TopDownDibInfo(width, height, 24);
  void* bits = nullptr;
  gdi::unique_hbitmap result(CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!result || !bits) return nullptr;
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
  const std::vector<Span> columns = Spans(sw, width), rows = Spans(sh, height);
  // Each cell covers sw x sh units of (1/width) x (1/height) of a source pixel.
  const unsigned long long area = static_cast<unsigned long long>(sw) * sh;
  for (int y = 0; y < height; ++y) {
    auto* out = static_cast<unsigned char*>(bits) + y * stride;
    for (int x = 0; x < width; ++x) {
      unsigned long long b = 0, g = 0, r = 0;
      const Span& row = rows[y];
      const Span& column = columns[x];
      for (size_t j = 0; j < row.weights.size(); ++j) {
        const RGBQUAD* line = in.data() + static_cast<size_t>(row.first + j) * sw;
        for (size_t i = 0; i < column.weights.size(); ++i) {
          const unsigned long long w = static_cast<unsigned long long>(row.weights[j]) * column.weights[i];
          const RGBQUAD& p = line[column.first + i];
          b += w * p.rgbBlue;
          g += w * p.rgbGreen;
          r += w * p.rgbRed;
        }
      }
      out[x * 3] = static_cast<unsigned char>((b + area / 2) / area);
      out[x * 3 + 1] = static_cast<unsigned char>((g + area / 2) / area);
      out[x * 3 + 2] = static_cast<unsigned char>((r + area / 2) / area);
    }
  }
  return result.release();
}

}  // namespace zarn
