#include "controls/form.h"

namespace zarn {
namespace {

HWND g_applicationWindow = nullptr;

}  // namespace

DpiLayout* Form::LayoutOf(HWND hwnd) {
  auto* form = dynamic_cast<Form*>(Window::FromHandle(hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr));
  return form ? &form->layout_ : nullptr;
}

bool Form::CreateForm(const FormShape& shape) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterWindowClass(shape.className, LoadIconA(instance, MAKEINTRESOURCEA(shape.iconId)),
                      GetSysColorBrush(COLOR_BTNFACE));
  // The dialog manager steps into the form's panels for Tab and the arrow keys.
  if (!CreateFor(WS_EX_CONTROLPARENT, shape.className, shape.title, shape.style, CW_USEDEFAULT, CW_USEDEFAULT, shape.width,
                 shape.height, ApplicationWindow()))
    return false;
  layout_.Attach(hwnd_, dpi::ForWindow(hwnd_), shape.iconId);
  // Centred on the work area of the window's screen, at its size for that screen's DPI.
  const int w = layout_.Scale(shape.width), h = layout_.Scale(shape.height);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT work{0, 0, w, h};
  if (GetMonitorInfoA(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor))
    work = monitor.rcWork;
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(layout_.Fonts().normal), FALSE);
  CreateControls();
  ApplyDpi(false);
  AddDialogWindow(hwnd_);
  return true;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DPICHANGED) {
    layout_.DpiChanged(wParam, lParam);
    ApplyDpi(true);
    return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void SetApplicationWindow(HWND hwnd) { g_applicationWindow = hwnd; }
HWND ApplicationWindow() { return g_applicationWindow; }

}  // namespace zarn
