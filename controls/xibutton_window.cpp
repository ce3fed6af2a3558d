// TXiButton: the subclassed BUTTON window, its input handling and its painting.
#include <windows.h>

#include <commctrl.h>

#include "controls/dpi.h"
#include "controls/xibutton.h"

namespace zarn {

bool TXiButton::Create(HWND parent, int id, const std::string& caption, int x, int y, int width, int height) {
  if (hwnd_ || !parent) return false;
  caption_ = caption;
  dpi_ = dpi::ForWindow(parent);
  // Owner-drawn, so that the button's own painting only ever goes out as WM_DRAWITEM
  // (which the parent ignores) and never over our picture.
  DWORD style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW | (tabStop_ ? WS_TABSTOP : 0) | (enabled_ ? 0 : WS_DISABLED);
  HWND hwnd = CreateWindowExA(0, "BUTTON", caption.c_str(), style, x, y, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) return false;
  if (!Subclass(hwnd)) {
    DestroyWindow(hwnd);
    return false;
  }
  focused_ = GetFocus() == hwnd;
  Invalidate();
  return true;
}

TXiButton* TXiButton::FromHandle(HWND hwnd) { return dynamic_cast<TXiButton*>(Window::FromHandle(hwnd)); }

void TXiButton::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TXiButton::PaintNow() {
  if (!hwnd_ || !IsWindowVisible(hwnd_)) return;
  gdi::unique_hdc_window dc(hwnd_);
  PaintTo(dc.get());
}

void TXiButton::PaintTo(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const XiButtonPaintData data = PaintData();
  gdi::PaintOffscreen(dc, client.right, client.bottom,
                      [&](HDC memory) { PaintXiButton(memory, client.right, client.bottom, data); });
}

void TXiButton::SetState(TVisualState value) {
  state_ = value;
  PaintNow();
}

void TXiButton::MouseMove(int x, int y) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const bool inside = x >= 0 && y >= 0 && x < client.right && y < client.bottom;
  if (inside && !hover_) {
    hover_ = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
    TrackMouseEvent(&track);
    MouseEnter();
  } else if (!inside && hover_) {
    // While the mouse is captured the move messages tell us it left.
    hover_ = false;
    MouseLeave();
  }
}

void TXiButton::MouseEnter() {
  if (!hotTrack_) return;
  SetState(pressed_ ? vsDown : vsHot);
}

void TXiButton::MouseLeave() { SetState(vsNormal); }

void TXiButton::MouseDown() {
  clickArmed_ = true;
  SetCapture(hwnd_);
  pressed_ = true;
  state_ = vsDown;
  if (TabStop()) SetFocus(hwnd_);
  PaintNow();
}

void TXiButton::MouseUp(int x, int y, bool left) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  // As a standard button: a left release anywhere on the window after a press here clicks.
  const bool clicks = left && clickArmed_ && x >= 0 && y >= 0 && x < client.right && y < client.bottom;
  if (left) {
    clickArmed_ = false;
    pressed_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
    if (clicks) Click();
    if (!hwnd_) return;
  }
  pressed_ = false;
  if (x > 0 && y > 0 && x < client.right && y < client.bottom) state_ = hotTrack_ ? vsHot : vsNormal;
  PaintNow();
}

void TXiButton::KeyDown(WPARAM key) {
  if (key == VK_SPACE) {
    state_ = vsDown;
  } else if (key == VK_RETURN) {
    Click();
  } else if (key == VK_ESCAPE) {
    // Reached only from a message loop without the dialog-key rule, which takes Escape
    // for the whole window.
    SendDialogKey(GetAncestor(hwnd_, GA_ROOT), VK_ESCAPE);
  }
  PaintNow();
}

void TXiButton::KeyUp(WPARAM key) {
  if (key != VK_SPACE) return;
  SetState(vsNormal);
  Click();
}

void TXiButton::OnFinalMessage(HWND hwnd) {
  // Keep what the window held, so that the object still answers sensibly.
  caption_ = WindowCaption(hwnd);
  enabled_ = IsWindowEnabled(hwnd) != FALSE;
  tabStop_ = (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_TABSTOP) != 0;
}

LRESULT TXiButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      gdi::unique_hdc_paint dc(hwnd);
      PaintTo(dc.get());
      return 0;
    }
    case WM_PRINTCLIENT: PaintTo(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_GETDLGCODE: {
      // Asking for Enter makes IsDialogMessage pass it to us instead of sending IDOK.
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      LRESULT code = DLGC_BUTTON;
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_MOUSEMOVE: MouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); return 0;
    case WM_MOUSELEAVE:
      if (hover_) {
        hover_ = false;
        MouseLeave();
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: MouseDown(); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      MouseUp(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), message == WM_LBUTTONUP);
      return 0;
    case WM_CAPTURECHANGED:
      if (clickArmed_ && reinterpret_cast<HWND>(lParam) != hwnd) {
        // Someone else took the mouse mid-press: no click will come, so stop looking down.
        clickArmed_ = false;
        pressed_ = false;
        SetState(vsNormal);
      }
      return 0;
    case WM_KEYDOWN: KeyDown(wParam); return 0;
    case WM_KEYUP: KeyUp(wParam); return 0;
    case BM_CLICK:
      if (IsWindowEnabled(hwnd)) Click();
      return 0;
    case BM_SETSTYLE:
      // The dialog manager would turn us into a (self-painting) default push button.
      wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW;
      break;
    case WM_SETFOCUS: {
      const LRESULT result = DefaultProc(message, wParam, lParam);
      focused_ = true;
      PaintNow();
      return result;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = DefaultProc(message, wParam, lParam);
      focused_ = false;
      SetState(vsNormal);
      return result;
    }
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_ENABLE: {
      const LRESULT result = DefaultProc(message, wParam, lParam);
      Invalidate();
      return result;
    }
  }
  return DefaultProc(message, wParam, lParam);
}

}  // namespace zarn
