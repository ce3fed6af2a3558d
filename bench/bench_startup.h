#pragma once
// Start-up of the real program: from process start to its main window shown; then its
// wizard's scan of every offered category, for the memory the listed traces take.
#include <windows.h>

#include <string>

namespace zarn::bench {

struct Launch {
  bool ok = false;
  double ms = 0;              // CreateProcess to the visible "ZARN CLEANER" window
  SIZE_T peakWorkingSet = 0;  // of the program once its wizard has scanned every category
  long listed = 0;            // rows of the category forms' trace lists then
};

// Starts the program, waits up to `timeoutMs` for its main window and again for its scan,
// measures, ends it.
Launch LaunchOnce(const std::string& exe, DWORD timeoutMs = 180000);

}  // namespace zarn::bench
