#include "app/label_table.h"

#include "controls/dpi_layout.h"
#include "traces/window.h"

namespace zarn {

namespace {

// The kind of font for the DPI of the window the label goes into.
HFONT FontOf(LabelFont font, HWND parent) {
  const DpiLayout* layout = DpiLayout::Of(parent);
  const dpi::UiFonts& fonts = layout ? layout->Fonts() : dpi::FontsFor(dpi::SystemDpi());
  switch (font) {
    case LabelFont::Dialog: break;
    case LabelFont::Bold: return fonts.bold;
    case LabelFont::BoldUnderline: return fonts.boldUnderline;
    case LabelFont::Bold9: return fonts.bold9;
  }
  return nullptr;
}

}  // namespace

void CreateLabels(HWND parent, std::span<const LabelSpec> labels) {
  for (const LabelSpec& l : labels) {
    HWND label = CreateChild(parent, "STATIC", l.text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX | l.style, l.x, l.y, l.width,
                             l.height, l.id);
    // CreateChild gives every control the dialog font already.
    if (HFONT font = FontOf(l.font, parent)) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

}  // namespace zarn
