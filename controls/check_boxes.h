#pragma once
// Check box pictures for a list view at any DPI. A list view with LVS_EX_CHECKBOXES draws its
// own once, at the size of the DPI the program started at; a window that moves to a screen
// of another scale needs them again at that screen's size.
#include <windows.h>

namespace zarn {

// Gives `list` (a list view with check boxes) unticked and ticked pictures 13 pixels square
// at 96 DPI, drawn at `dpi` by the system's own check box drawing. The list view owns them;
// the pictures they replace are destroyed. Ticks stay as they are.
void SetCheckBoxImages(HWND list, UINT dpi);

}  // namespace zarn
