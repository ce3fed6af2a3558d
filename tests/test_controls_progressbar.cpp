// The gradient progress bar: its writers and schemes, and its picture checked pixel by pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include "controls/gdi.h"
#include "controls/xiprogressbar.h"
#include "tests/support/canvas.h"

namespace zarn {
namespace {

using Bar = TXiProgressBar;
using test::Canvas;
using test::GradientAt;

XiBarPaintData Data(Bar::TColorScheme scheme, int min, int max, int position, bool vertical = false) {
  XiBarPaintData d{};
  Bar::SchemeColors(scheme, d.colors);
  d.Min = min;
  d.Max = max;
  d.Position = position;
  d.vertical = vertical;
  return d;
}

void ExpectOutline(const Canvas& canvas, int w, int h, COLORREF border) {
  for (int x = 0; x < w; ++x) {
    EXPECT_EQ(canvas.At(x, 0), border) << "top, x " << x;
    EXPECT_EQ(canvas.At(x, h - 1), border) << "bottom, x " << x;
  }
  for (int y = 0; y < h; ++y) {
    EXPECT_EQ(canvas.At(0, y), border) << "left, y " << y;
    EXPECT_EQ(canvas.At(w - 1, y), border) << "right, y " << y;
  }
}

TEST(XiProgressBarModel, NewBarHasDesertRangeAndHorizontalDefaults) {
  Bar bar;
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_EQ(bar.Step(), 10);
  EXPECT_EQ(bar.Orientation(), Bar::pbHorizontal);
  EXPECT_EQ(bar.ColorScheme(), Bar::csDesert);
  EXPECT_EQ(bar.Color(XiBarColor::ColorBorder), 0x005680u);
  EXPECT_EQ(bar.Color(XiBarColor::BackColorFace), 0xC6ECFFu);
  EXPECT_EQ(bar.Color(XiBarColor::BackColorGrad), 0xFFFFFFu);
  EXPECT_EQ(bar.Color(XiBarColor::ForeColorFace), 0x9BDEFFu);
  EXPECT_EQ(bar.Color(XiBarColor::ForeColorGrad), 0x007BB7u);
}

TEST(XiProgressBarModel, RangeWritersRefuseOutOfOrderValues) {
  Bar bar;
  bar.SetMin(101);
  EXPECT_EQ(bar.Min(), 0);
  bar.SetMax(-1);
  EXPECT_EQ(bar.Max(), 100);
  bar.SetPosition(-1);
  EXPECT_EQ(bar.Position(), 0);

  // Position is checked against Min only; Min and Max may meet.
  bar.SetPosition(250);
  EXPECT_EQ(bar.Position(), 250);
  bar.SetMin(100);
  EXPECT_EQ(bar.Min(), 100);
  bar.SetMax(100);
  EXPECT_EQ(bar.Max(), 100);
  bar.SetMax(99);
  EXPECT_EQ(bar.Max(), 100);
  bar.SetPosition(99);
  EXPECT_EQ(bar.Position(), 250);
  bar.SetStep(-7);
  EXPECT_EQ(bar.Step(), -7);
}

TEST(XiProgressBarModel, ColourWriterSwitchesToCustomAndKeepsTheOthers) {
  Bar bar;
  bar.SetColorScheme(Bar::csSky);
  bar.SetColor(XiBarColor::ForeColorFace, 0x123456);
  EXPECT_EQ(bar.ColorScheme(), Bar::csCustom);
  EXPECT_EQ(bar.Color(XiBarColor::ForeColorFace), 0x123456u);
  EXPECT_EQ(bar.Color(XiBarColor::ColorBorder), 0xB35900u);
  EXPECT_EQ(bar.Color(XiBarColor::BackColorFace), 0xFFEAD5u);
  EXPECT_EQ(bar.Color(XiBarColor::BackColorGrad), 0xFFFFFFu);
  EXPECT_EQ(bar.Color(XiBarColor::ForeColorGrad), 0xFFAE5Eu);

  bar.SetColorScheme(Bar::csCustom);
  EXPECT_EQ(bar.ColorScheme(), Bar::csCustom);
  EXPECT_EQ(bar.Color(XiBarColor::ForeColorFace), 0x123456u);
  EXPECT_EQ(bar.Color(XiBarColor::ForeColorGrad), 0xFFAE5Eu);
}

TEST(XiProgressBarModel, SchemeAppliedAfterStoredColoursReplacesThem) {
  Bar bar;
  bar.SetColor(XiBarColor::ColorBorder, 0x010101);
  bar.SetColor(XiBarColor::BackColorGrad, 0x020202);
  bar.SetColor(XiBarColor::ForeColorGrad, 0x030303);
  bar.SetColorScheme(Bar::csSky);
  EXPECT_EQ(bar.ColorScheme(), Bar::csSky);
  XiBarColors sky{};
  ASSERT_TRUE(Bar::SchemeColors(Bar::csSky, sky));
  for (XiBarColor c : {XiBarColor::ColorBorder, XiBarColor::BackColorFace, XiBarColor::BackColorGrad,
                       XiBarColor::ForeColorFace, XiBarColor::ForeColorGrad}) {
    Bar reference;
    reference.SetColorScheme(Bar::csSky);
    EXPECT_EQ(bar.Color(c), reference.Color(c));
  }
  EXPECT_EQ(bar.Color(XiBarColor::ForeColorGrad), sky.ForeColorGrad);
  // The dark schemes have their own, black, border.
  bar.SetColorScheme(Bar::csToxic);
  EXPECT_EQ(bar.Color(XiBarColor::ColorBorder), 0x000000u);
  EXPECT_EQ(bar.Color(XiBarColor::ForeColorGrad), 0x468E8Eu);
}

TEST(XiProgressBarGeometry, FillWidthRoundsHalvesToEven) {
  EXPECT_EQ(XiBarFillWidth(525, 0, 100, 50), 262);  // 261.5
  EXPECT_EQ(XiBarFillWidth(7, 0, 2, 1), 2);         // 2.5
  EXPECT_EQ(XiBarFillWidth(9, 0, 2, 1), 4);         // 3.5
  EXPECT_EQ(XiBarFillWidth(525, 0, 100, 51), 267);  // 266.73
  EXPECT_EQ(XiBarFillWidth(200, 0, 100, 0), 0);
  EXPECT_EQ(XiBarFillWidth(200, 0, 100, 100), 198);
  EXPECT_EQ(XiBarFillWidth(200, 50, 50, 50), 0);
  // The product must not overflow 32 bits.
  EXPECT_EQ(XiBarFillWidth(202, 0, 2000000000, 2000000000), 200);
}

TEST(XiProgressBarGeometry, FillTopRoundsTheOffsetValueHalvesToEven) {
  EXPECT_EQ(XiBarFillTop(100, 0, 100, 50), 50);  // 100 - (49 + 1)
  EXPECT_EQ(XiBarFillTop(7, 0, 2, 1), 3);        // 7 - round(3.5)
  EXPECT_EQ(XiBarFillTop(9, 0, 2, 1), 5);        // 9 - round(4.5)
  EXPECT_EQ(XiBarFillTop(16, 0, 100, 0), 15);
}

TEST(XiProgressBarPaint, HalfFilledBarOf525Pixels) {
  const int w = 525, h = 16;
  const XiBarPaintData d = Data(Bar::csSky, 0, 100, 50);
  const XiBarColors& c = d.colors;
  Canvas canvas(w, h);
  PaintXiProgressBar(canvas.dc(), w, h, d);

  ExpectOutline(canvas, w, h, c.ColorBorder);
  const COLORREF edge = GradientAt(c.ForeColorFace, c.ForeColorGrad, h, h - 2);
  for (int y = 1; y < h - 1; ++y) {
    const COLORREF fill = GradientAt(c.ForeColorFace, c.ForeColorGrad, h, y);
    const COLORREF back = GradientAt(c.BackColorFace, c.BackColorGrad, h - 2, y);
    EXPECT_EQ(canvas.At(1, y), GradientAt(c.ForeColorFace, c.ForeColorGrad, h, 1)) << "column 1, row " << y;
    EXPECT_EQ(canvas.At(2, y), fill) << "row " << y;
    EXPECT_EQ(canvas.At(261, y), fill) << "row " << y;
    EXPECT_EQ(canvas.At(262, y), edge) << "row " << y;
    EXPECT_EQ(canvas.At(263, y), back) << "row " << y;
    EXPECT_EQ(canvas.At(w - 2, y), back) << "row " << y;
  }
}

TEST(XiProgressBarPaint, BackgroundGradientRoundsHalvesToEven) {
  // Red runs from 0 to 25 over 10 steps: 2.5 per row, so every other row is a half.
  XiBarPaintData d{};
  d.colors = {RGB(0, 0, 255), RGB(0, 0, 0), RGB(25, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)};
  d.Min = 0;
  d.Max = 100;
  d.Position = 0;
  const int w = 20, h = 12;
  Canvas canvas(w, h);
  PaintXiProgressBar(canvas.dc(), w, h, d);
  const int expectedRed[] = {0, 2, 5, 8, 10, 12, 15, 18, 20, 22, 25};
  for (int y = 1; y <= h - 2; ++y) EXPECT_EQ(canvas.At(10, y), RGB(expectedRed[y], 0, 0)) << "row " << y;
}

TEST(XiProgressBarPaint, EmptyAndOverfullHorizontalBars) {
  const int w = 60, h = 16;
  {
    const XiBarPaintData d = Data(Bar::csGrass, 0, 100, 0);
    Canvas canvas(w, h);
    PaintXiProgressBar(canvas.dc(), w, h, d);
    ExpectOutline(canvas, w, h, d.colors.ColorBorder);
    // Column 1 repeats the background's first visible row.
    const COLORREF first = GradientAt(d.colors.BackColorFace, d.colors.BackColorGrad, h - 2, 1);
    for (int y = 1; y < h - 1; ++y) {
      EXPECT_EQ(canvas.At(1, y), first) << "row " << y;
      EXPECT_EQ(canvas.At(2, y), GradientAt(d.colors.BackColorFace, d.colors.BackColorGrad, h - 2, y));
    }
  }
  {
    const XiBarPaintData d = Data(Bar::csGrass, 0, 100, 1000000);
    Canvas canvas(w, h);
    PaintXiProgressBar(canvas.dc(), w, h, d);
    ExpectOutline(canvas, w, h, d.colors.ColorBorder);
    for (int y = 1; y < h - 1; ++y)
      EXPECT_EQ(canvas.At(w - 2, y), GradientAt(d.colors.ForeColorFace, d.colors.ForeColorGrad, h, y));
  }
}

TEST(XiProgressBarPaint, VerticalBarFillsFromTheBottom) {
  const int w = 20, h = 100;
  const XiBarPaintData d = Data(Bar::csRose, 0, 100, 50, true);
  const XiBarColors& c = d.colors;
  Canvas canvas(w, h);
  PaintXiProgressBar(canvas.dc(), w, h, d);
  ExpectOutline(canvas, w, h, c.ColorBorder);
  const int t = 50;
  const COLORREF rowT = GradientAt(c.ForeColorFace, c.ForeColorGrad, w, w - 3);
  const COLORREF rowBottom = GradientAt(c.ForeColorFace, c.ForeColorGrad, w, 2);
  for (int x = 1; x < w - 1; ++x) {
    EXPECT_EQ(canvas.At(x, 30), GradientAt(c.BackColorFace, c.BackColorGrad, w - 2, x)) << "column " << x;
    EXPECT_EQ(canvas.At(x, t - 1), GradientAt(c.BackColorFace, c.BackColorGrad, w - 2, x)) << "column " << x;
    EXPECT_EQ(canvas.At(x, t), rowT) << "column " << x;
    EXPECT_EQ(canvas.At(x, 70), GradientAt(c.ForeColorFace, c.ForeColorGrad, w, x)) << "column " << x;
    EXPECT_EQ(canvas.At(x, h - 2), rowBottom) << "column " << x;
  }
}

TEST(XiProgressBarPaint, DegenerateRangesAndSizesDrawBackgroundAndOutlineOnly) {
  for (bool vertical : {false, true}) {
    const int w = 40, h = 40;
    const XiBarPaintData d = Data(Bar::csSun, 10, 10, 10, vertical);
    Canvas canvas(w, h);
    PaintXiProgressBar(canvas.dc(), w, h, d);
    ExpectOutline(canvas, w, h, d.colors.ColorBorder);
    const int steps = h - 2;
    EXPECT_EQ(canvas.At(20, 20), GradientAt(d.colors.BackColorFace, d.colors.BackColorGrad, steps, 20));
    EXPECT_EQ(canvas.At(1, 1), GradientAt(d.colors.BackColorFace, d.colors.BackColorGrad, steps, 1));
  }
  // Too thin for a gradient across: no fill, only the border shows.
  Canvas horizontal(50, 2);
  PaintXiProgressBar(horizontal.dc(), 50, 2, Data(Bar::csSky, 0, 100, 100));
  ExpectOutline(horizontal, 50, 2, 0xB35900);
  Canvas vertical(2, 50);
  PaintXiProgressBar(vertical.dc(), 2, 50, Data(Bar::csSky, 0, 100, 100, true));
  ExpectOutline(vertical, 2, 50, 0xB35900);
  // One pixel thin: whatever GDI makes of the outline, no fill colour appears.
  Canvas line(50, 1);
  PaintXiProgressBar(line.dc(), 50, 1, Data(Bar::csSky, 0, 100, 100));
  for (int x = 0; x < 50; ++x) {
    EXPECT_NE(line.At(x, 0), 0xFFEEDDu);
    EXPECT_NE(line.At(x, 0), 0xFFAE5Eu);
  }
  // Nothing to draw on, nothing drawn.
  Canvas none(4, 4);
  PaintXiProgressBar(none.dc(), 0, 16, Data(Bar::csSky, 0, 100, 50));
  EXPECT_EQ(none.At(0, 0), RGB(0, 0, 0));
}

// The window: paints itself, answers WM_PRINTCLIENT with the same picture, and redraws at
// once for the range writers but only asks for a repaint for the look writers.
class XiProgressBarWindow : public ::testing::Test {
 protected:
  // One parent for the suite: top-level windows are slow to come and go under Wine.
  static void SetUpTestSuite() {
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(parent_); }
  void SetUp() override { ASSERT_NE(parent_, nullptr); }
  static inline HWND parent_ = nullptr;
};

TEST_F(XiProgressBarWindow, DefaultSizeAndPrintedPictureMatchThePaintFunction) {
  Bar bar;
  ASSERT_TRUE(bar.Create(parent_, 5, 5));
  EXPECT_FALSE(bar.Create(parent_, 5, 5));
  RECT client{};
  GetClientRect(bar.Handle(), &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 16);
  EXPECT_NE(SendMessageA(bar.Handle(), WM_ERASEBKGND, 0, 0), 0);

  bar.SetColorScheme(Bar::csSky);
  bar.SetPosition(37);
  Canvas printed(200, 16), direct(200, 16);
  SendMessageA(bar.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.dc()), PRF_CLIENT);
  PaintXiProgressBar(direct.dc(), 200, 16, bar.PaintData());
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 200; ++x) ASSERT_EQ(printed.At(x, y), direct.At(x, y)) << x << "," << y;
  // F = 198 * 37 / 100 = 73.26: fill up to column 72, the edge at 73, background after.
  EXPECT_EQ(printed.At(72, 8), GradientAt(0xFFEEDD, 0xFFAE5E, 16, 8));
  EXPECT_EQ(printed.At(73, 8), GradientAt(0xFFEEDD, 0xFFAE5E, 16, 14));
  EXPECT_EQ(printed.At(74, 8), GradientAt(0xFFEAD5, 0xFFFFFF, 14, 8));
}

TEST_F(XiProgressBarWindow, RangeWritersPaintAtOnceLookWritersInvalidate) {
  Bar bar;
  ASSERT_TRUE(bar.Create(parent_, 0, 0, 100, 16));
  UpdateWindow(parent_);
  UpdateWindow(bar.Handle());
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(bar.Handle(), &update, FALSE));

  bar.SetPosition(100);
  EXPECT_FALSE(GetUpdateRect(bar.Handle(), &update, FALSE));
  {
    gdi::unique_hdc_window dc(bar.Handle());
    EXPECT_EQ(GetPixel(dc.get(), 50, 8), GradientAt(0x9BDEFF, 0x007BB7, 16, 8));
  }
  bar.SetOrientation(Bar::pbVertical);
  EXPECT_TRUE(GetUpdateRect(bar.Handle(), &update, FALSE));
  ValidateRect(bar.Handle(), nullptr);
  bar.SetColor(XiBarColor::ColorBorder, 0x0000FF);
  EXPECT_TRUE(GetUpdateRect(bar.Handle(), &update, FALSE));
  ValidateRect(bar.Handle(), nullptr);
  bar.SetColorScheme(Bar::csNight);
  EXPECT_TRUE(GetUpdateRect(bar.Handle(), &update, FALSE));
}

TEST_F(XiProgressBarWindow, ObjectOutlivesItsWindow) {
  Bar bar;
  ASSERT_TRUE(bar.Create(parent_, 0, 0));
  DestroyWindow(bar.Handle());
  EXPECT_EQ(bar.Handle(), nullptr);
  bar.SetPosition(60);
  bar.SetColorScheme(Bar::csMetal);
  EXPECT_EQ(bar.Position(), 60);
}

}  // namespace
}  // namespace zarn
