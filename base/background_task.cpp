#include "base/background_task.h"

#include <utility>

namespace orvo {

BackgroundTask::~BackgroundTask() { Wait(); }

void BackgroundTask::Start(std::function<void()> work) {
  Wait();
  thread_ = std::thread(std::move(work));
}

void BackgroundTask::Wait() const {
  if (thread_.joinable()) thread_.join();
}

}  // namespace orvo
