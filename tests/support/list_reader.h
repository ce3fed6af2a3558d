#pragma once
// Reads what a list view shows, through the list view's own messages.
#include <windows.h>

#include <string>
#include <vector>

#include "traces/text_list.h"

namespace zarn::test {

// One row as the list shows it. The named cells are the trace list's columns: "File Name",
// "File Location", "File Type", "File Info", "File Size".
struct ShownRow {
  bool ticked = false;
  std::vector<std::string> cells;
  const std::string& operator[](size_t i) const { return cells.at(i); }
  const std::string& Name() const { return cells.at(0); }
  const std::string& Location() const { return cells.at(1); }
  const std::string& Type() const { return cells.at(2); }
  const std::string& Info() const { return cells.at(3); }
  const std::string& Size() const { return cells.at(4); }
};

std::vector<ShownRow> ReadList(HWND list);
std::vector<std::string> ColumnCaptions(HWND list);
// Unticks (or ticks) row `row` the way the user's click on its check box does.
void SetTick(HWND list, int row, bool ticked);
// The row whose first cell is `name`, or -1.
int FindRow(HWND list, const std::string& name);
// The texts of a program's string list, in order, without their leading blanks.
std::vector<std::string> Texts(const TextList& list);

}  // namespace zarn::test
