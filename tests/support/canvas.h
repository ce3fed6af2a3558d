#pragma once
// What the control tests read pictures with: a memory canvas, and the colour a gradient
// line is expected to have.
#include <windows.h>

#include "controls/gdi.h"

namespace zarn::test {

// A 32-bit memory bitmap, filled with `background` (black unless given), to paint into and
// read back.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF background = RGB(0, 0, 0));
  HDC dc() const { return dc_.get(); }
  COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }
  int width() const { return width_; }
  int height() const { return height_; }
  // The smallest rectangle holding every pixel of `color`; empty when there is none.
  RECT BoundsOf(COLORREF color) const;

 private:
  int width_, height_;
  gdi::unique_hdc dc_;
  gdi::unique_hbitmap bitmap_;
  gdi::unique_select_object selection_;
};

// Line i of a gradient of `steps` steps: channels accumulated in floating point, rounded
// half to even. Worked out here on its own rather than through the controls' helpers, so
// that a fault there shows.
COLORREF GradientAt(COLORREF from, COLORREF to, int steps, int i);

}  // namespace zarn::test
