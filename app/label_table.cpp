#include "app/label_table.h"

#include "controls/child_windows.h"

namespace zarn {

void CreateLabels(HWND parent, std::span<const LabelSpec> labels) {
  for (const LabelSpec& l : labels)
    CreateChild(parent, "STATIC", l.text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX | l.style, l.x, l.y, l.width, l.height,
                l.id, 0, l.font);
}

}  // namespace zarn
