#include "app/label_table.h"

#include "traces/window.h"

namespace zarn {

namespace {

HFONT FontOf(LabelFont font) {
  switch (font) {
    case LabelFont::Dialog: break;
    case LabelFont::Bold: return BoldFont();
    case LabelFont::BoldUnderline: return BoldFont(8, true);
    case LabelFont::Bold9: return BoldFont(9);
  }
  return nullptr;
}

}  // namespace

void CreateLabels(HWND parent, std::span<const LabelSpec> labels) {
  for (const LabelSpec& l : labels) {
    HWND label = CreateChild(parent, "STATIC", l.text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX | l.style, l.x, l.y,
                             l.width, l.height, l.id);
    // CreateChild gives every control the dialog font already.
    if (HFONT font = FontOf(l.font)) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

}  // namespace zarn
