#pragma once
// The program's window helpers: the shared fonts, child controls built from code, panels,
// and the application window. The window base itself lives in controls/window.h.
#include <windows.h>

#include <string>

#include "controls/window.h"

namespace zarn {

// The program's dialog font, Tahoma 8 pt (one shared object for the process).
HFONT DialogFont();
HFONT BoldFont(int points = 8, bool underline = false);

// A child control at a place in its parent's client area, with the dialog font.
HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                 int id, DWORD exStyle = 0);

// A panel: a plain child window that paints a flat colour and an optional edge and passes
// its children's notifications on to its own parent.
enum class PanelEdge { None, SunkenDouble, LoweredInner, RaisedInnerLoweredOuter };
HWND CreatePanel(HWND parent, int x, int y, int width, int height, PanelEdge edge,
                 COLORREF color = GetSysColor(COLOR_BTNFACE), int id = 0);

std::string WindowText(HWND hwnd);

// The control with `id` anywhere inside `parent` (panels included), or null.
HWND FindControl(HWND parent, int id);

// The application's own hidden top-level window: it carries the application title and
// owns the program's other windows. Null until the program creates it.
void SetApplicationWindow(HWND hwnd);
HWND ApplicationWindow();

}  // namespace zarn
