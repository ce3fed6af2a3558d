#pragma once
// Static texts declared as data: each window lists its labels with their places at 96 DPI
// and the kind of font each shows, and builds them with one call.
#include <windows.h>

#include <span>

#include "controls/dpi.h"

namespace zarn {

struct LabelSpec {
  int id;
  const char* text;
  int x, y, width, height;
  FontKind font = FontKind::Normal;
  DWORD style = 0;  // added to a visible, left-aligned STATIC that shows '&' as it is
};

void CreateLabels(HWND parent, std::span<const LabelSpec> labels);

}  // namespace zarn
