#pragma once
// The trace list of a category form: a report-style list view with check boxes whose
// texts live in this object (the list view asks for them when it draws) and whose ticks
// live in the list view, where the user changes them.
#include <windows.h>

#include <vector>

#include "traces/trace_item.h"

namespace zarn {

class TraceList {
 public:
  bool Create(HWND parent, int id, int x, int y, int width, int height);
  HWND Handle() const { return hwnd_; }

  // Removes every column and adds the five standard ones.
  void SetColumns(const char* firstCaption);
  void Clear();
  // Adds a ticked item and shows it. Between BeginAdding and FinishAdding the list
  // repaints at most every 30 ms instead of after every item, and once more at the end.
  void BeginAdding();
  void Add(TraceItem item);
  void FinishAdding();

  size_t Count() const { return items_.size(); }
  const TraceItem& Item(size_t i) const { return items_[i]; }
  bool IsTicked(size_t i) const;
  void SetTicked(size_t i, bool ticked);

  // Answers the list view's requests for item texts; true when the notification was ours.
  bool HandleNotify(const NMHDR* header, LRESULT* result);

 private:
  void Repaint();

  HWND hwnd_ = nullptr;
  std::vector<TraceItem> items_;
  DWORD lastPaint_ = 0;
  bool batching_ = false;
};

}  // namespace zarn
