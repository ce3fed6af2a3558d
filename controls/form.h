#pragma once
// The base of the program's top-level windows (the main window, the category forms and the
// about box). It owns what they share about screen resolution: it registers the class,
// makes the window for the DPI of its screen at its size there, centred once, with the
// program's font, keeps the layout its controls are recorded in, and lays them out again
// when the window moves to a screen of another scale, calling the form back for its own
// pictures each time.
#include <windows.h>

#include "controls/dpi_layout.h"
#include "controls/window.h"

namespace zarn {

struct FormShape {
  const char* className;
  const char* title;
  DWORD style;
  int width, height;  // the outer size at 96 DPI
  int iconId;         // the class's icon, loaded again in the sizes of each new DPI
};

class Form : public Window {
 public:
  // The layout of the form that holds `hwnd` (the form itself or any window inside it), or
  // null for a window outside every form.
  static DpiLayout* LayoutOf(HWND hwnd);

 protected:
  // Makes the hidden window, owned by the application window, then its controls, then its
  // pictures at the window's DPI, and hands its keyboard to the dialog manager. False when
  // the window cannot be made.
  bool CreateForm(const FormShape& shape);
  // The form's controls, placed through the helpers of controls/child_windows.h.
  virtual void CreateControls() = 0;
  // The form's own pictures and what its layout does not place, at the layout's DPI: once
  // its controls are made (`changed` false) and after every change of DPI (true).
  virtual void ApplyDpi(bool changed) = 0;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  DpiLayout layout_;
};

// The application's own hidden top-level window: it carries the application title and
// owns the program's other windows. Null until the program creates it.
void SetApplicationWindow(HWND hwnd);
HWND ApplicationWindow();

}  // namespace zarn
