#include "app/wizard_lists.h"

#include <commctrl.h>

#include <vector>

#include "controls/child_windows.h"
#include "controls/form.h"

namespace zarn {

HWND CreateWizardList(HWND parent, int id, int x, int y, int width, int height, bool checkBoxes, HIMAGELIST images,
                      const ListColumn* columns, int columnCount) {
  // Two lists share the form's image list: without LVS_SHAREIMAGELISTS each would destroy
  // it with itself, and the form once more.
  HWND list = CreateChild(
      parent, WC_LISTVIEWA, "",
      WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | (images ? LVS_SHAREIMAGELISTS : 0), x,
      y, width, height, id, WS_EX_CLIENTEDGE);
  DWORD ex = LVS_EX_FULLROWSELECT | (checkBoxes ? LVS_EX_CHECKBOXES : 0);
  ListView_SetExtendedListViewStyle(list, ex);
  if (images) ListView_SetImageList(list, images, LVSIL_SMALL);
  for (int i = 0; i < columnCount; ++i) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    col.fmt = columns[i].format;
    col.cx = columns[i].width;
    col.pszText = const_cast<char*>(columns[i].caption);
    col.iSubItem = i;
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
  }
  if (DpiLayout* layout = Form::LayoutOf(parent)) {
    if (checkBoxes) layout->CheckBoxes(list);
    std::vector<int> widths;
    for (int i = 0; i < columnCount; ++i) widths.push_back(columns[i].width);
    layout->Columns(list, std::move(widths));
  }
  return list;
}

int AddRow(HWND list, const std::string& caption, bool ticked) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = RowCount(list);
  item.iImage = I_IMAGENONE;
  item.pszText = const_cast<char*>(caption.c_str());
  int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (row >= 0 && ticked) ListView_SetCheckState(list, row, TRUE);
  return row;
}

void SetCell(HWND list, int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

std::string Cell(HWND list, int row, int column) {
  char buffer[512] = "";
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return buffer;
}

void SetRowImage(HWND list, int row, int image) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = image;
  SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int RowImage(HWND list, int row) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage;
}

int RowCount(HWND list) { return ListView_GetItemCount(list); }

bool RowTicked(HWND list, int row) { return ListView_GetCheckState(list, row) != 0; }

}  // namespace zarn
