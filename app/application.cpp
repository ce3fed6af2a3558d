#include "app/application.h"

#include <windows.h>
#include <commctrl.h>

#include "app/forms.h"
#include "app/utama.h"
#include "res/resource.h"
#include "traces/window.h"

namespace zarn {
namespace {

// The hidden owner of every form. It carries the application title in the task bar; when
// it is restored from there, the main window comes back with it.
LRESULT CALLBACK ApplicationProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && MainForm && IsWindowVisible(MainForm->Handle()))
        SetActiveWindow(MainForm->Handle());
      return 0;
    case WM_CLOSE:
      ExitProcess(0);
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreateApplicationWindow() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ApplicationProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
  wc.lpszClassName = "TApplication";
  RegisterClassExA(&wc);
  int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
  // A zero-sized popup with a caption: it has a task bar button but nothing on screen.
  return CreateWindowExA(0, "TApplication", kApplicationTitle,
                         WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
                         nullptr, nullptr, instance, nullptr);
}

}  // namespace

bool StartApplication() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  HWND app = CreateApplicationWindow();
  SetApplicationWindow(app);
  if (!CreateAllForms()) return false;
  if (app) ShowWindow(app, SW_SHOWNA);
  ShowWindow(MainForm->Handle(), SW_SHOW);
  UpdateWindow(MainForm->Handle());
  SetForegroundWindow(MainForm->Handle());
  return true;
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (RouteDialogMessage(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void EndApplication() {
  DestroyAllForms();
  if (HWND app = ApplicationWindow()) {
    SetApplicationWindow(nullptr);
    DestroyWindow(app);
  }
}

}  // namespace zarn
