// The trace list's check boxes. A virtual list view keeps no ticks of its own, and what
// it does with a click on a check box differs between versions of the control, so the
// list takes the clicks, the space bar and LVM_SETITEMSTATE's tick part itself before
// the control sees them.
#include "traces/trace_list.h"

namespace zarn {

LRESULT TraceList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleTickInput(message, wParam, lParam, &result)) return result;
  return DefaultProc(message, wParam, lParam);
}

bool TraceList::HandleTickInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      LVHITTESTINFO hit{};
      hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      int row = ListView_SubItemHitTest(hwnd_, &hit);
      if (row < 0 || hit.iSubItem != 0 || !(hit.flags & LVHT_ONITEMSTATEICON) ||
          static_cast<size_t>(row) >= shownCount_)
        return false;
      SetFocus(hwnd_);
      ListView_SetItemState(hwnd_, row, LVIS_FOCUSED, LVIS_FOCUSED);
      SetTickedShown(row, !ticks_[row]);
      *result = 0;
      return true;
    }
    case WM_KEYDOWN:
      if (wParam != VK_SPACE || (GetKeyState(VK_CONTROL) & 0x8000)) return false;
      ToggleFocusedAndSelected();
      swallowSpaceChar_ = true;
      *result = 0;
      return true;
    case WM_CHAR:
      // The space that ticked a row is not also a type-ahead search.
      if (wParam != L' ' || !swallowSpaceChar_) return false;
      swallowSpaceChar_ = false;
      *result = 0;
      return true;
    case LVM_SETITEMSTATE: {
      auto* change = reinterpret_cast<LVITEMA*>(lParam);
      if (!change || !(change->stateMask & LVIS_STATEIMAGEMASK)) return false;
      int image = (change->state & LVIS_STATEIMAGEMASK) >> 12;
      if (image == 1 || image == 2) {
        int row = static_cast<int>(wParam);
        if (row == -1) {
          ticks_.assign(ticks_.size(), image == 2);
          InvalidateRect(hwnd_, nullptr, FALSE);
        } else if (row >= 0 && static_cast<size_t>(row) < shownCount_) {
          SetTickedShown(row, image == 2);
        } else {
          *result = FALSE;
          return true;
        }
      }
      // Selection and focus, if asked for as well, stay the control's.
      UINT rest = change->stateMask & ~LVIS_STATEIMAGEMASK;
      *result = TRUE;
      if (rest) {
        LVITEMA other = *change;
        other.stateMask = rest;
        *result = DefaultProc(message, wParam, reinterpret_cast<LPARAM>(&other));
      }
      return true;
    }
    default: return false;
  }
}

void TraceList::SetTickedShown(int row, bool ticked) {
  SetTicked(static_cast<size_t>(row), ticked);
  UpdateWindow(hwnd_);
}

// The space bar gives the focused row the opposite tick and every selected row the same.
void TraceList::ToggleFocusedAndSelected() {
  int focused = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
  if (focused < 0 || static_cast<size_t>(focused) >= shownCount_) return;
  bool ticked = !ticks_[focused];
  SetTicked(focused, ticked);
  for (int row = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(hwnd_, row, LVNI_SELECTED)) {
    SetTicked(static_cast<size_t>(row), ticked);
  }
  UpdateWindow(hwnd_);
}

}  // namespace zarn
