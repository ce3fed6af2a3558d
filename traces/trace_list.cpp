#include "traces/trace_list.h"

#include <commctrl.h>

#include "traces/window.h"

namespace zarn {

bool TraceList::Create(HWND parent, int id, int x, int y, int width, int height) {
  hwnd_ = CreateChild(parent, WC_LISTVIEWA, "",
                      WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, x, y, width,
                      height, id, WS_EX_CLIENTEDGE);
  if (!hwnd_) return false;
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  return true;
}

void TraceList::SetColumns(const char* firstCaption) {
  while (ListView_DeleteColumn(hwnd_, 0)) {
  }
  struct Column {
    const char* caption;
    int width;
  };
  const Column columns[] = {{firstCaption, 150}, {"File Location", 250}, {"File Type", 80},
                            {"File Info", 200}, {"File Size", 80}};
  int index = 0;
  for (const Column& c : columns) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<char*>(c.caption);
    col.cx = c.width;
    col.iSubItem = index;
    SendMessageA(hwnd_, LVM_INSERTCOLUMNA, index++, reinterpret_cast<LPARAM>(&col));
  }
}

void TraceList::Clear() {
  ListView_DeleteAllItems(hwnd_);
  items_.clear();
}

void TraceList::Add(TraceItem item) {
  items_.push_back(std::move(item));
  LVITEMA lv{};
  lv.mask = LVIF_TEXT;
  lv.iItem = static_cast<int>(items_.size() - 1);
  lv.pszText = LPSTR_TEXTCALLBACKA;
  int at = static_cast<int>(SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lv)));
  if (at < 0) {
    items_.pop_back();
    return;
  }
  for (lv.iSubItem = 1; lv.iSubItem < 5; ++lv.iSubItem)
    SendMessageA(hwnd_, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&lv));
  ListView_SetCheckState(hwnd_, at, TRUE);
  if (!batching_) {
    UpdateWindow(hwnd_);
    return;
  }
  DWORD now = GetTickCount();
  if (now - lastPaint_ >= 30) {
    lastPaint_ = now;
    Repaint();
    SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  }
}

// A list view that redraws itself after every insertion spends far more time painting
// than adding: under Wine a 10,000-item scan took minutes instead of a tenth of a second.
void TraceList::BeginAdding() {
  batching_ = true;
  lastPaint_ = GetTickCount();
  SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
}

void TraceList::FinishAdding() {
  batching_ = false;
  Repaint();
}

void TraceList::Repaint() {
  SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool TraceList::IsTicked(size_t i) const {
  return ListView_GetCheckState(hwnd_, static_cast<int>(i)) != 0;
}

void TraceList::SetTicked(size_t i, bool ticked) {
  ListView_SetCheckState(hwnd_, static_cast<int>(i), ticked ? TRUE : FALSE);
}

bool TraceList::HandleNotify(const NMHDR* header, LRESULT* result) {
  if (header->hwndFrom != hwnd_) return false;
  if (header->code == LVN_DELETEALLITEMS) {
    *result = TRUE;  // no notification per deleted row
    return true;
  }
  if (header->code != LVN_GETDISPINFOA) return false;
  auto* info = reinterpret_cast<const NMLVDISPINFOA*>(header);
  const LVITEMA& item = info->item;
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 && item.iItem >= 0 &&
      static_cast<size_t>(item.iItem) < items_.size()) {
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
  *result = 0;
  return true;
}

}  // namespace zarn
