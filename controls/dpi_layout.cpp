#include "controls/dpi_layout.h"

#include <commctrl.h>

#include "controls/check_boxes.h"

namespace zarn {
namespace {

const char kLayoutProperty[] = "ZarnDpiLayout";

// The same kind of font at another DPI; a font that is none of the program's stays.
HFONT Counterpart(HFONT font, const dpi::UiFonts& from, const dpi::UiFonts& to) {
  if (font == from.normal) return to.normal;
  if (font == from.bold) return to.bold;
  if (font == from.boldUnderline) return to.boldUnderline;
  if (font == from.bold9) return to.bold9;
  return nullptr;
}

bool IsListWithCheckBoxes(HWND hwnd) {
  char name[32] = "";
  GetClassNameA(hwnd, name, sizeof name);
  return lstrcmpiA(name, WC_LISTVIEWA) == 0 && (ListView_GetExtendedListViewStyle(hwnd) & LVS_EX_CHECKBOXES);
}

}  // namespace

DpiLayout::~DpiLayout() {
  if (top_ && GetPropA(top_, kLayoutProperty) == this) RemovePropA(top_, kLayoutProperty);
}

void DpiLayout::Attach(HWND top, UINT dpi, int iconId) {
  top_ = top;
  dpi_ = dpi ? dpi : dpi::kBase;
  iconId_ = iconId;
  SetPropA(top, kLayoutProperty, this);
}

DpiLayout* DpiLayout::Of(HWND hwnd) {
  HWND top = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
  return top ? static_cast<DpiLayout*>(GetPropA(top, kLayoutProperty)) : nullptr;
}

void DpiLayout::Place(HWND control, int x, int y, int width, int height) {
  if (!control) return;
  placed_.push_back({control, {x, y, width, height}});
  if (dpi_ != dpi::kBase) MoveWindow(control, Scale(x), Scale(y), Scale(width), Scale(height), FALSE);
}

void DpiLayout::Columns(HWND list, std::vector<int> widths) {
  columns_.push_back({list, std::move(widths)});
  if (dpi_ != dpi::kBase) SetColumns(columns_.back());
}

void DpiLayout::SetColumns(const ListColumns& columns) const {
  for (size_t i = 0; i < columns.widths.size(); ++i)
    ListView_SetColumnWidth(columns.list, static_cast<int>(i), Scale(columns.widths[i]));
}

void DpiLayout::SizeTopLevel(int width, int height) {
  if (!top_ || dpi_ == dpi::kBase) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const int w = Scale(width), h = Scale(height);
  RECT work{0, 0, w, h};
  if (GetMonitorInfoA(MonitorFromWindow(top_, MONITOR_DEFAULTTONEAREST), &monitor)) work = monitor.rcWork;
  SetWindowPos(top_, nullptr, work.left + (work.right - work.left - w) / 2, work.top + (work.bottom - work.top - h) / 2,
               w, h, SWP_NOZORDER | SWP_NOACTIVATE);
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
  const dpi::UiFonts& from = Fonts();
  const dpi::UiFonts& to = dpi::FontsFor(dpi);
  dpi_ = dpi;
  for (const Placed& p : placed_) {
    if (!IsWindow(p.hwnd)) continue;
    if (IsListWithCheckBoxes(p.hwnd)) SetCheckBoxImages(p.hwnd, dpi);
    if (HFONT font = Counterpart(reinterpret_cast<HFONT>(SendMessageA(p.hwnd, WM_GETFONT, 0, 0)), from, to))
      SendMessageA(p.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    MoveWindow(p.hwnd, Scale(p.design.left), Scale(p.design.top), Scale(p.design.right), Scale(p.design.bottom), FALSE);
  }
  for (const ListColumns& c : columns_)
    if (IsWindow(c.list)) SetColumns(c);
  if (top_) {
    if (HFONT font = Counterpart(reinterpret_cast<HFONT>(SendMessageA(top_, WM_GETFONT, 0, 0)), from, to))
      SendMessageA(top_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    RedrawWindow(top_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  }
}

}  // namespace zarn
