#include "app/application.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "app/forms.h"
#include "app/utama.h"
#include "res/resource.h"
#include "controls/form.h"
#include "controls/window.h"

namespace zarn {
namespace {

// The hidden owner of every form. It carries the application title in the task bar; when
// it is restored from there, the main window comes back with it.
class TApplication : public Window {
 public:
  bool Create() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
    // A zero-sized popup with a caption: it has a task bar button but nothing on screen.
    return RegisterWindowClass("TApplication", LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP)), nullptr) &&
           CreateFor(0, "TApplication", kApplicationTitle,
                     WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0, nullptr);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && MainForm && IsWindowVisible(MainForm->Handle()))
          SetActiveWindow(MainForm->Handle());
        return 0;
      case WM_CLOSE:
        if (!MainForm) ExitProcess(0);
        MainForm->EndProgram();
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
  }
};

std::unique_ptr<TApplication> g_application;

HWND CreateApplicationWindow() {
  g_application = std::make_unique<TApplication>();
  if (!g_application->Create()) g_application.reset();
  return g_application ? g_application->Handle() : nullptr;
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
  SetApplicationWindow(nullptr);
  g_application.reset();
}

}  // namespace zarn
