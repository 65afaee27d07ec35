#pragma once

#include "core/event_loop.h"

namespace orvo {

// The event loop of the GLib default main context, which the toolkit's main
// loop and every nested dialog loop run on.
class GlibEventLoop : public EventLoop {
 public:
  // Dispatches one batch of ready sources; when none is ready, sleeps in the
  // context's poll until one is or `maxWaitMs` have passed (0 or less: never
  // sleeps; kNoTimeout: no limit).
  void Iterate(int maxWaitMs) override;
  // g_main_context_wakeup, which is safe from any thread.
  void Wake() override;
  // A g_timeout_add timer on the default context.
  TimerId AddTimer(int periodMs, std::function<bool()> tick) override;
  // Removes an active timer; an id that is already gone is ignored.
  void RemoveTimer(TimerId id) override;
};

}  // namespace orvo
