#include "tests/support/list_reader.h"

#include <commctrl.h>

namespace zarn::test {

std::vector<std::string> ColumnCaptions(HWND list) {
  std::vector<std::string> captions;
  for (int i = 0;; ++i) {
    char text[256] = "";
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT;
    col.pszText = text;
    col.cchTextMax = sizeof text;
    if (!SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&col))) break;
    captions.push_back(text);
  }
  return captions;
}

std::vector<ShownRow> ReadList(HWND list) {
  std::vector<ShownRow> rows;
  size_t columns = ColumnCaptions(list).size();
  int count = ListView_GetItemCount(list);
  std::vector<char> text(70000);
  for (int r = 0; r < count; ++r) {
    ShownRow row;
    row.ticked = ListView_GetCheckState(list, r) != 0;
    for (size_t c = 0; c < columns; ++c) {
      text[0] = '\0';
      LVITEMA item{};
      item.iSubItem = static_cast<int>(c);
      item.pszText = text.data();
      item.cchTextMax = static_cast<int>(text.size());
      SendMessageA(list, LVM_GETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
      row.cells.push_back(text.data());
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void SetTick(HWND list, int row, bool ticked) { ListView_SetCheckState(list, row, ticked ? TRUE : FALSE); }

int FindRow(HWND list, const std::string& name) {
  auto rows = ReadList(list);
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].Name() == name) return static_cast<int>(i);
  return -1;
}

std::vector<std::string> Texts(const TextList& list) {
  std::vector<std::string> texts;
  for (size_t i = 0; i < list.Count(); ++i) texts.emplace_back(list.Text(i));
  return texts;
}

}  // namespace zarn::test
