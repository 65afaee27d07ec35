#include "ui/windows/nested_loop.h"

#include <glib.h>

namespace orvo {

NestedLoop::NestedLoop() : loop_(g_main_loop_new(nullptr, FALSE)) {}

NestedLoop::~NestedLoop() { g_main_loop_unref(loop_); }

void NestedLoop::Run() {
  // g_main_loop_run forgets a quit that came before it started.
  if (quitRequested_) return;
  g_main_loop_run(loop_);
}

void NestedLoop::Quit() {
  quitRequested_ = true;
  g_main_loop_quit(loop_);
}

}  // namespace orvo
