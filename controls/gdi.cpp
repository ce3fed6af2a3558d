#include "controls/gdi.h"

#include <cmath>

namespace zarn::gdi {

BITMAPINFO TopDownDibInfo(int width, int height, WORD bitCount) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitCount;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

HBITMAP CreateDib32(HDC reference, int width, int height) {
  BITMAPINFO info = TopDownDibInfo(width, height, 32);
  void* bits = nullptr;
  return CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

long long RoundHalfEven(double value) {
  if (!std::isfinite(value)) return 0;
  if (value > 9.0e18) return 9000000000000000000LL;
  if (value < -9.0e18) return -9000000000000000000LL;
  // Done by hand rather than with nearbyint: a DLL loaded into the process may leave the
  // FPU in another rounding mode.
  const double low = std::floor(value);
  const double fraction = value - low;
  auto result = static_cast<long long>(low);
  if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) ++result;
  return result;
}

int RoundChannel(double value) {
  long long v = RoundHalfEven(value);
  return v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(v);
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF color) {
  unique_hpen pen(CreatePen(PS_SOLID, 1, color));
  unique_select_object selection(dc, pen.get());
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

void GradientLines(HDC dc, Lines kind, int steps, int from, int to, COLORREF start, COLORREF end) {
  if (steps < 0) return;
  double r = GetRValue(start), g = GetGValue(start), b = GetBValue(start);
  const double dr = steps ? (static_cast<double>(GetRValue(end)) - r) / steps : 0.0;
  const double dg = steps ? (static_cast<double>(GetGValue(end)) - g) / steps : 0.0;
  const double db = steps ? (static_cast<double>(GetBValue(end)) - b) / steps : 0.0;
  for (int i = 0; i <= steps; ++i) {
    const COLORREF color = RGB(RoundChannel(r), RoundChannel(g), RoundChannel(b));
    if (kind == Lines::Horizontal)
      Line(dc, from, i, to, i, color);
    else
      Line(dc, i, from, i, to, color);
    r += dr;
    g += dg;
    b += db;
  }
}

void Outline(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  unique_hpen pen(CreatePen(PS_SOLID, 1, color));
  unique_select_object penSelection(dc, pen.get());
  unique_select_object brushSelection(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, left, top, right, bottom);
}

}  // namespace zarn::gdi
