#pragma once

#include <functional>
#include <limits>

namespace orvo {

// The toolkit's main loop as playback sees it: it waits inside a song while
// every other event of the program keeps being handled.
class EventLoop {
 public:
  using TimerId = unsigned;
  // Iterate's wait without a time limit: until an event, a timer or Wake().
  static constexpr int kNoTimeout = std::numeric_limits<int>::max();

  virtual ~EventLoop() = default;
  // Dispatches what is pending; when nothing is, blocks for at most
  // `maxWaitMs` milliseconds (kNoTimeout: as long as it takes) waiting for
  // an event, timer, file descriptor or Wake().
  virtual void Iterate(int maxWaitMs) = 0;
  // Ends the current or next wait of Iterate early. Any thread may call it.
  virtual void Wake() = 0;
  // Periodic timer; the callback returns false to remove itself.
  virtual TimerId AddTimer(int periodMs, std::function<bool()> tick) = 0;
  virtual void RemoveTimer(TimerId id) = 0;
};

}  // namespace orvo
