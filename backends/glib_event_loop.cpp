#include "backends/glib_event_loop.h"

#include <glib.h>

#include <memory>
#include <utility>

namespace orvo {

namespace {

using Tick = std::function<bool()>;

gboolean OnTimer(gpointer data) {
  return (*static_cast<Tick*>(data))() ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

void DeleteTick(gpointer data) { delete static_cast<Tick*>(data); }

// Only there to end the poll; dispatching it is the whole point.
gboolean OnWake(gpointer) { return G_SOURCE_REMOVE; }

struct SourceDeleter {
  void operator()(GSource* source) const noexcept {
    g_source_destroy(source);
    g_source_unref(source);
  }
};
using SourcePtr = std::unique_ptr<GSource, SourceDeleter>;

}  // namespace

void GlibEventLoop::Iterate(int maxWaitMs) {
  if (maxWaitMs <= 0 || maxWaitMs == kNoTimeout) {
    g_main_context_iteration(nullptr, maxWaitMs > 0);
    return;
  }
  // A bounded blocking iteration: the wake-up source caps the poll timeout.
  // Its low priority keeps it from displacing real work that is ready too.
  SourcePtr wake(g_timeout_source_new(static_cast<guint>(maxWaitMs)));
  g_source_set_priority(wake.get(), G_PRIORITY_LOW);
  g_source_set_callback(wake.get(), OnWake, nullptr, nullptr);
  g_source_attach(wake.get(), nullptr);
  g_main_context_iteration(nullptr, TRUE);
}

void GlibEventLoop::Wake() { g_main_context_wakeup(nullptr); }

EventLoop::TimerId GlibEventLoop::AddTimer(int periodMs, std::function<bool()> tick) {
  // A zero period would make a source that is always ready: a busy loop.
  const guint period = periodMs > 1 ? static_cast<guint>(periodMs) : 1U;
  return g_timeout_add_full(G_PRIORITY_DEFAULT, period, OnTimer, new Tick(std::move(tick)),
                            DeleteTick);
}

void GlibEventLoop::RemoveTimer(TimerId id) {
  if (id == 0) return;
  if (GSource* source = g_main_context_find_source_by_id(nullptr, id)) g_source_destroy(source);
}

}  // namespace orvo
