#pragma once
// Where a window's controls go, kept in 96-DPI units, and the one step that puts them there
// at any DPI: places, column widths and fonts. A top-level window owns one; the helpers that
// build controls from code find it through any window inside and record what they build.
#include <windows.h>

#include <vector>

#include "controls/dpi.h"
#include "controls/unique_handle.h"

namespace zarn {

class DpiLayout {
 public:
  DpiLayout() = default;
  ~DpiLayout();
  DpiLayout(const DpiLayout&) = delete;
  DpiLayout& operator=(const DpiLayout&) = delete;

  // Makes this the layout of the top-level window `top`, shown at `dpi`. `iconId` names the
  // window's icon resource, which a change of DPI loads again in the sizes of the new DPI.
  void Attach(HWND top, UINT dpi, int iconId = 0);
  // The layout of the top-level window that holds `hwnd`, or null.
  static DpiLayout* Of(HWND hwnd);

  UINT Dpi() const { return dpi_; }
  int Scale(int value) const { return dpi::Scale(value, dpi_); }
  const dpi::UiFonts& Fonts() const { return dpi::FontsFor(dpi_); }

  // Records a control's place at 96 DPI and puts it there at the layout's DPI (at 96 DPI it
  // leaves the control as it was made).
  void Place(HWND control, int x, int y, int width, int height);
  // Records a list view's column widths at 96 DPI and sets them at the layout's DPI.
  void Columns(HWND list, std::vector<int> widths);

  // Gives the top-level window its outer size at the layout's DPI, centred on its screen's
  // work area (at 96 DPI it leaves the window as it was made).
  void SizeTopLevel(int width, int height);

  // Moves every recorded control to its place at `dpi`, sets the column widths, gives each
  // control the font of the same kind made for `dpi` and each list its check boxes for it.
  void Rescale(UINT dpi);
  // WM_DPICHANGED: rescales the controls, then takes the rectangle Windows suggests for the
  // window at the new DPI. Returns the new DPI.
  UINT DpiChanged(WPARAM wParam, LPARAM lParam);

 private:
  struct Placed {
    HWND hwnd;
    RECT design;  // left, top, width, height at 96 DPI
  };
  struct ListColumns {
    HWND list;
    std::vector<int> widths;
  };
  void SetColumns(const ListColumns& columns) const;

  void LoadIcons();

  HWND top_ = nullptr;
  UINT dpi_ = dpi::kBase;
  int iconId_ = 0;
  UniqueHandle<HICON, DestroyIcon> smallIcon_, bigIcon_;
  std::vector<Placed> placed_;
  std::vector<ListColumns> columns_;
};

}  // namespace zarn
