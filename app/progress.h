#pragma once
// The wizard's progress bars.
#include <windows.h>

namespace zarn {

HWND CreateProgressBar(HWND parent, int id, int x, int y, int width, int height);
void SetProgressMax(HWND bar, int max);
void SetProgressPosition(HWND bar, int position);
int ProgressMax(HWND bar);
int ProgressPosition(HWND bar);

}  // namespace zarn
