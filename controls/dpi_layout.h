#pragma once
// Where a window's controls go, kept in 96-DPI units, and the one step that puts them there
// at any DPI: places, column widths, fonts and check boxes. A top-level form owns one; the
// helpers that build controls from code record in it what they build and of which kind.
#include <windows.h>

#include <vector>

#include "controls/dpi.h"
#include "controls/unique_handle.h"

namespace zarn {

class DpiLayout {
 public:
  DpiLayout() = default;
  DpiLayout(const DpiLayout&) = delete;
  DpiLayout& operator=(const DpiLayout&) = delete;

  // Makes this the layout of the top-level window `top`, shown at `dpi`. `iconId` names the
  // window's icon resource, which a change of DPI loads again in the sizes of the new DPI.
  void Attach(HWND top, UINT dpi, int iconId = 0);

  UINT Dpi() const { return dpi_; }
  int Scale(int value) const { return dpi::Scale(value, dpi_); }
  const dpi::UiFonts& Fonts() const { return dpi::FontsFor(dpi_); }

  // Records a control's place at 96 DPI and the kind of font it shows, and puts it there at
  // the layout's DPI (at 96 DPI it leaves the control as it was made).
  void Place(HWND control, int x, int y, int width, int height, FontKind font);
  // Records that a placed list view shows check boxes, which a change of DPI draws anew.
  void CheckBoxes(HWND list);
  // Records a list view's column widths at 96 DPI and sets them at the layout's DPI.
  void Columns(HWND list, std::vector<int> widths);

  // Moves every recorded control to its place at `dpi`, sets the column widths, gives each
  // control its kind of font made for `dpi` and each list its check boxes for it.
  void Rescale(UINT dpi);
  // WM_DPICHANGED: rescales the controls, then takes the rectangle Windows suggests for the
  // window at the new DPI. Returns the new DPI.
  UINT DpiChanged(WPARAM wParam, LPARAM lParam);

 private:
  struct Placed {
    HWND hwnd;
    RECT design;  // left, top, width, height at 96 DPI
    FontKind font;
    bool checkBoxes = false;
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
