#pragma once
// Small helpers for the wizard's list views (report style, one row per category).
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace zarn {

struct ListColumn {
  const char* caption;
  int width;
  int format;  // LVCFMT_LEFT or LVCFMT_CENTER
};

HWND CreateWizardList(HWND parent, int id, int x, int y, int width, int height, bool checkBoxes, HIMAGELIST images,
                      const ListColumn* columns, int columnCount);
int AddRow(HWND list, const std::string& caption, bool ticked);
void SetCell(HWND list, int row, int column, const std::string& text);
std::string Cell(HWND list, int row, int column);
// I_IMAGENONE shows no image. (-1 is I_IMAGECALLBACK: a list view that gets no answer
// may draw image 0.)
void SetRowImage(HWND list, int row, int image);
int RowImage(HWND list, int row);
int RowCount(HWND list);
bool RowTicked(HWND list, int row);

}  // namespace zarn
