#pragma once
// A thin base for the program's windows: a static thunk forwards every message to the
// object's virtual HandleMessage, plus helpers for building child controls from code.
#include <windows.h>

#include <string>

namespace zarn {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }

 protected:
  // Registers `className` once (per process) with this thunk as window procedure.
  static void RegisterWindowClass(const char* className, HICON icon, HBRUSH background);
  bool CreateTopLevel(const char* className, const char* title, DWORD style, DWORD exStyle,
                      int width, int height, HWND owner);
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// The program's dialog font, Tahoma 8 pt (one shared object for the process).
HFONT DialogFont();
HFONT BoldFont(int points = 8, bool underline = false);

// A child control at a place in its parent's client area, with the dialog font.
HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                 int width, int height, int id, DWORD exStyle = 0);

// A panel: a plain child window that paints a flat colour and an optional edge and passes
// its children's notifications on to its own parent.
enum class PanelEdge { None, SunkenDouble, LoweredInner, RaisedInnerLoweredOuter };
HWND CreatePanel(HWND parent, int x, int y, int width, int height, PanelEdge edge,
                 COLORREF color = GetSysColor(COLOR_BTNFACE), int id = 0);

// Moves a top-level window to the centre of the work area.
void CentreOnScreen(HWND hwnd);

std::string WindowText(HWND hwnd);

}  // namespace zarn

namespace zarn {
// Windows whose keyboard navigation (Tab, Enter, Escape) the message loop hands to
// IsDialogMessage.
void AddDialogWindow(HWND hwnd);
bool RouteDialogMessage(MSG* msg);

// The application's own hidden top-level window: it carries the application title and
// owns the program's other windows. Null until the program creates it.
void SetApplicationWindow(HWND hwnd);
HWND ApplicationWindow();
}  // namespace zarn
