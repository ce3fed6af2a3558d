#include "traces/pulse.h"

#include <atomic>

namespace zarn {
namespace {

PulseHandler g_handler = nullptr;
void* g_context = nullptr;
DWORD g_owner = 0;  // the thread whose messages the handler handles
DWORD g_last = 0;
// Also read by a step that RunWhilePulsing runs on a thread of its own.
std::atomic<bool> g_stopped{false};
// The handler dispatches messages; none of them may start a pulse of its own inside it.
bool g_inHandler = false;

DWORD WINAPI RunStep(void* step) {
  reinterpret_cast<void (*)()>(step)();
  return 0;
}

}  // namespace

PulseScope::PulseScope(PulseHandler handler, void* context) : previous_(g_handler), previousContext_(g_context) {
  g_handler = handler;
  g_context = context;
  g_owner = GetCurrentThreadId();
  g_last = GetTickCount();
  g_stopped = false;
}

PulseScope::~PulseScope() {
  g_handler = previous_;
  g_context = previousContext_;
  g_stopped = false;
}

bool Pulse() {
  if (g_stopped) return false;
  if (!g_handler || g_inHandler || GetCurrentThreadId() != g_owner) return true;
  const DWORD now = GetTickCount();
  if (now - g_last < kPulseIntervalMs) return true;
  g_inHandler = true;
  const bool goOn = g_handler(g_context);
  g_inHandler = false;
  g_last = GetTickCount();
  if (!goOn) g_stopped = true;
  return goOn;
}

bool PulseStopped() { return g_stopped; }

void RunWhilePulsing(void (*step)()) {
  HANDLE thread = g_handler && !g_inHandler
                      ? CreateThread(nullptr, 0, RunStep, reinterpret_cast<void*>(step), 0, nullptr)
                      : nullptr;
  if (!thread) {
    step();
    return;
  }
  // Waiting wakes for the thread's end and at least once a pulse interval; every wake
  // handles what the window has to do. The step is not abandoned when the program ends.
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, kPulseIntervalMs, QS_ALLINPUT) != WAIT_OBJECT_0) {
    g_inHandler = true;
    if (!g_handler(g_context)) g_stopped = true;
    g_inHandler = false;
    g_last = GetTickCount();
  }
  CloseHandle(thread);
}

}  // namespace zarn
