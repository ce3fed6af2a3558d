#include <windows.h>

#include "app/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (!zarn::StartApplication()) return 1;
  int code = zarn::RunMessageLoop();
  // Every window lives until the process ends; the process ends here.
  ExitProcess(static_cast<UINT>(code));
}
