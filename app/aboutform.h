#pragma once
// The about box: product name, version, notice and the maker's addresses.
#include "controls/child_windows.h"
#include "controls/form.h"
#include "controls/gdi.h"

namespace zarn {

class TFormabout : public Form {
 public:
  // The ids read best packed, in the order the windows create them.
  // clang-format off
  enum ControlId { kPanel1 = 3001, kPanel2, kImage1, kLabel1, kLabel2, kLabel3, kLabel4, kLabel5, kLabel6,
                   kLabel7, kLabel8, kButton1 };
  // clang-format on
  bool Create();
  void ShowAbout();
  HWND Control(int id) const;

  void Button1Click();
  void Label1Click();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnCommand(int id, int code, HWND control) override;
  void CreateControls() override;
  // The banner drawn for the layout's DPI.
  void ApplyDpi(bool changed) override;

 private:
  HWND panel1_ = nullptr, panel2_ = nullptr;
  gdi::unique_hbitmap banner_;
};

}  // namespace zarn
