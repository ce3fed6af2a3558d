#pragma once
// Child windows built from code: controls placed in the layout of the form they go into,
// with the font of their kind, and panels.
#include <windows.h>

#include <string>

#include "controls/dpi.h"

namespace zarn {

// A child control at a place in its parent's client area (at 96 DPI), with the font of
// `font`'s kind, both recorded in the form's layout.
HWND CreateChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                 int id, DWORD exStyle = 0, FontKind font = FontKind::Normal);

// A panel: a plain child window that paints a flat colour and an optional edge and passes
// its children's notifications on to its own parent.
enum class PanelEdge { None, SunkenDouble, LoweredInner, RaisedInnerLoweredOuter };
HWND CreatePanel(HWND parent, int x, int y, int width, int height, PanelEdge edge,
                 COLORREF color = GetSysColor(COLOR_BTNFACE), int id = 0);

std::string WindowText(HWND hwnd);

// The control with `id` anywhere inside `parent` (panels included), or null.
HWND FindControl(HWND parent, int id);

}  // namespace zarn
