#include "app/progress.h"

#include <commctrl.h>

#include "traces/window.h"

namespace zarn {

HWND CreateProgressBar(HWND parent, int id, int x, int y, int width, int height) {
  HWND bar = CreateChild(parent, PROGRESS_CLASSA, "", WS_VISIBLE | PBS_SMOOTH, x, y, width, height, id);
  SendMessageA(bar, PBM_SETRANGE32, 0, 100);
  SendMessageA(bar, PBM_SETSTEP, 1, 0);
  return bar;
}

void SetProgressMax(HWND bar, int max) { SendMessageA(bar, PBM_SETRANGE32, 0, max); }

void SetProgressPosition(HWND bar, int position) {
  SendMessageA(bar, PBM_SETPOS, position, 0);
  UpdateWindow(bar);
}

int ProgressMax(HWND bar) { return static_cast<int>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)); }

int ProgressPosition(HWND bar) { return static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)); }

}  // namespace zarn
