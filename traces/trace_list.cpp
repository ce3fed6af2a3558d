#include "traces/trace_list.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "controls/child_windows.h"
#include "controls/form.h"

namespace zarn {

namespace {

// How often a running scan shows its new rows: more often is invisible to a person.
constexpr DWORD kShowInterval = 30;

int StateImage(bool ticked) { return INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1); }

}  // namespace

bool TraceList::Create(HWND parent, int id, int x, int y, int width, int height) {
  if (hwnd_) return false;
  HWND hwnd =
      CreateChild(parent, WC_LISTVIEWA, "", WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, x,
                  y, width, height, id, WS_EX_CLIENTEDGE);
  if (!hwnd) return false;
  if (!Subclass(hwnd)) {
    DestroyWindow(hwnd);
    return false;
  }
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  if (DpiLayout* layout = Form::LayoutOf(parent)) layout->CheckBoxes(hwnd_);
  // The list view asks for each row's check box picture instead of keeping it.
  ListView_SetCallbackMask(hwnd_, LVIS_STATEIMAGEMASK);
  return true;
}

bool TraceList::ColumnIs(int index, const char* caption, int width) const {
  char text[64] = {};
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.pszText = text;
  col.cchTextMax = sizeof text;
  return SendMessageA(hwnd_, LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&col)) && col.cx == width &&
         strcmp(text, caption) == 0;
}

void TraceList::SetColumns(const char* firstCaption) {
  struct Column {
    const char* caption;
    int width;
  };
  // Widths at 96 DPI, scaled to the DPI the form is shown at.
  const DpiLayout* layout = Form::LayoutOf(hwnd_);
  auto scaled = [layout](int width) { return layout ? layout->Scale(width) : width; };
  const Column columns[] = {{firstCaption, scaled(150)},
                            {"File Location", scaled(250)},
                            {"File Type", scaled(80)},
                            {"File Info", scaled(200)},
                            {"File Size", scaled(80)}};
  constexpr int kColumns = sizeof columns / sizeof columns[0];
  // A rescan finds the five columns there already: only those the user has resized get
  // their width back. It looks the same as building them anew, which under Wine costs
  // more than an empty category's whole scan.
  HWND header = ListView_GetHeader(hwnd_);
  const bool rebuild = !header || Header_GetItemCount(header) != kColumns;
  if (rebuild) {
    while (ListView_DeleteColumn(hwnd_, 0)) {
    }
  }
  for (int index = 0; index < kColumns; ++index) {
    if (!rebuild && ColumnIs(index, columns[index].caption, columns[index].width)) continue;
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<char*>(columns[index].caption);
    col.cx = columns[index].width;
    col.iSubItem = index;
    SendMessageA(hwnd_, rebuild ? LVM_INSERTCOLUMNA : LVM_SETCOLUMNA, index, reinterpret_cast<LPARAM>(&col));
  }
}

void TraceList::Clear() {
  // The list view forgets its rows before their texts go, so that it never asks for one
  // that is no longer there.
  if (shownCount_ != 0) {
    shownCount_ = 0;
    HoldRedrawWhileHidden();
    ListView_SetItemCountEx(hwnd_, 0, 0);
  }
  items_.clear();
  ticks_.clear();
}

void TraceList::Add(TraceItem item) {
  items_.push_back(std::move(item));
  ticks_.push_back(true);
  if (!batching_) {
    ShowCount();
    UpdateWindow(hwnd_);
    return;
  }
  DWORD now = GetTickCount();
  if (now - lastShown_ >= kShowInterval) {
    lastShown_ = now;
    ShowCount();
    UpdateWindow(hwnd_);
  }
}

// Every row shown separately would cost a repaint each: under Wine a 10,000-item scan
// took minutes instead of a tenth of a second.
void TraceList::BeginAdding() {
  batching_ = true;
  lastShown_ = GetTickCount();
}

void TraceList::FinishAdding() {
  batching_ = false;
  ShowCount();
  if (redrawHeld_) {
    redrawHeld_ = false;
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  }
  UpdateWindow(hwnd_);
}

// A list nobody sees gains nothing from redrawing as its count changes: under Wine each
// change of a hidden list's count still laid out its scroll bar, about a millisecond, twice
// a scan (emptied, then filled). Held off until the scan ends, the layout is done once. Only
// a list that is shown on a hidden form: turning redraw back on shows the window, which for
// such a list is as it was.
void TraceList::HoldRedrawWhileHidden() {
  if (!batching_ || redrawHeld_ || IsWindowVisible(hwnd_) || !(GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE))
    return;
  redrawHeld_ = true;
  SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
}

void TraceList::ShowCount() {
  if (shownCount_ == items_.size()) return;
  HoldRedrawWhileHidden();
  shownCount_ = items_.size();
  // Rows already on screen keep their place; only the new ones and the scroll bar change.
  ListView_SetItemCountEx(hwnd_, static_cast<int>(shownCount_), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void TraceList::SetTicked(size_t i, bool ticked) {
  if (i >= ticks_.size() || ticks_[i] == ticked) return;
  ticks_[i] = ticked;
  if (i < shownCount_) ListView_RedrawItems(hwnd_, static_cast<int>(i), static_cast<int>(i));
}

bool TraceList::HandleNotify(const NMHDR* header, LRESULT* result) {
  if (header->hwndFrom != hwnd_ || !hwnd_) return false;
  if (header->code == LVN_ODFINDITEMA) {
    *result = FindByName(*reinterpret_cast<const NMLVFINDITEMA*>(header));
    return true;
  }
  if (header->code == LVN_ODFINDITEMW) {
    // Some versions of the control ask in UTF-16 even though this window speaks ANSI.
    const auto& wide = *reinterpret_cast<const NMLVFINDITEMW*>(header);
    char typed[MAX_PATH] = {};
    if (wide.lvfi.psz && !WideCharToMultiByte(CP_ACP, 0, wide.lvfi.psz, -1, typed, sizeof typed, nullptr, nullptr))
      typed[0] = '\0';
    NMLVFINDITEMA find{};
    find.iStart = wide.iStart;
    find.lvfi.flags = wide.lvfi.flags;
    find.lvfi.psz = wide.lvfi.psz ? typed : nullptr;
    *result = FindByName(find);
    return true;
  }
  if (header->code != LVN_GETDISPINFOA) return false;
  *result = 0;
  auto* info = reinterpret_cast<const NMLVDISPINFOA*>(header);
  LVITEMA& item = const_cast<LVITEMA&>(info->item);
  if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= items_.size()) return true;
  if (item.mask & LVIF_STATE) {
    item.state = (item.state & ~LVIS_STATEIMAGEMASK) | StateImage(ticks_[item.iItem]);
    item.stateMask |= LVIS_STATEIMAGEMASK;
  }
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    const TraceItem& t = items_[item.iItem];
    const std::string* texts[] = {&t.name, &t.location, &t.type, &t.info, &t.size};
    const std::string& text = item.iSubItem >= 0 && item.iSubItem < 5 ? *texts[item.iSubItem] : t.name;
    // Long clipboard texts are shown cut to what the list view can hold.
    size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    size_t zero = text.find('\0');
    if (zero < n) n = zero;
    memcpy(item.pszText, text.data(), n);
    item.pszText[n] = '\0';
  }
  return true;
}

// Type-ahead: the first row from the start row on whose name begins with what was typed
// (or equals it), wrapping round to the top where the list view asks for that.
int TraceList::FindByName(const NMLVFINDITEMA& find) const {
  const LVFINDINFOA& what = find.lvfi;
  if (!(what.flags & (LVFI_STRING | LVFI_PARTIAL)) || !what.psz || shownCount_ == 0) return -1;
  const size_t typed = strlen(what.psz);
  auto matches = [&](size_t row) {
    const std::string& name = items_[row].name;
    if (what.flags & LVFI_PARTIAL)
      return name.size() >= typed &&
             CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.data(), static_cast<int>(typed), what.psz,
                            static_cast<int>(typed)) == CSTR_EQUAL;
    return lstrcmpiA(name.c_str(), what.psz) == 0;
  };
  size_t start = find.iStart >= 0 && static_cast<size_t>(find.iStart) < shownCount_ ? find.iStart : 0;
  for (size_t row = start; row < shownCount_; ++row)
    if (matches(row)) return static_cast<int>(row);
  if (what.flags & LVFI_WRAP)
    for (size_t row = 0; row < start; ++row)
      if (matches(row)) return static_cast<int>(row);
  return -1;
}

}  // namespace zarn
