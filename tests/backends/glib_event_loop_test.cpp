#include "backends/glib_event_loop.h"

#include <glib.h>
#include <gtest/gtest.h>

namespace orvo {
namespace {

// Iterate sleeps until a timer is due (twenty turns do, where a loop that
// returned at once would need thousands); timers end when they answer false
// or are removed (twice is harmless: a GLib critical would end the run); and
// a handler running its own loop lets the others tick but not itself.
TEST(GlibEventLoop, Timers_FireWhileIteratingEndAndNest) {
  g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING));
  GlibEventLoop loop;
  int ticks = 0, removed = 0, inner = 0, depth = 0, deepest = 0;
  loop.AddTimer(0, [&] { return ++ticks < 3; });
  const EventLoop::TimerId gone = loop.AddTimer(5, [&] { return ++removed > 0; });
  loop.RemoveTimer(gone);
  loop.AddTimer(30, [&] {
    deepest = std::max(deepest, ++depth);
    for (int turn = 0; turn < 20 && inner < 3; ++turn) loop.Iterate(1000);
    return --depth < 0;
  });
  loop.AddTimer(40, [&] { return ++inner < 3; });
  for (int turn = 0; turn < 20 && (inner < 3 || ticks < 3); ++turn) loop.Iterate(1000);
  loop.RemoveTimer(gone);
  EXPECT_EQ(std::vector<int>({ticks, removed, inner, deepest}), std::vector<int>({3, 0, 3, 1}));
}

}  // namespace
}  // namespace orvo
