#include "tests/support/canvas.h"

#include <algorithm>
#include <cmath>

namespace zarn::test {

Canvas::Canvas(int width, int height, COLORREF background)
    : width_(width),
      height_(height),
      dc_(CreateCompatibleDC(nullptr)),
      bitmap_(gdi::CreateDib32(dc_.get(), width, height)),
      selection_(dc_.get(), bitmap_.get()) {
  RECT all{0, 0, width, height};
  gdi::unique_hbrush brush(CreateSolidBrush(background));
  FillRect(dc_.get(), &all, brush.get());
}

RECT Canvas::BoundsOf(COLORREF color) const {
  RECT r{width_, height_, 0, 0};
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (At(x, y) == color)
        r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x + 1),
             std::max<LONG>(r.bottom, y + 1)};
  return r.right ? r : RECT{};
}

COLORREF GradientAt(COLORREF from, COLORREF to, int steps, int i) {
  double r = GetRValue(from), g = GetGValue(from), b = GetBValue(from);
  const double dr = (GetRValue(to) - r) / steps, dg = (GetGValue(to) - g) / steps, db = (GetBValue(to) - b) / steps;
  for (int k = 0; k < i; ++k) {
    r += dr;
    g += dg;
    b += db;
  }
  return RGB(std::lrint(r), std::lrint(g), std::lrint(b));
}

}  // namespace zarn::test
