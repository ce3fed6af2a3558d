#pragma once
// TXiButton: a push button that paints itself (solid or gradient face, border, bevel, glyph,
// caption, focus rectangle) in four colour sets: normal, hot, down and disabled.
//
// The window is a real "BUTTON" (BS_OWNERDRAW, subclassed so that it paints itself; the
// parent never sees WM_DRAWITEM for it). A click, by mouse, Space, Enter, accelerator or
// BM_CLICK (ignored while disabled), sends WM_COMMAND (id, BN_CLICKED, hwnd) to the
// button's parent; a panel in between has to pass WM_COMMAND on to the form.
//
//   zarn::TXiButton XiButton1;
//   XiButton1.Create(form, IDC_OK, "OK", x, y);          // 75 x 25
//   SendMessageA(XiButton1.Handle(), WM_SETFONT, (WPARAM)font, TRUE);
//   XiButton1.SetColorScheme(zarn::TXiButton::csNeoSilver);
//
// Keyboard, for a form whose message loop calls RouteDialogMessage (controls/window.h):
// - Enter or Escape anywhere on the form goes to the dialog-key rule before the dialog
//   manager: a focused TXiButton takes Enter and one with Cancel set Escape (no Shift, Ctrl
//   or Alt held), one with Default set Enter (whatever is held), each if it can take the
//   focus; the key then clicks it and goes no further. A key no TXiButton takes goes on to the dialog manager, which
//   sends the form WM_COMMAND IDOK or IDCANCEL for the form's own handling.
// - Accelerators ("&OK"): the dialog manager sends BM_CLICK, which clicks.
// Without that loop, Enter and Space still work on the focused button (it asks the dialog
// manager for Enter), and Escape on a focused button clicks the Cancel button of the same
// top-level window.
//
// Do not destroy the TXiButton object from inside the handler of its own click.
#include <windows.h>

#include <string>

#include "controls/gdi.h"
#include "controls/window.h"
#include "controls/xibutton_paint.h"

namespace zarn {

// Property indices of the single colour writer, 0 to 24.
enum class XiButtonColor {
  ColorFace,
  ColorGrad,
  ColorDark,
  ColorLight,
  ColorBorder,
  ColorText,
  OverColorFace,
  OverColorGrad,
  OverColorDark,
  OverColorLight,
  OverColorBorder,
  OverColorText,
  DownColorFace,
  DownColorGrad,
  DownColorDark,
  DownColorLight,
  DownColorBorder,
  DownColorText,
  DisabledColorFace,
  DisabledColorGrad,
  DisabledColorDark,
  DisabledColorLight,
  DisabledColorBorder,
  DisabledColorText,
  ColorFocusRect
};
constexpr int XiButtonColorCount = 25;

class TXiButton : public Window {
 public:
  enum TColorScheme {
    csNeoDesert,
    csNeoSky,
    csNeoGrass,
    csNeoSilver,
    csNeoRose,
    csNeoSun,
    csDesert,
    csGrass,
    csSky,
    csSun,
    csRose,
    csSilver,
    csCustom
  };
  enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
  enum TVisualState { vsNormal = 0, vsHot = 1, vsDown = 2 };

  static constexpr int DefaultWidth = 75;
  static constexpr int DefaultHeight = 25;
  static constexpr int mrNone = 0;

  TXiButton();

  // Creates the visible child window (WS_TABSTOP unless SetTabStop(false) came first).
  // False if it cannot be made or one exists already.
  bool Create(HWND parent, int id, const std::string& caption, int x, int y, int width = DefaultWidth,
              int height = DefaultHeight);
  // The object behind a TXiButton window, or null for any other window.
  static TXiButton* FromHandle(HWND hwnd);

  // Stores one colour and switches ColorScheme to csCustom.
  void SetColor(XiButtonColor index, COLORREF value);
  COLORREF Color(XiButtonColor index) const;
  // A named scheme writes its colours (the plain ones all but the four Grad colours) and
  // Gradient; csCustom changes no colour.
  void SetColorScheme(TColorScheme value);
  TColorScheme ColorScheme() const { return scheme_; }
  // The scheme's value for one colour; false for csCustom and the Grad colours of the
  // plain schemes, which have none.
  static bool SchemeColor(TColorScheme scheme, XiButtonColor index, COLORREF& value);

  void SetCtl3D(bool value);
  bool Ctl3D() const { return ctl3D_; }
  void SetLayout(TButtonLayout value);
  TButtonLayout Layout() const { return layout_; }
  // Copies the bitmap (null empties the glyph); the caller keeps its own.
  void SetGlyph(HBITMAP bitmap);
  HBITMAP Glyph() const { return glyph_.get(); }
  void SetSpacing(int value);
  int Spacing() const { return spacing_; }
  void SetTransparentGlyph(bool value);
  bool TransparentGlyph() const { return transparentGlyph_; }
  void SetGradient(bool value);
  bool Gradient() const { return gradient_; }
  void SetHotTrack(bool value) { hotTrack_ = value; }
  bool HotTrack() const { return hotTrack_; }
  // Default and Cancel only steer the dialog-key rule; they do not change the picture.
  void SetDefault(bool value) { default_ = value; }
  bool Default() const { return default_; }
  void SetCancel(bool value) { cancel_ = value; }
  bool Cancel() const { return cancel_; }
  // Stored only; each click of a button with a parent copies it into LastModalResult.
  void SetModalResult(int value) { modalResult_ = value; }
  int ModalResult() const { return modalResult_; }
  int LastModalResult() const { return lastModalResult_; }

  void SetCaption(const std::string& value);
  std::string Caption() const;
  void SetEnabled(bool value);
  bool Enabled() const;
  void SetTabStop(bool value);
  bool TabStop() const;
  // Visible, enabled, and inside a visible, enabled window chain.
  bool CanFocus() const;

  TVisualState VisualState() const { return state_; }
  bool Pressed() const { return pressed_; }
  bool Focused() const { return focused_; }

  // The click: modal result, state normal, paint, then BN_CLICKED to the parent.
  void Click();
  // Whether the dialog-key rule lets this button take Enter or Escape; it clicks if so.
  bool TakesDialogKey(UINT vk, bool modifiersHeld) const override;
  void OnDialogKey(UINT vk) override;

  // The DPI the button paints for: its window's at creation; the owner passes a new one on.
  // The size stays the owner's to set; the font is the one the window was given.
  void SetDpi(UINT value);
  UINT Dpi() const { return dpi_; }

  XiButtonPaintData PaintData() const;
  // Paints on the window now (no effect without a visible window).
  void PaintNow();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnFinalMessage(HWND hwnd) override;
  void Invalidate();
  void PaintTo(HDC dc);
  void SetState(TVisualState value);
  static std::string WindowCaption(HWND hwnd);
  void MouseMove(int x, int y);
  void MouseEnter();
  void MouseLeave();
  void MouseDown();
  void MouseUp(int x, int y, bool left);
  void KeyDown(WPARAM key);
  void KeyUp(WPARAM key);

  COLORREF colors_[XiButtonColorCount]{};
  TColorScheme scheme_ = csCustom;
  bool ctl3D_ = true;
  TButtonLayout layout_ = blGlyphLeft;
  gdi::unique_hbitmap glyph_;
  int spacing_ = 4;
  bool transparentGlyph_ = true;
  bool gradient_ = false;
  bool hotTrack_ = true;
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = mrNone;
  int lastModalResult_ = mrNone;
  bool tabStop_ = true;
  std::string caption_;
  bool enabled_ = true;
  UINT dpi_ = 96;

  TVisualState state_ = vsNormal;
  bool pressed_ = false;
  bool focused_ = false;
  bool hover_ = false;       // the pointer is over the window, as far as we were told
  bool clickArmed_ = false;  // left button went down here; a release inside clicks
};

}  // namespace zarn
