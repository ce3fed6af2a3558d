#include "controls/xiprogressbar.h"

#include <cstdlib>

#include "controls/dpi.h"
#include "controls/gdi.h"

namespace zarn {

namespace {

const char kClassName[] = "ZarnXiProgressBar";

// Indexed by TColorScheme; row 0 (csCustom) is never used.
const XiBarColors kSchemes[] = {
    {0x000000, 0x000000, 0x000000, 0x000000, 0x000000}, {0x005680, 0xC6ECFF, 0xFFFFFF, 0x9BDEFF, 0x007BB7},  // csDesert
    {0x156F37, 0xCBF5DC, 0xFFFFFF, 0xC9F5DB, 0x28C162},                                                      // csGrass
    {0x6B6B6B, 0xE0E0E0, 0xFFFFFF, 0xF0F0F0, 0xADADAD},                                                      // csSilver
    {0xB35900, 0xFFEAD5, 0xFFFFFF, 0xFFEEDD, 0xFFAE5E},                                                      // csSky
    {0x00009D, 0xD7D7FF, 0xFFFFFF, 0xE8E8FF, 0x8080FF},                                                      // csRose
    {0x006464, 0xCEFFFF, 0xFFFFFF, 0xDFFFFF, 0x05BCDC},                                                      // csSun
    {0x000000, 0x005500, 0x008000, 0x91ECAE, 0x00AA00},  // csHackers
    {0x000000, 0x804000, 0xA85400, 0xFFCB97, 0xEC7600},  // csNight
    {0x000000, 0x000059, 0x46468C, 0x9F9FF2, 0x4848BB},  // csVelvet
    {0x000000, 0x464646, 0x6F6F6F, 0xCECECE, 0x737373},  // csMetal
    {0x000000, 0x800040, 0xCA0065, 0xFFB7DB, 0xFF3399},  // csViolet
    {0x000000, 0x2C5656, 0x3E7B7B, 0xBCDEDE, 0x468E8E},  // csToxic
};

long long Clamp(long long value, long long low, long long high) {
  return value < low ? low : value > high ? high : value;
}

// `t` is the outline's width. At one pixel (96 DPI) the lines below are exactly those of the
// bar's original picture; wider, each line keeps its place just inside the outline.
void PaintHorizontal(HDC dc, int w, int h, const XiBarPaintData& d) {
  const XiBarColors& c = d.colors;
  const int t = dpi::LineWidth(d.dpi);
  gdi::GradientLines(dc, gdi::Lines::Horizontal, h - 2, 1, w, c.BackColorFace, c.BackColorGrad);
  if (h < 3 || d.Max == d.Min) return;
  // Far beyond Max the fill only has to reach past the right edge; keep GDI's numbers small.
  const int f = static_cast<int>(Clamp(XiBarFillWidth(w, d.Min, d.Max, d.Position, t), -1, w + 1LL));
  gdi::GradientLines(dc, gdi::Lines::Horizontal, h, 0, f, c.ForeColorFace, c.ForeColorGrad);
  const COLORREF left = GetPixel(dc, t, t), edge = GetPixel(dc, 2 * t, h - 1 - t);
  for (int k = 0; k < t; ++k) {
    if (left != CLR_INVALID) gdi::Line(dc, t + k, t, t + k, h, left);
    if (edge != CLR_INVALID) gdi::Line(dc, f + k, t, f + k, h, edge);
  }
}

void PaintVertical(HDC dc, int w, int h, const XiBarPaintData& d) {
  const XiBarColors& c = d.colors;
  const int t = dpi::LineWidth(d.dpi);
  gdi::GradientLines(dc, gdi::Lines::Vertical, w - 2, 1, 1 + h, c.BackColorFace, c.BackColorGrad);
  if (w < 3 || d.Max == d.Min) return;
  // Beyond Max the fill lines would start above the bar and, running a bar's height from
  // there, stop short of the bottom: start them just above the top instead.
  const int top = static_cast<int>(Clamp(XiBarFillTop(h, d.Min, d.Max, d.Position, t), -1, h + 1LL));
  gdi::GradientLines(dc, gdi::Lines::Vertical, w, top, top + h, c.ForeColorFace, c.ForeColorGrad);
  const COLORREF bottom = GetPixel(dc, 2 * t, h - 1 - t);
  for (int k = 0; k < t; ++k)
    if (bottom != CLR_INVALID) gdi::Line(dc, t, h - 2 * t + k, w, h - 2 * t + k, bottom);
  const COLORREF edge = GetPixel(dc, w - 1 - 2 * t, h - 1 - 2 * t);
  for (int k = 0; k < t; ++k)
    if (edge != CLR_INVALID) gdi::Line(dc, t, top + k, w, top + k, edge);
}

}  // namespace

long long XiBarFillWidth(int width, int Min, int Max, int Position, int line) {
  if (Max == Min) return 0;
  const long long product = (static_cast<long long>(width) - 2 * line) * (static_cast<long long>(Position) - Min);
  return gdi::RoundHalfEven(static_cast<double>(product) / (static_cast<double>(Max) - Min));
}

long long XiBarFillTop(int height, int Min, int Max, int Position, int line) {
  if (Max == Min) return height;
  const long long product = (static_cast<long long>(height) - 2 * line) * (static_cast<long long>(Position) - Min);
  const double range = std::llabs(static_cast<long long>(Max) - Min);
  return height - gdi::RoundHalfEven(static_cast<double>(product) / range + line);
}

void PaintXiProgressBar(HDC dc, int width, int height, const XiBarPaintData& data) {
  if (!dc || width <= 0 || height <= 0) return;
  if (data.vertical)
    PaintVertical(dc, width, height, data);
  else
    PaintHorizontal(dc, width, height, data);
  const int t = dpi::LineWidth(data.dpi);
  for (int k = 0; k < t; ++k) gdi::Outline(dc, k, k, width - k, height - k, data.colors.ColorBorder);
}

TXiProgressBar::TXiProgressBar() { SetColorScheme(csDesert); }

bool TXiProgressBar::SchemeColors(TColorScheme scheme, XiBarColors& colors) {
  if (scheme <= csCustom || scheme > csToxic) return false;
  colors = kSchemes[scheme];
  return true;
}

bool TXiProgressBar::Create(HWND parent, int x, int y, int width, int height, int id) {
  if (hwnd_ || !parent) return false;
  dpi_ = dpi::ForWindow(parent);
  return RegisterWindowClass(kClassName, nullptr, nullptr, CS_HREDRAW | CS_VREDRAW) &&
         CreateFor(0, kClassName, "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent, id);
}

void TXiProgressBar::SetPosition(int value) {
  if (value < min_) return;
  position_ = value;
  PaintNow();
}

void TXiProgressBar::SetMin(int value) {
  if (value > max_) return;
  min_ = value;
  PaintNow();
}

void TXiProgressBar::SetMax(int value) {
  if (value < min_) return;
  max_ = value;
  PaintNow();
}

void TXiProgressBar::SetStep(int value) {
  step_ = value;
  PaintNow();
}

void TXiProgressBar::SetOrientation(TProgressBarOrientation value) {
  orientation_ = value;
  Invalidate();
}

void TXiProgressBar::SetColorScheme(TColorScheme value) {
  scheme_ = value;
  SchemeColors(value, colors_);
  Invalidate();
}

void TXiProgressBar::SetColor(XiBarColor index, COLORREF value) {
  switch (index) {
    case XiBarColor::ColorBorder: colors_.ColorBorder = value; break;
    case XiBarColor::BackColorFace: colors_.BackColorFace = value; break;
    case XiBarColor::BackColorGrad: colors_.BackColorGrad = value; break;
    case XiBarColor::ForeColorFace: colors_.ForeColorFace = value; break;
    case XiBarColor::ForeColorGrad: colors_.ForeColorGrad = value; break;
    default: return;
  }
  scheme_ = csCustom;
  Invalidate();
}

COLORREF TXiProgressBar::Color(XiBarColor index) const {
  switch (index) {
    case XiBarColor::ColorBorder: return colors_.ColorBorder;
    case XiBarColor::BackColorFace: return colors_.BackColorFace;
    case XiBarColor::BackColorGrad: return colors_.BackColorGrad;
    case XiBarColor::ForeColorFace: return colors_.ForeColorFace;
    case XiBarColor::ForeColorGrad: return colors_.ForeColorGrad;
  }
  return CLR_INVALID;
}

XiBarPaintData TXiProgressBar::PaintData() const {
  return {colors_, min_, max_, position_, orientation_ == pbVertical, dpi_};
}

void TXiProgressBar::SetDpi(UINT value) {
  if (value == 0 || value == dpi_) return;
  dpi_ = value;
  Invalidate();
}

void TXiProgressBar::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TXiProgressBar::PaintNow() {
  if (!hwnd_ || !IsWindowVisible(hwnd_)) return;
  gdi::unique_hdc_window dc(hwnd_);
  PaintTo(dc.get());
}

void TXiProgressBar::PaintTo(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const XiBarPaintData data = PaintData();
  gdi::PaintOffscreen(dc, client.right, client.bottom,
                      [&](HDC memory) { PaintXiProgressBar(memory, client.right, client.bottom, data); });
}

LRESULT TXiProgressBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      gdi::unique_hdc_paint dc(hwnd_);
      PaintTo(dc.get());
      return 0;
    }
    case WM_PRINTCLIENT: PaintTo(reinterpret_cast<HDC>(wParam)); return 0;
  }
  return DefaultProc(message, wParam, lParam);
}

}  // namespace zarn
