#include "tests/support/canvas.h"

#include <cmath>

namespace zarn::test {

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)),
      bitmap_(gdi::CreateDib32(dc_.get(), width, height)), selection_(dc_.get(), bitmap_.get()) {
  RECT all{0, 0, width, height};
  FillRect(dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
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
