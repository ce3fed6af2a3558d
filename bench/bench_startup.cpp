#include "bench/bench_startup.h"

#include <commctrl.h>
#include <psapi.h>

#include "app/utama.h"
#include "bench/bench_clock.h"

namespace zarn::bench {
namespace {

struct Search {
  DWORD pid;
  HWND main = nullptr;
  long listed = 0;
};

BOOL CALLBACK CountRows(HWND child, LPARAM lp) {
  char cls[64] = "";
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, WC_LISTVIEWA) == 0) {
    DWORD_PTR count = 0;
    if (SendMessageTimeoutA(child, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 60000, &count))
      reinterpret_cast<Search*>(lp)->listed += static_cast<long>(count);
  }
  return TRUE;
}

BOOL CALLBACK Visit(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->pid) return TRUE;
  char title[128] = "";
  GetWindowTextA(hwnd, title, sizeof title);
  if (lstrcmpA(title, "ZARN CLEANER") == 0 && IsWindowVisible(hwnd)) s->main = hwnd;
  return TRUE;
}

BOOL CALLBACK VisitForms(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char title[128] = "";
  GetWindowTextA(hwnd, title, sizeof title);
  // Only the category forms' trace lists; the wizard's own lists are not traces.
  if (pid == s->pid && std::string(title).rfind("Zarn Cleaner - ", 0) == 0) EnumChildWindows(hwnd, CountRows, lp);
  return TRUE;
}

struct Control {
  int id;
  HWND hwnd = nullptr;
};

BOOL CALLBACK FindControlById(HWND child, LPARAM lp) {
  auto* c = reinterpret_cast<Control*>(lp);
  if (GetDlgCtrlID(child) != c->id) return TRUE;
  c->hwnd = child;
  return FALSE;
}

HWND ControlOf(HWND main, int id) {
  Control c{id};
  EnumChildWindows(main, FindControlById, reinterpret_cast<LPARAM>(&c));
  return c.hwnd;
}

// Presses "Next >" with every offered category ticked, as start-up leaves them, and waits
// for the scan page's "Scan Complete".
bool ScanEverything(HWND main, HANDLE process, double start, DWORD timeoutMs) {
  HWND next = ControlOf(main, TMainForm::kNextbtn), title = ControlOf(main, TMainForm::kLabel7);
  if (!next || !title) return false;
  PostMessageA(next, BM_CLICK, 0, 0);
  while (Now() - start < timeoutMs) {
    char text[64] = "";
    GetWindowTextA(title, text, sizeof text);
    if (lstrcmpA(text, "Scan Complete") == 0) return true;
    if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0) return false;
  }
  return false;
}

}  // namespace

Launch LaunchOnce(const std::string& exe, DWORD timeoutMs) {
  Launch result;
  std::string command = "\"" + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const double start = Now();
  if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return result;
  Search search{pi.dwProcessId};
  while (!search.main && Now() - start < timeoutMs) {
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (!search.main) {
      if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
    }
  }
  if (search.main) result.ms = Now() - start;
  if (search.main && ScanEverything(search.main, pi.hProcess, start, timeoutMs)) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters))
      result.peakWorkingSet = counters.PeakWorkingSetSize;
    EnumWindows(VisitForms, reinterpret_cast<LPARAM>(&search));
    result.listed = search.listed;
    result.ok = true;
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return result;
}

}  // namespace zarn::bench
