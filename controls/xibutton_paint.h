#pragma once
// The picture of the gradient button as a pure function of its properties and state.
#include <windows.h>

#include <string>

namespace zarn {

// One of the button's four colour sets (normal, hot, down, disabled).
struct XiButtonColorSet {
  COLORREF Face, Grad, Dark, Light, Border, Text;
};

enum class XiGlyphLayout { Left, Right, Top, Bottom };

struct XiButtonPaintData {
  XiButtonColorSet colors{};
  COLORREF focusColor = 0;
  bool gradient = false;
  bool ctl3D = true;
  bool down = false;     // the visual state is "down": glyph and caption move by one pixel
  bool focused = false;  // draw the focus rectangle
  std::string caption;   // '&' marks the accelerator
  HFONT font = nullptr;  // null: the default GUI font
  HBITMAP glyph = nullptr;
  bool transparentGlyph = true;
  XiGlyphLayout layout = XiGlyphLayout::Left;
  int spacing = 4;  // at 96 DPI
  // The resolution the button is shown at: the width of the border, the bevel and the focus
  // rectangle, their insets, the spacing and the pressed shift scale with it.
  UINT dpi = 96;
};

// Where the caption and the glyph go on a button of width x height.
struct XiButtonPlacement {
  int tx, ty, tw, th;  // caption rectangle origin and size
  int gx, gy;          // glyph origin (meaningful with a glyph only)
};
// `downShift` is how far the pressed state moves caption and glyph (one pixel at 96 DPI).
XiButtonPlacement PlaceXiButtonContent(int width, int height, int tw, int th, int gw, int gh, XiGlyphLayout layout,
                                       int spacing, bool captionEmpty, bool down, int downShift = 1);

// Draws the button into `dc`, normally a memory DC of width x height.
void PaintXiButton(HDC dc, int width, int height, const XiButtonPaintData& data);

}  // namespace zarn
