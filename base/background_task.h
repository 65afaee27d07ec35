#pragma once

#include <functional>
#include <thread>

namespace orvo {

// A piece of start-up work run on a thread of its own, so that it overlaps
// what the GUI thread does meanwhile. Whoever needs the work's effects calls
// Wait() first: it returns once the work has finished, at once when none is
// running, and its return makes everything the work wrote visible to the
// caller. Start and Wait belong to one owning thread (the GUI thread); the
// work itself must not touch the toolkit, which only the GUI thread may use.
class BackgroundTask {
 public:
  BackgroundTask() = default;
  // Waits, so that the work never outlives the objects it uses.
  ~BackgroundTask();
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;

  // Waits for any earlier work, then starts `work`.
  void Start(std::function<void()> work);
  void Wait() const;

 private:
  mutable std::thread thread_;
};

}  // namespace orvo
