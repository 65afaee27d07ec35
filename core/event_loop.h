#pragma once

#include <functional>

namespace orvo {

// The toolkit's main loop as playback sees it: it waits inside a song while
// every other event of the program keeps being handled.
class EventLoop {
 public:
  using TimerId = unsigned;
  virtual ~EventLoop() = default;
  // Dispatches what is pending; when nothing is, blocks for at most
  // `maxWaitMs` milliseconds waiting for an event, timer or file descriptor.
  virtual void Iterate(int maxWaitMs) = 0;
  // Periodic timer; the callback returns false to remove itself.
  virtual TimerId AddTimer(int periodMs, std::function<bool()> tick) = 0;
  virtual void RemoveTimer(TimerId id) = 0;
};

}  // namespace orvo
