// The pulse that keeps the window thread looking at its messages during a long run.
#include <gtest/gtest.h>

#include <atomic>

#include "traces/pulse.h"

using namespace zarn;

namespace {

struct Calls {
  int count = 0;
  DWORD thread = 0;
  bool goOn = true;
};

bool Count(void* context) {
  auto* calls = static_cast<Calls*>(context);
  ++calls->count;
  calls->thread = GetCurrentThreadId();
  return calls->goOn;
}

// Waits until the pulse's own clock has moved on by `ms`: a plain Sleep is not enough where the
// tick count lags behind (Wine's, on a busy machine, by tens of milliseconds).
void WaitTicks(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) Sleep(5);
}

std::atomic<DWORD> g_stepThread{0};
std::atomic<bool> g_stepPulseWentOn{false};

void SlowStep() {
  g_stepThread = GetCurrentThreadId();
  Sleep(4 * kPulseIntervalMs);
  // A pulse on the step's own thread never calls the window thread's handler.
  g_stepPulseWentOn = Pulse();
}

TEST(PulseTest, WithoutAHandlerEverythingRunsHereAndGoesOn) {
  EXPECT_TRUE(Pulse());
  RunWhilePulsing(SlowStep);
  EXPECT_EQ(g_stepThread, GetCurrentThreadId());
  EXPECT_FALSE(PulseStopped());
}

TEST(PulseTest, TheHandlerRunsOnThisThreadOnceAnIntervalHasPassedAndCanStopTheWork) {
  Calls calls;
  {
    PulseScope scope(Count, &calls);
    WaitTicks(kPulseIntervalMs + 20);
    EXPECT_TRUE(Pulse());
    EXPECT_EQ(calls.count, 1);
    EXPECT_EQ(calls.thread, GetCurrentThreadId());
    calls.goOn = false;
    WaitTicks(kPulseIntervalMs + 20);
    EXPECT_FALSE(Pulse());
    EXPECT_TRUE(PulseStopped());
    // Stopped stays stopped, without asking again.
    EXPECT_FALSE(Pulse());
    EXPECT_EQ(calls.count, 2);
  }
  EXPECT_FALSE(PulseStopped());
  EXPECT_TRUE(Pulse());
}

TEST(PulseTest, AStepThatCannotBeSplitRunsApartWhileThisThreadKeepsPulsing) {
  Calls calls;
  PulseScope scope(Count, &calls);
  g_stepPulseWentOn = false;
  RunWhilePulsing(SlowStep);
  EXPECT_NE(g_stepThread, GetCurrentThreadId());
  EXPECT_TRUE(g_stepPulseWentOn);
  EXPECT_GE(calls.count, 1);
  EXPECT_EQ(calls.thread, GetCurrentThreadId());
}

}  // namespace
