#pragma once
// TXiProgressBar: a progress bar drawn as two colour gradients (the background over the
// whole bar, the fill over the done part) inside a one-pixel outline.
//
// Use:
//   zarn::TXiProgressBar PB2;
//   PB2.Create(parent, x, y);                 // 200 x 16 by default; a child window
//   PB2.SetColorScheme(zarn::TXiProgressBar::csSky);
//   PB2.SetMax(100 * rows);                   // Min 0, Max 100, Position 0, Step 10 at first
//   PB2.SetPosition(n);                       // repaints at once, no message loop needed
//
// The object works without a window too (the writers then only store); the window is
// destroyed with its parent or with the object, whichever comes first. The window is of
// class "ZarnXiProgressBar", does not take the focus and answers WM_PRINTCLIENT.
#include <windows.h>

#include "controls/window.h"

namespace zarn {

// Property indices of the single colour writer.
enum class XiBarColor {
  ColorBorder = 0,
  BackColorFace = 10,
  BackColorGrad = 11,
  ForeColorFace = 20,
  ForeColorGrad = 21
};

struct XiBarColors {
  COLORREF ColorBorder, BackColorFace, BackColorGrad, ForeColorFace, ForeColorGrad;
};

// Everything the bar's picture depends on.
struct XiBarPaintData {
  XiBarColors colors;
  int Min, Max, Position;
  bool vertical;
  // The resolution the bar is shown at: its outline and edge lines are one pixel at 96 DPI
  // and scale with it in whole pixels; the gradients follow the bar's size as they are.
  UINT dpi = 96;
};

// Draws the bar of client size width x height into `dc` (normally a memory DC of that size).
// With Max equal to Min, or a bar too thin for a gradient across it (height below 3 when
// horizontal, width below 3 when vertical), only the background and the outline are drawn.
void PaintXiProgressBar(HDC dc, int width, int height, const XiBarPaintData& data);

// Fill width of a horizontal bar (rounded, halves to even); 0 when Max equals Min. `line` is
// the outline's width: the fill spans what lies inside it.
long long XiBarFillWidth(int width, int Min, int Max, int Position, int line = 1);
// First row of the fill of a vertical bar; `height` when Max equals Min.
long long XiBarFillTop(int height, int Min, int Max, int Position, int line = 1);

class TXiProgressBar : public Window {
 public:
  enum TColorScheme {
    csCustom,
    csDesert,
    csGrass,
    csSilver,
    csSky,
    csRose,
    csSun,
    csHackers,
    csNight,
    csVelvet,
    csMetal,
    csViolet,
    csToxic
  };
  enum TProgressBarOrientation { pbHorizontal, pbVertical };

  static constexpr int DefaultWidth = 200;
  static constexpr int DefaultHeight = 16;

  TXiProgressBar();

  // Creates the window as a visible child of `parent`. False if it cannot be made or one
  // exists already.
  bool Create(HWND parent, int x, int y, int width = DefaultWidth, int height = DefaultHeight, int id = 0);

  // Writers: Position is refused below Min, Min above Max, Max below Min; Position, Min,
  // Max and Step repaint at once, the others ask for a later repaint.
  void SetPosition(int value);
  void SetMin(int value);
  void SetMax(int value);
  void SetStep(int value);
  void SetOrientation(TProgressBarOrientation value);
  void SetColorScheme(TColorScheme value);
  // Stores one colour and switches ColorScheme to csCustom.
  void SetColor(XiBarColor index, COLORREF value);

  int Position() const { return position_; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Step() const { return step_; }
  TProgressBarOrientation Orientation() const { return orientation_; }
  TColorScheme ColorScheme() const { return scheme_; }
  COLORREF Color(XiBarColor index) const;
  const XiBarColors& Colors() const { return colors_; }

  // The colours of a named scheme; false for csCustom, which has none.
  static bool SchemeColors(TColorScheme scheme, XiBarColors& colors);

  XiBarPaintData PaintData() const;
  // The DPI the bar paints for: its window's at creation; the owner passes a new one on.
  void SetDpi(UINT value);
  UINT Dpi() const { return dpi_; }
  // Paints the bar on its window now (no effect without a visible window).
  void PaintNow();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Invalidate();
  void PaintTo(HDC dc);

  XiBarColors colors_{};
  TColorScheme scheme_ = csCustom;
  int max_ = 100;
  int min_ = 0;
  int position_ = 0;
  int step_ = 10;
  TProgressBarOrientation orientation_ = pbHorizontal;
  UINT dpi_ = 96;
};

}  // namespace zarn
