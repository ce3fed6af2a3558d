// The gradient controls drawn for other resolutions: their lines become whole pixels as wide
// as the DPI makes one pixel, their insets, spacing and pressed shift scale; and the shrink
// that makes the banners for them.
#include <gtest/gtest.h>
#include <windows.h>

#include "controls/bitmap_scale.h"
#include "controls/xibutton.h"
#include "controls/xiprogressbar.h"
#include "tests/support/dpi_test.h"

namespace zarn {
namespace {

using test::Canvas;
using test::GradientAt;

class ControlsAtDpi : public ::testing::TestWithParam<UINT> {
 protected:
  int S(int v) const { return dpi::Scale(v, GetParam()); }
  int t() const { return dpi::LineWidth(GetParam()); }
  XiButtonPaintData Button() const {
    TXiButton b;
    b.SetColorScheme(TXiButton::csNeoSilver);
    XiButtonPaintData d = b.PaintData();
    d.dpi = GetParam();
    d.colors.Text = RGB(255, 0, 0);
    return d;
  }
};

// A font without smoothing: every pixel of a caption has exactly the text colour.
gdi::unique_hfont SharpFont(int height) {
  return gdi::unique_hfont(CreateFontA(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH,
                                       "Tahoma"));
}

TEST_P(ControlsAtDpi, ButtonBorderBevelAndFocusRing) {
  const int w = S(75), h = S(25), y = h / 2, inset = S(3);
  XiButtonPaintData d = Button();
  d.caption = "";
  d.focused = true;
  Canvas c(w, h);
  PaintXiButton(c.dc(), w, h, d);
  for (int k = 0; k < t(); ++k) {
    EXPECT_EQ(c.At(k, y), d.colors.Border) << k;
    EXPECT_EQ(c.At(w / 2, h - 1 - k), d.colors.Border) << k;
    EXPECT_EQ(c.At(t() + k, y), d.colors.Light) << k;
    EXPECT_EQ(c.At(w / 2, t() + k), d.colors.Light) << k;
    EXPECT_EQ(c.At(w - 1 - t() - k, y), d.colors.Dark) << k;
    EXPECT_EQ(c.At(inset + k, y), d.focusColor) << k;
    EXPECT_EQ(c.At(w / 2, h - 1 - inset - k), d.focusColor) << k;
  }
  EXPECT_EQ(c.At(2 * t(), y), GradientAt(d.colors.Face, d.colors.Grad, h, y)) << "face inside the bevel";
  EXPECT_EQ(c.At(inset + t(), y), GradientAt(d.colors.Face, d.colors.Grad, h, y)) << "face inside the ring";
}

TEST_P(ControlsAtDpi, PressedCaptionMovesAndGlyphSpacingScales) {
  const int w = S(75), h = S(25);
  gdi::unique_hfont font = SharpFont(S(11));
  Canvas blue(8, 8, RGB(0, 0, 255));
  gdi::unique_hbitmap glyph(CreateCompatibleBitmap(blue.dc(), 8, 8));
  {
    gdi::unique_hdc dc(CreateCompatibleDC(blue.dc()));
    gdi::unique_select_object selection(dc.get(), glyph.get());
    BitBlt(dc.get(), 0, 0, 8, 8, blue.dc(), 0, 0, SRCCOPY);
  }
  XiButtonPaintData d = Button();
  d.caption = std::string("H");
  d.font = font.get();
  d.glyph = glyph.get();
  d.transparentGlyph = false;
  Canvas up(w, h), down(w, h), at96(w, h);
  PaintXiButton(up.dc(), w, h, d);
  d.down = true;
  PaintXiButton(down.dc(), w, h, d);
  d.down = false;
  d.dpi = 96;
  PaintXiButton(at96.dc(), w, h, d);
  const RECT text = up.BoundsOf(RGB(255, 0, 0)), pressed = down.BoundsOf(RGB(255, 0, 0));
  ASSERT_GT(text.right, text.left);
  EXPECT_EQ(pressed.left - text.left, t());
  EXPECT_EQ(pressed.top - text.top, t());
  // The gap between glyph and caption is the spacing (4 at 96 DPI) plus the letter's own
  // bearing: against the same button at 96 DPI it grows by the spacing's growth.
  auto gap = [](const Canvas& c) { return c.BoundsOf(RGB(255, 0, 0)).left - c.BoundsOf(RGB(0, 0, 255)).right; };
  EXPECT_EQ(gap(up) - gap(at96), S(4) - 4);
  const RECT g = up.BoundsOf(RGB(0, 0, 255));
  EXPECT_EQ(g.right - g.left, 8) << "the glyph keeps its own size";
}

TEST_P(ControlsAtDpi, ProgressBarOutlineFillAndEdgeLines) {
  const int w = S(525), h = S(16), y = h / 2;
  XiBarPaintData d{};
  TXiProgressBar::SchemeColors(TXiProgressBar::csSky, d.colors);
  d.Max = 100;
  d.Position = 50;
  d.dpi = GetParam();
  const XiBarColors& c = d.colors;
  Canvas bar(w, h);
  PaintXiProgressBar(bar.dc(), w, h, d);
  // The fill spans half of what lies inside the outline; its end is an edge line.
  const int f = static_cast<int>(XiBarFillWidth(w, 0, 100, 50, t()));
  EXPECT_NEAR(f, (w - 2 * t()) / 2.0, 0.5);
  for (int k = 0; k < t(); ++k) {
    EXPECT_EQ(bar.At(k, y), c.ColorBorder) << k;
    EXPECT_EQ(bar.At(w - 1 - k, y), c.ColorBorder) << k;
    EXPECT_EQ(bar.At(w / 3, h - 1 - k), c.ColorBorder) << k;
    EXPECT_EQ(bar.At(f + k, y), GradientAt(c.ForeColorFace, c.ForeColorGrad, h, h - 1 - t())) << k;
    EXPECT_EQ(bar.At(t() + k, y), GradientAt(c.ForeColorFace, c.ForeColorGrad, h, t())) << k;
  }
  EXPECT_EQ(bar.At(f - 1, y), GradientAt(c.ForeColorFace, c.ForeColorGrad, h, y));
  EXPECT_EQ(bar.At(f + t(), y), GradientAt(c.BackColorFace, c.BackColorGrad, h - 2, y));

  d.vertical = true;
  Canvas upright(h, w);
  PaintXiProgressBar(upright.dc(), h, w, d);
  const int top = static_cast<int>(XiBarFillTop(w, 0, 100, 50, t()));
  EXPECT_NEAR(top, w - t() - (w - 2 * t()) / 2.0, 0.5);
  for (int k = 0; k < t(); ++k) EXPECT_EQ(upright.At(k, w / 3), c.ColorBorder) << k;
}

INSTANTIATE_TEST_SUITE_P(Dpis, ControlsAtDpi, ::testing::ValuesIn(test::kTestDpis),
                         [](const ::testing::TestParamInfo<UINT>& info) { return std::to_string(info.param); });

TEST(ShrinkBitmap, EveryPixelIsTheAverageOfWhatItCovers) {
  // A red, a blue and a white pixel shrunk to two: each new pixel covers one and a half.
  Canvas source(3, 1), out(2, 1);
  const COLORREF colors[] = {RGB(240, 0, 0), RGB(0, 0, 240), RGB(255, 255, 255)};
  for (int x = 0; x < 3; ++x) SetPixel(source.dc(), x, 0, colors[x]);
  // GetDIBits wants a bitmap that no DC holds: shrink a copy.
  gdi::unique_hbitmap copy(static_cast<HBITMAP>(
      CopyImage(GetCurrentObject(source.dc(), OBJ_BITMAP), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  gdi::unique_hbitmap shrunk(ShrinkBitmap(copy.get(), 2, 1));
  ASSERT_TRUE(shrunk);
  gdi::unique_hdc dc(CreateCompatibleDC(out.dc()));
  gdi::unique_select_object selection(dc.get(), shrunk.get());
  BitBlt(out.dc(), 0, 0, 2, 1, dc.get(), 0, 0, SRCCOPY);
  EXPECT_EQ(out.At(0, 0), RGB(160, 0, 80));     // (red + half a blue) / 1.5
  EXPECT_EQ(out.At(1, 0), RGB(170, 170, 250));  // (half a blue + white) / 1.5
  EXPECT_FALSE(ShrinkBitmap(nullptr, 2, 1));
}

}  // namespace
}  // namespace zarn
