#pragma once
// Keeps the one window thread looking at its messages during a long scan or clean. The loops
// that may run for long call Pulse() once per file, name or item; at most every
// kPulseIntervalMs it calls the handler the wizard installed for the run, which handles the
// pending messages and says whether the work should go on. With no handler installed (the
// tests, the benchmark) Pulse() costs one clock read and always goes on.
#include <windows.h>

namespace zarn {

// Half the longest stretch the window may spend without looking at its messages, so that
// one slow item after a pulse still stays within that stretch.
inline constexpr DWORD kPulseIntervalMs = 50;

// Returns false when the running work should stop (the program is ending).
using PulseHandler = bool (*)(void* context);

// Installs a handler for the lifetime of the object; the work stops at the next Pulse()
// once the handler has said so, and stays stopped until the object goes.
class PulseScope {
 public:
  PulseScope(PulseHandler handler, void* context);
  ~PulseScope();
  PulseScope(const PulseScope&) = delete;
  PulseScope& operator=(const PulseScope&) = delete;

 private:
  PulseHandler previous_;
  void* previousContext_;
};

// True while the work should go on. Call it between two items, never inside one: whatever
// the handler does (a message, a click) then meets no half-done item.
bool Pulse();

// True once a handler has asked the running work to stop.
bool PulseStopped();

// Runs one step that the program cannot split, such as a single platform call that may take
// seconds (the URL cache's first enumeration reads its whole index). With a handler
// installed the step runs on a thread of its own while this thread keeps pulsing; the
// step touches no window and no state of this thread, and this returns only once it has
// finished, whatever the handler said meanwhile. Without a handler it runs right here.
void RunWhilePulsing(void (*step)());

}  // namespace zarn
