#include "traces/pulse.h"

namespace zarn {
namespace {

PulseHandler g_handler = nullptr;
void* g_context = nullptr;
DWORD g_last = 0;
bool g_stopped = false;
// The handler dispatches messages; none of them may start a pulse of its own inside it.
bool g_inHandler = false;

}  // namespace

PulseScope::PulseScope(PulseHandler handler, void* context) : previous_(g_handler), previousContext_(g_context) {
  g_handler = handler;
  g_context = context;
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
  if (!g_handler || g_inHandler) return true;
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

}  // namespace zarn
