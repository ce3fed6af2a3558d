#pragma once
// Move-only GDI owners and the small drawing helpers shared by the self-drawn controls.
// Declare a memory DC, then its bitmap, then the selection: destruction in reverse order
// puts the DC's original bitmap back, deletes ours, then deletes the DC.
#include <windows.h>
#include <commctrl.h>

#include "controls/unique_handle.h"

namespace zarn::gdi {

using unique_hdc = UniqueHandle<HDC, DeleteDC>;
using unique_hbitmap = UniqueHandle<HBITMAP, DeleteObject>;
using unique_hpen = UniqueHandle<HPEN, DeleteObject>;
using unique_hbrush = UniqueHandle<HBRUSH, DeleteObject>;
using unique_hfont = UniqueHandle<HFONT, DeleteObject>;
using unique_himagelist = UniqueHandle<HIMAGELIST, ImageList_Destroy>;

// Selects an object into a DC and restores the previous one on destruction.
class unique_select_object {
 public:
  unique_select_object(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~unique_select_object() {
    if (dc_ && old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  unique_select_object(const unique_select_object&) = delete;
  unique_select_object& operator=(const unique_select_object&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// GetDC/ReleaseDC: keeps the window the DC belongs to.
class unique_hdc_window {
 public:
  explicit unique_hdc_window(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~unique_hdc_window() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  unique_hdc_window(const unique_hdc_window&) = delete;
  unique_hdc_window& operator=(const unique_hdc_window&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint/EndPaint: keeps the PAINTSTRUCT.
class unique_hdc_paint {
 public:
  explicit unique_hdc_paint(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~unique_hdc_paint() { EndPaint(hwnd_, &ps_); }
  unique_hdc_paint(const unique_hdc_paint&) = delete;
  unique_hdc_paint& operator=(const unique_hdc_paint&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// A 32-bit top-down DIB section: exact colours whatever the display depth.
HBITMAP CreateDib32(HDC reference, int width, int height);
// The header of a top-down DIB of `bitCount` bits a pixel, without colour table.
BITMAPINFO TopDownDibInfo(int width, int height, WORD bitCount);

// Rounds to the nearest integer, halves to the even neighbour, and clamps to a channel.
int RoundChannel(double value);
// Rounds to the nearest integer with halves to the even neighbour.
long long RoundHalfEven(double value);

// Solid one-pixel line from (x0, y0) towards (x1, y1); the end point is not drawn.
void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF color);

// Gradient line by line between two colours, each line in explicitly rounded channels.
// Line i (0..steps) lies at row i (horizontal lines) or column i (vertical lines), from
// `from` to `to` along the other axis, end excluded. With steps 0 a single line in `start`.
enum class Lines { Horizontal, Vertical };
void GradientLines(HDC dc, Lines kind, int steps, int from, int to, COLORREF start, COLORREF end);

// Frame of the rectangle's outermost pixel ring in one colour, interior untouched.
void Outline(HDC dc, int left, int top, int right, int bottom, COLORREF color);

// Runs `paint(dc)` on a fresh off-screen bitmap of width x height and copies the result to
// `target` at (0, 0) in one blit. Without memory for the bitmap it draws on `target` itself.
template <typename Paint>
void PaintOffscreen(HDC target, int width, int height, Paint&& paint) {
  if (!target || width <= 0 || height <= 0) return;
  unique_hdc memory(CreateCompatibleDC(target));
  unique_hbitmap bitmap(memory ? CreateDib32(target, width, height) : nullptr);
  if (!bitmap) {
    paint(target);
    return;
  }
  unique_select_object selection(memory.get(), bitmap.get());
  paint(memory.get());
  BitBlt(target, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace zarn::gdi
