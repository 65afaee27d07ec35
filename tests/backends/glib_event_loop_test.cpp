#include <glib.h>
#include <gtest/gtest.h>

#include <thread>

#include "backends/glib_event_loop.h"

namespace orvo {
namespace {

// Enough turns for any timer below to fire when Iterate blocks as it should;
// a loop that returned at once would need thousands.
constexpr int kTurns = 20;

TEST(GlibEventLoop, Iterate_SleepsUntilTimerIsDue) {
  GlibEventLoop loop;
  int fired = 0;
  loop.AddTimer(30, [&] {
    ++fired;
    return false;
  });
  int turns = 0;
  while (fired == 0 && turns < kTurns) {
    loop.Iterate(1000);
    ++turns;
  }
  EXPECT_EQ(fired, 1);
  EXPECT_LE(turns, 3);
}

TEST(GlibEventLoop, Timers_FalseOrRemoveEndThem) {
  GlibEventLoop loop;
  int ticks = 0;
  loop.AddTimer(1, [&] { return ++ticks < 3; });
  int removedTicks = 0;
  const EventLoop::TimerId removed = loop.AddTimer(5, [&] {
    ++removedTicks;
    return true;
  });
  loop.RemoveTimer(removed);
  int witness = 0;
  loop.AddTimer(8, [&] { return ++witness < 6; });
  for (int i = 0; i < 10 * kTurns && witness < 6; ++i) loop.Iterate(50);

  EXPECT_EQ(witness, 6);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(removedTicks, 0);
  loop.RemoveTimer(removed);  // already gone: ignored without a GLib critical
  loop.RemoveTimer(0);
}

TEST(GlibEventLoop, NestedIterate_RunsOtherTimersButNotTheRunningOne) {
  GlibEventLoop loop;
  int depth = 0;
  int deepest = 0;
  int inner = 0;
  loop.AddTimer(1, [&] {
    ++depth;
    deepest = std::max(deepest, depth);
    // A handler that runs its own loop, as a dialog or a playing song does.
    for (int i = 0; i < kTurns && inner < 3; ++i) loop.Iterate(50);
    --depth;
    return false;
  });
  loop.AddTimer(2, [&] { return ++inner < 3; });
  for (int i = 0; i < kTurns && inner < 3; ++i) loop.Iterate(50);
  EXPECT_EQ(inner, 3);
  EXPECT_EQ(deepest, 1);
}

// A wait without limit ends when another thread wakes the loop (the player's
// wait for a song's end), not when the watchdog timer far later fires.
TEST(GlibEventLoop, Wake_FromAnotherThreadEndsUnlimitedWait) {
  GlibEventLoop loop;
  bool watchdog = false;
  const EventLoop::TimerId timer = loop.AddTimer(10000, [&] { return !(watchdog = true); });
  std::thread waker([&loop] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    loop.Wake();
  });
  loop.Iterate(EventLoop::kNoTimeout);
  waker.join();
  EXPECT_FALSE(watchdog);
  loop.RemoveTimer(timer);
}

}  // namespace
}  // namespace orvo

int main(int argc, char** argv) {
  // A GLib critical (say, removing an unknown source) fails the test run.
  g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
