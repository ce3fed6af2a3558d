#include "controls/xibutton_paint.h"

#include "controls/dpi.h"
#include "controls/gdi.h"

namespace zarn {

XiButtonPlacement PlaceXiButtonContent(int width, int height, int tw, int th, int gw, int gh, XiGlyphLayout layout,
                                       int spacing, bool captionEmpty, bool down, int downShift) {
  XiButtonPlacement p{(width - tw) / 2, (height - th) / 2, tw, th, 0, 0};
  const int s = spacing;
  const int glyphGap = s / 2 + s % 2;
  if (gw > 0 && gh > 0) {
    switch (layout) {
      case XiGlyphLayout::Left:
        p.gx = p.tx - gw / 2;
        p.gy = (height - gh) / 2;
        p.tx += gw / 2;
        if (!captionEmpty) {
          p.gx -= glyphGap;
          p.tx += s / 2;
        }
        break;
      case XiGlyphLayout::Right:
        p.gx = p.tx + tw - gw / 2;
        p.gy = (height - gh) / 2;
        p.tx -= gw / 2;
        if (!captionEmpty) {
          p.gx += glyphGap;
          p.tx -= s / 2;
        }
        break;
      case XiGlyphLayout::Top:
        p.gx = (width - gw) / 2;
        p.gy = p.ty - gh / 2 - gh % 2;
        p.ty += gh / 2;
        if (!captionEmpty) {
          p.gy -= glyphGap;
          p.ty += s / 2;
        }
        break;
      case XiGlyphLayout::Bottom:
        p.gx = (width - gw) / 2;
        p.gy = p.ty + th - gh / 2;
        p.ty -= gh / 2;
        if (!captionEmpty) {
          p.gy += glyphGap;
          p.ty -= s / 2;
        }
        break;
    }
  }
  if (down) {
    p.gx += downShift;
    p.gy += downShift;
    p.tx += downShift;
    p.ty += downShift;
  }
  return p;
}

namespace {

void DrawGlyph(HDC dc, HBITMAP glyph, int x, int y, int gw, int gh, bool transparent) {
  gdi::unique_hdc source(CreateCompatibleDC(dc));
  if (!source) return;
  gdi::unique_select_object selection(source.get(), glyph);
  if (transparent) {
    const COLORREF key = GetPixel(source.get(), 0, 0);
    TransparentBlt(dc, x, y, gw, gh, source.get(), 0, 0, gw, gh, key);
  } else {
    BitBlt(dc, x, y, gw, gh, source.get(), 0, 0, SRCCOPY);
  }
}

}  // namespace

void PaintXiButton(HDC dc, int width, int height, const XiButtonPaintData& data) {
  if (!dc || width <= 0 || height <= 0) return;
  const XiButtonColorSet& c = data.colors;

  RECT all{0, 0, width, height};
  gdi::unique_hbrush face(CreateSolidBrush(c.Face));
  FillRect(dc, &all, face.get());
  if (data.gradient) gdi::GradientLines(dc, gdi::Lines::Horizontal, height, 0, width - 1, c.Face, c.Grad);

  HFONT font = data.font ? data.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  gdi::unique_select_object fontSelection(dc, font);
  SetTextColor(dc, c.Text);
  SetBkMode(dc, TRANSPARENT);
  // Measured as written, accelerator marks included.
  SIZE text{};
  GetTextExtentPoint32A(dc, data.caption.c_str(), static_cast<int>(data.caption.size()), &text);

  BITMAP glyphInfo{};
  const bool hasGlyph = data.glyph && GetObjectA(data.glyph, sizeof glyphInfo, &glyphInfo) && glyphInfo.bmWidth > 0 &&
                        glyphInfo.bmHeight > 0;
  const int gw = hasGlyph ? glyphInfo.bmWidth : 0;
  const int gh = hasGlyph ? glyphInfo.bmHeight : 0;
  const int line = dpi::LineWidth(data.dpi);
  const XiButtonPlacement p =
      PlaceXiButtonContent(width, height, text.cx, text.cy, gw, gh, data.layout, dpi::Scale(data.spacing, data.dpi),
                           data.caption.empty(), data.down, line);
  if (hasGlyph) DrawGlyph(dc, data.glyph, p.gx, p.gy, gw, gh, data.transparentGlyph);

  if (!data.caption.empty()) {
    RECT box{p.tx, p.ty, p.tx + p.tw, p.ty + p.th};
    DrawTextA(dc, data.caption.c_str(), static_cast<int>(data.caption.size()), &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
  }

  // Each one-pixel line of the 96-DPI picture becomes `line` whole pixels, drawn as that
  // many nested one-pixel rings, so nothing is blurred or anti-aliased.
  for (int k = 0; k < line; ++k) gdi::Outline(dc, k, k, width - k, height - k, c.Border);
  if (data.ctl3D) {
    gdi::unique_hpen light(CreatePen(PS_SOLID, 1, c.Light));
    gdi::unique_hpen dark(CreatePen(PS_SOLID, 1, c.Dark));
    for (int k = 0; k < line; ++k) {
      const int i = line + k;
      {
        gdi::unique_select_object selection(dc, light.get());
        MoveToEx(dc, i, height - 1 - i, nullptr);
        LineTo(dc, i, i);
        LineTo(dc, width - i, i);
      }
      gdi::unique_select_object selection(dc, dark.get());
      MoveToEx(dc, width - 1 - i, i, nullptr);
      LineTo(dc, width - 1 - i, height - 1 - i);
      LineTo(dc, i, height - 1 - i);
    }
  }
  if (data.focused) {
    const int inset = dpi::Scale(3, data.dpi);
    for (int k = 0; k < line; ++k)
      gdi::Outline(dc, inset + k, inset + k, width - inset - k, height - inset - k, data.focusColor);
  }
}

}  // namespace zarn
