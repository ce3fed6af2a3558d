// The gradient button's properties and schemes, and its picture checked pixel by pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>

#include "controls/gdi.h"
#include "controls/xibutton.h"
#include "tests/support/canvas.h"

namespace zarn {
namespace {

using Btn = TXiButton;
using C = XiButtonColor;
using test::Canvas;
using test::GradientAt;

XiButtonColorSet Set(const Btn& b, int first) {
  auto at = [&](int i) { return b.Color(static_cast<C>(first + i)); };
  return {at(0), at(1), at(2), at(3), at(4), at(5)};
}

XiButtonPaintData SchemeData(Btn::TColorScheme scheme, int set = 0) {
  Btn b;
  b.SetColorScheme(scheme);
  XiButtonPaintData d = b.PaintData();
  d.colors = Set(b, set * 6);
  return d;
}

SIZE TextSize(const std::string& text) {
  Canvas probe(1, 1);
  gdi::unique_select_object font(probe.dc(), GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  GetTextExtentPoint32A(probe.dc(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

TEST(XiButtonModel, NewButtonIsNeoDesertWithWhiteGradEnds) {
  Btn b;
  EXPECT_EQ(b.ColorScheme(), Btn::csNeoDesert);
  EXPECT_TRUE(b.Gradient());
  EXPECT_TRUE(b.Ctl3D());
  EXPECT_TRUE(b.HotTrack());
  EXPECT_TRUE(b.TransparentGlyph());
  EXPECT_TRUE(b.TabStop());
  EXPECT_FALSE(b.Default());
  EXPECT_FALSE(b.Cancel());
  EXPECT_EQ(b.Layout(), Btn::blGlyphLeft);
  EXPECT_EQ(b.Spacing(), 4);
  EXPECT_EQ(b.ModalResult(), Btn::mrNone);
  EXPECT_EQ(b.Glyph(), nullptr);
  EXPECT_EQ(b.VisualState(), Btn::vsNormal);
  EXPECT_EQ(b.Color(C::ColorFace), 0xC6ECFFu);
  EXPECT_EQ(b.Color(C::ColorGrad), 0x37BEFFu);
  EXPECT_EQ(b.Color(C::OverColorGrad), 0xFFFFFFu);
  EXPECT_EQ(b.Color(C::DownColorGrad), 0xFFFFFFu);
  EXPECT_EQ(b.Color(C::DisabledColorGrad), 0xFFFFFFu);
  EXPECT_EQ(b.Color(C::DownColorLight), 0x0077B7u);
  EXPECT_EQ(b.Color(C::ColorFocusRect), 0x4080FFu);
}

TEST(XiButtonModel, PlainSchemeKeepsGradColoursAndSwitchesGradientOff) {
  Btn b;
  b.SetColorScheme(Btn::csNeoSilver);
  EXPECT_TRUE(b.Gradient());
  b.SetColorScheme(Btn::csSky);
  EXPECT_EQ(b.ColorScheme(), Btn::csSky);
  EXPECT_FALSE(b.Gradient());
  EXPECT_EQ(b.Color(C::ColorGrad), 0xBCBCBCu);
  EXPECT_EQ(b.Color(C::OverColorGrad), 0xA6A6A6u);
  EXPECT_EQ(b.Color(C::DownColorGrad), 0xDADADAu);
  EXPECT_EQ(b.Color(C::DisabledColorGrad), 0xFFFFFFu);
  EXPECT_EQ(b.Color(C::ColorFace), 0xFFE0C1u);
  EXPECT_EQ(b.Color(C::DownColorLight), 0xFF9122u);
  EXPECT_EQ(b.Color(C::DisabledColorFace), 0xE2E2E2u);
  EXPECT_EQ(b.Color(C::ColorFocusRect), 0xDC9B14u);
  b.SetColorScheme(Btn::csNeoSun);
  EXPECT_TRUE(b.Gradient());
  EXPECT_EQ(b.Color(C::DownColorGrad), 0x66F0FBu);
}

TEST(XiButtonModel, SingleColourMeansCustomAndCustomChangesNothing) {
  Btn b;
  b.SetColorScheme(Btn::csNeoRose);
  b.SetColor(C::DownColorBorder, 0x010203);
  EXPECT_EQ(b.ColorScheme(), Btn::csCustom);
  EXPECT_EQ(b.Color(C::DownColorBorder), 0x010203u);
  EXPECT_EQ(b.Color(C::ColorFace), 0xE8E8FFu);

  COLORREF before[XiButtonColorCount];
  for (int i = 0; i < XiButtonColorCount; ++i) before[i] = b.Color(static_cast<C>(i));
  const bool gradient = b.Gradient();
  b.SetColorScheme(Btn::csCustom);
  EXPECT_EQ(b.ColorScheme(), Btn::csCustom);
  EXPECT_EQ(b.Gradient(), gradient);
  for (int i = 0; i < XiButtonColorCount; ++i) EXPECT_EQ(b.Color(static_cast<C>(i)), before[i]) << "index " << i;
}

TEST(XiButtonModel, StoredColoursThenNeoSilverGiveExactlyTheScheme) {
  Btn b;
  for (int i = 0; i < XiButtonColorCount; ++i) b.SetColor(static_cast<C>(i), RGB(i, i, i));
  b.SetGradient(false);
  b.SetColorScheme(Btn::csNeoSilver);
  EXPECT_EQ(b.ColorScheme(), Btn::csNeoSilver);
  EXPECT_TRUE(b.Gradient());
  for (int i = 0; i < XiButtonColorCount; ++i) {
    COLORREF expected = 0;
    ASSERT_TRUE(Btn::SchemeColor(Btn::csNeoSilver, static_cast<C>(i), expected));
    EXPECT_EQ(b.Color(static_cast<C>(i)), expected) << "index " << i;
  }
  EXPECT_EQ(b.Color(C::OverColorGrad), 0xA6A6A6u);
  COLORREF none = 0;
  EXPECT_FALSE(Btn::SchemeColor(Btn::csSilver, C::DisabledColorGrad, none));
  EXPECT_FALSE(Btn::SchemeColor(Btn::csCustom, C::ColorFace, none));
}

TEST(XiButtonPaint, GradientRowsRoundHalvesToEven) {
  XiButtonPaintData d;
  d.colors = {RGB(0, 100, 200), RGB(25, 100, 200), 0, 0, RGB(0, 0, 255), 0};
  d.gradient = true;
  d.ctl3D = false;
  d.caption = "";
  Canvas canvas(30, 10);
  PaintXiButton(canvas.dc(), 30, 10, d);
  // 2.5 red per row over 10 rows.
  const int red[] = {0, 2, 5, 8, 10, 12, 15, 18, 20, 22};
  for (int y = 1; y <= 8; ++y) EXPECT_EQ(canvas.At(5, y), RGB(red[y], 100, 200)) << "row " << y;
}

TEST(XiButtonPaint, NeoSilverFaceFrameAndBevel) {
  const int w = 75, h = 25;
  XiButtonPaintData d = SchemeData(Btn::csNeoSilver);
  d.caption = "";
  const XiButtonColorSet c = d.colors;
  Canvas canvas(w, h);
  PaintXiButton(canvas.dc(), w, h, d);

  for (int y = 2; y <= h - 3; ++y) EXPECT_EQ(canvas.At(10, y), GradientAt(c.Face, c.Grad, h, y)) << "row " << y;
  for (int x = 0; x < w; ++x) {
    EXPECT_EQ(canvas.At(x, 0), c.Border);
    EXPECT_EQ(canvas.At(x, h - 1), c.Border);
  }
  for (int y = 0; y < h; ++y) {
    EXPECT_EQ(canvas.At(0, y), c.Border);
    EXPECT_EQ(canvas.At(w - 1, y), c.Border);
  }
  // Light: left column from the bottom up, then the top row; the Dark line down the right
  // column and back along the bottom row starts on the Light line's last pixel.
  for (int y = 2; y <= h - 2; ++y) EXPECT_EQ(canvas.At(1, y), c.Light) << "row " << y;
  for (int x = 1; x <= w - 3; ++x) EXPECT_EQ(canvas.At(x, 1), c.Light) << "column " << x;
  for (int y = 1; y <= h - 3; ++y) EXPECT_EQ(canvas.At(w - 2, y), c.Dark) << "row " << y;
  for (int x = 2; x <= w - 2; ++x) EXPECT_EQ(canvas.At(x, h - 2), c.Dark) << "column " << x;
  EXPECT_EQ(canvas.At(w - 2, 1), c.Dark);
  EXPECT_EQ(canvas.At(1, h - 2), c.Light);

  d.ctl3D = false;
  Canvas flat(w, h);
  PaintXiButton(flat.dc(), w, h, d);
  EXPECT_EQ(flat.At(1, 1), GradientAt(c.Face, c.Grad, h, 1));
  EXPECT_EQ(flat.At(w - 2, h - 2), GradientAt(c.Face, c.Grad, h, h - 2));
}

TEST(XiButtonPaint, DownSetDrawsTheBevelInverted) {
  const int w = 75, h = 25;
  XiButtonPaintData d = SchemeData(Btn::csNeoSky, 2);
  d.down = true;
  d.caption = "";
  Canvas canvas(w, h);
  PaintXiButton(canvas.dc(), w, h, d);
  EXPECT_EQ(canvas.At(1, 10), 0xFF9E3Eu);      // DownColorLight, the darker one
  EXPECT_EQ(canvas.At(w - 2, 10), 0xFFD3A8u);  // DownColorDark
  EXPECT_EQ(canvas.At(0, 10), 0xB35900u);
  EXPECT_EQ(canvas.At(20, 12), GradientAt(0xFFB366, 0xFFCE9D, h, 12));
}

TEST(XiButtonPaint, FocusRectangleIsASolidRingThreePixelsIn) {
  const int w = 40, h = 20;
  XiButtonPaintData d = SchemeData(Btn::csGrass);
  d.caption = "";
  d.focused = true;
  Canvas canvas(w, h);
  PaintXiButton(canvas.dc(), w, h, d);
  const COLORREF focus = 0x00A421;
  for (int x = 3; x <= w - 4; ++x) {
    EXPECT_EQ(canvas.At(x, 3), focus) << x;
    EXPECT_EQ(canvas.At(x, h - 4), focus) << x;
  }
  for (int y = 3; y <= h - 4; ++y) {
    EXPECT_EQ(canvas.At(3, y), focus) << y;
    EXPECT_EQ(canvas.At(w - 4, y), focus) << y;
  }
  // A plain scheme: flat face, inside and outside the ring.
  EXPECT_EQ(canvas.At(4, 4), 0x98EBB7u);
  EXPECT_EQ(canvas.At(2, 2), 0x98EBB7u);
  EXPECT_EQ(canvas.At(w - 3, h - 3), 0x98EBB7u);
}

// The box of pixels that differ between two pictures.
RECT Difference(const Canvas& a, const Canvas& b) {
  RECT box{a.width(), a.height(), -1, -1};
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.At(x, y) != b.At(x, y)) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

// The ink of a caption drawn alone at the origin of its text box, in the buttons' default font.
RECT InkAlone(const std::string& text) {
  const SIZE size = TextSize(text);
  Canvas blank(size.cx, size.cy, RGB(255, 255, 255)), inked(size.cx, size.cy, RGB(255, 255, 255));
  gdi::unique_select_object font(inked.dc(), GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(inked.dc(), TRANSPARENT);
  TextOutA(inked.dc(), 0, 0, text.c_str(), static_cast<int>(text.size()));
  return Difference(blank, inked);
}

TEST(XiButtonPaint, CaptionIsCentredAndMovesWhenDown) {
  const int w = 75, h = 25;
  XiButtonPaintData d = SchemeData(Btn::csSilver);
  d.ctl3D = false;
  d.caption = "";
  Canvas blank(w, h), up(w, h), down(w, h);
  PaintXiButton(blank.dc(), w, h, d);
  d.caption = "Cancel";
  PaintXiButton(up.dc(), w, h, d);
  d.down = true;
  PaintXiButton(down.dc(), w, h, d);

  const SIZE text = TextSize("Cancel");
  const int tx = (w - text.cx) / 2, ty = (h - text.cy) / 2;
  const RECT drawn = Difference(blank, up);
  ASSERT_GT(drawn.right, drawn.left) << "no caption drawn";
  EXPECT_GE(drawn.left, tx);
  EXPECT_GE(drawn.top, ty);
  EXPECT_LE(drawn.right, tx + text.cx);
  EXPECT_LE(drawn.bottom, ty + text.cy);
  // Centred: the ink leaves about as much room on either side, beyond what the font's own ink
  // leaves in its text box (Wine's Tahoma draws its small sizes narrower than it measures them).
  const RECT alone = InkAlone("Cancel");
  ASSERT_GT(alone.right, alone.left) << "no caption drawn alone";
  EXPECT_LE(std::abs((drawn.left - alone.left) - (w - drawn.right - (text.cx - alone.right))), 3);

  const RECT moved = Difference(blank, down);
  EXPECT_EQ(moved.left, drawn.left + 1);
  EXPECT_EQ(moved.top, drawn.top + 1);
  EXPECT_EQ(moved.right, drawn.right + 1);
  EXPECT_EQ(moved.bottom, drawn.bottom + 1);
}

TEST(XiButtonPlacement, GlyphLayoutsWithSpacing) {
  // 75 x 25 button, caption 20 x 13 (origin 27, 6), glyph 8 x 6, spacing 5 (2 + 1).
  using L = XiGlyphLayout;
  auto at = [](L layout, int spacing, int gh = 6, bool empty = false, bool down = false) {
    return PlaceXiButtonContent(75, 25, empty ? 0 : 20, empty ? 0 : 13, 8, gh, layout, spacing, empty, down);
  };
  XiButtonPlacement p = at(L::Left, 5);
  EXPECT_EQ(p.gx, 20);
  EXPECT_EQ(p.gy, 9);
  EXPECT_EQ(p.tx, 33);
  EXPECT_EQ(p.ty, 6);
  p = at(L::Right, 5);
  EXPECT_EQ(p.gx, 46);
  EXPECT_EQ(p.gy, 9);
  EXPECT_EQ(p.tx, 21);
  p = at(L::Top, 5);
  EXPECT_EQ(p.gx, 33);
  EXPECT_EQ(p.gy, 0);
  EXPECT_EQ(p.ty, 11);
  EXPECT_EQ(p.tx, 27);
  p = at(L::Top, 5, 7);
  EXPECT_EQ(p.gy, -1);  // 6 - 3 - 1 - 3
  EXPECT_EQ(p.ty, 11);
  p = at(L::Bottom, 5);
  EXPECT_EQ(p.gy, 19);
  EXPECT_EQ(p.ty, 1);
  // Negative spacing: division and remainder truncate toward zero.
  p = at(L::Left, -3);
  EXPECT_EQ(p.gx, 25);
  EXPECT_EQ(p.tx, 30);
  // No caption, no spacing.
  p = at(L::Left, 5, 6, true);
  EXPECT_EQ(p.gx, 33);
  EXPECT_EQ(p.tx, 41);
  p = at(L::Left, 5, 6, false, true);
  EXPECT_EQ(p.gx, 21);
  EXPECT_EQ(p.gy, 10);
  EXPECT_EQ(p.tx, 34);
  EXPECT_EQ(p.ty, 7);
}

// An 8 x 6 glyph: its top row in the key colour, the rest green.
gdi::unique_hbitmap MakeGlyph() {
  Canvas probe(1, 1);
  gdi::unique_hbitmap glyph(gdi::CreateDib32(probe.dc(), 8, 6));
  gdi::unique_hdc dc(CreateCompatibleDC(nullptr));
  gdi::unique_select_object selection(dc.get(), glyph.get());
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) SetPixel(dc.get(), x, y, y == 0 ? RGB(255, 0, 255) : RGB(10, 200, 30));
  return glyph;
}

TEST(XiButtonPaint, GlyphDrawnTransparentlyOrOpaqueWhereItBelongs) {
  const int w = 75, h = 25;
  gdi::unique_hbitmap glyph = MakeGlyph();
  XiButtonPaintData d = SchemeData(Btn::csSilver);
  d.ctl3D = false;
  d.glyph = glyph.get();
  d.caption = "Go";
  d.spacing = 6;
  const SIZE text = TextSize("Go");
  const XiButtonPlacement p = PlaceXiButtonContent(w, h, text.cx, text.cy, 8, 6, XiGlyphLayout::Left, 6, false, false);
  const COLORREF face = 0xE0E0E0;

  Canvas transparent(w, h);
  PaintXiButton(transparent.dc(), w, h, d);
  EXPECT_EQ(transparent.At(p.gx, p.gy), face);
  EXPECT_EQ(transparent.At(p.gx + 7, p.gy), face);
  EXPECT_EQ(transparent.At(p.gx, p.gy + 1), RGB(10, 200, 30));
  EXPECT_EQ(transparent.At(p.gx + 7, p.gy + 5), RGB(10, 200, 30));
  EXPECT_EQ(transparent.At(p.gx - 1, p.gy + 3), face);
  EXPECT_EQ(transparent.At(p.gx + 3, p.gy + 6), face);

  d.transparentGlyph = false;
  Canvas opaque(w, h);
  PaintXiButton(opaque.dc(), w, h, d);
  EXPECT_EQ(opaque.At(p.gx, p.gy), RGB(255, 0, 255));
  EXPECT_EQ(opaque.At(p.gx + 4, p.gy + 4), RGB(10, 200, 30));
}

TEST(XiButtonPaint, GlyphWithoutCaptionIgnoresSpacing) {
  const int w = 75, h = 25;
  gdi::unique_hbitmap glyph = MakeGlyph();
  XiButtonPaintData d = SchemeData(Btn::csSilver);
  d.ctl3D = false;
  d.glyph = glyph.get();
  d.caption = "";
  for (int spacing : {0, 4, 11}) {
    d.spacing = spacing;
    Canvas canvas(w, h);
    PaintXiButton(canvas.dc(), w, h, d);
    // Centred: x = 75 div 2 - 8 div 2 = 33, y = (25 - 6) div 2 = 9.
    EXPECT_EQ(canvas.At(33, 10), RGB(10, 200, 30)) << "spacing " << spacing;
    EXPECT_EQ(canvas.At(40, 14), RGB(10, 200, 30)) << "spacing " << spacing;
    EXPECT_EQ(canvas.At(32, 10), 0xE0E0E0u) << "spacing " << spacing;
    EXPECT_EQ(canvas.At(41, 10), 0xE0E0E0u) << "spacing " << spacing;
  }
}

TEST(XiButtonModel, GlyphIsCopied) {
  Btn b;
  {
    gdi::unique_hbitmap glyph = MakeGlyph();
    b.SetGlyph(glyph.get());
    EXPECT_NE(b.Glyph(), glyph.get());
  }
  BITMAP info{};
  ASSERT_TRUE(GetObjectA(b.Glyph(), sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 8);
  EXPECT_EQ(info.bmHeight, 6);
  b.SetGlyph(nullptr);
  EXPECT_EQ(b.Glyph(), nullptr);
}

}  // namespace
}  // namespace zarn
