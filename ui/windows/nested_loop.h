#pragma once

typedef struct _GMainLoop GMainLoop;

namespace orvo {

// An event loop run inside a handler, as the secondary windows do while
// they are open. It sleeps in the toolkit's poll until the next event, timer
// or file descriptor of the whole program is ready, so the player, its
// timers and playback keep running without the loop ever spinning.
class NestedLoop {
 public:
  NestedLoop();
  NestedLoop(const NestedLoop&) = delete;
  NestedLoop& operator=(const NestedLoop&) = delete;
  ~NestedLoop();

  // Dispatches events until Quit(); returns at once when Quit() came first.
  void Run();
  // Ends Run() after the handler that calls it has returned. Safe to call
  // from any handler, also from one running in a deeper nested loop.
  void Quit();

 private:
  GMainLoop* loop_;
  bool quitRequested_ = false;
};

}  // namespace orvo
