#pragma once
// The trace list of a category form: a virtual report-style list view with check boxes.
// Texts and ticks live in this object; the list view asks for them when it draws, so
// adding a row costs no window message at all.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "controls/window.h"
#include "traces/trace_item.h"

namespace zarn {

class TraceList : public Window {
 public:
  TraceList() = default;
  // The list view belongs to its parent, which destroys it.
  ~TraceList() override { Detach(); }

  bool Create(HWND parent, int id, int x, int y, int width, int height);

  // Removes every column and adds the five standard ones.
  void SetColumns(const char* firstCaption);
  void Clear();
  // Adds a ticked item and shows it. Between BeginAdding and FinishAdding the list
  // shows the new rows at most every 30 ms instead of after every item, and once more
  // at the end.
  void BeginAdding();
  void Add(TraceItem item);
  void FinishAdding();

  size_t Count() const { return items_.size(); }
  const TraceItem& Item(size_t i) const { return items_[i]; }
  bool IsTicked(size_t i) const { return i < ticks_.size() && ticks_[i]; }
  void SetTicked(size_t i, bool ticked);

  // Answers the list view's requests for item texts, ticks and type-ahead search; true
  // when the notification was ours.
  bool HandleNotify(const NMHDR* header, LRESULT* result);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The user's and other callers' tick changes, which a virtual list view leaves to us.
  bool HandleTickInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  void SetTickedShown(int row, bool ticked);
  void ToggleFocusedAndSelected();
  void ShowCount();
  void HoldRedrawWhileHidden();
  bool ColumnIs(int index, const char* caption, int width) const;
  int FindByName(const NMLVFINDITEMA& find) const;

  std::vector<TraceItem> items_;
  std::vector<bool> ticks_;
  size_t shownCount_ = 0;
  DWORD lastShown_ = 0;
  bool batching_ = false;
  bool redrawHeld_ = false;
  bool swallowSpaceChar_ = false;
};

}  // namespace zarn
