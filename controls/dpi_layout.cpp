#include "controls/dpi_layout.h"

#include <commctrl.h>

#include "controls/check_boxes.h"

namespace zarn {

void DpiLayout::Attach(HWND top, UINT dpi, int iconId) {
  top_ = top;
  dpi_ = dpi ? dpi : dpi::kBase;
  iconId_ = iconId;
}

void DpiLayout::Place(HWND control, int x, int y, int width, int height, FontKind font) {
  if (!control) return;
  placed_.push_back({control, {x, y, width, height}, font});
  if (dpi_ != dpi::kBase) MoveWindow(control, Scale(x), Scale(y), Scale(width), Scale(height), FALSE);
}

void DpiLayout::CheckBoxes(HWND list) {
  for (Placed& p : placed_)
    if (p.hwnd == list) p.checkBoxes = true;
}

void DpiLayout::Columns(HWND list, std::vector<int> widths) {
  columns_.push_back({list, std::move(widths)});
  if (dpi_ != dpi::kBase) SetColumns(columns_.back());
}

void DpiLayout::SetColumns(const ListColumns& columns) const {
  for (size_t i = 0; i < columns.widths.size(); ++i)
    ListView_SetColumnWidth(columns.list, static_cast<int>(i), Scale(columns.widths[i]));
}

void DpiLayout::LoadIcons() {
  // Until the first change the window shows its class's icons, which Windows made for the
  // DPI the window started at.
  if (!iconId_ || !top_) return;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  auto load = [&](int metric) {
    const int size = dpi::SystemMetric(metric, dpi_);
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId_), IMAGE_ICON, size, size, 0));
  };
  UniqueHandle<HICON, DestroyIcon> small(load(SM_CXSMICON)), big(load(SM_CXICON));
  SendMessageA(top_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  SendMessageA(top_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  smallIcon_ = std::move(small);
  bigIcon_ = std::move(big);
}

UINT DpiLayout::DpiChanged(WPARAM wParam, LPARAM lParam) {
  // Both words of wParam carry the new DPI; they are the same for a window.
  Rescale(HIWORD(wParam));
  LoadIcons();
  if (const auto* suggested = reinterpret_cast<const RECT*>(lParam))
    SetWindowPos(top_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  return dpi_;
}

void DpiLayout::Rescale(UINT dpi) {
  if (!dpi || dpi == dpi_) return;
  const dpi::UiFonts& to = dpi::FontsFor(dpi);
  dpi_ = dpi;
  for (const Placed& p : placed_) {
    if (!IsWindow(p.hwnd)) continue;
    if (p.checkBoxes) SetCheckBoxImages(p.hwnd, dpi);
    if (HFONT font = to.Of(p.font)) SendMessageA(p.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    MoveWindow(p.hwnd, Scale(p.design.left), Scale(p.design.top), Scale(p.design.right), Scale(p.design.bottom), FALSE);
  }
  for (const ListColumns& c : columns_)
    if (IsWindow(c.list)) SetColumns(c);
  if (top_) {
    SendMessageA(top_, WM_SETFONT, reinterpret_cast<WPARAM>(to.normal), FALSE);
    RedrawWindow(top_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  }
}

}  // namespace zarn
