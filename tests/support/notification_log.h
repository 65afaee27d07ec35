#pragma once

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo::test {

// One call the notification recorder of the test environment received.
struct NotificationRecord {
  std::string method, appName;  // "Notify" or "CloseNotification"; texts in UTF-8
  int64_t replacesId = 0;
  std::string icon, summary, body;
  std::optional<int> urgency;
  int64_t expireTimeout = 0, id = 0;
};

// The recorder's log, $ORVO_TEST_NOTIFY_LOG: a JSON object per call.
class NotificationLog {
 public:
  using Match = std::function<bool(const NotificationRecord&)>;
  using Timeout = std::chrono::milliseconds;
  NotificationLog()
      : path_(std::getenv("ORVO_TEST_NOTIFY_LOG") ? std::getenv("ORVO_TEST_NOTIFY_LOG") : "") {}
  explicit NotificationLog(std::string path) : path_(std::move(path)) {}
  std::vector<NotificationRecord> Read() const;
  std::optional<NotificationRecord> WaitFor(const Match& match,
                                            Timeout timeout = Timeout(10000)) const;
  std::vector<NotificationRecord> WaitForCount(size_t count,
                                               Timeout timeout = Timeout(10000)) const {
    WaitFor([&](const NotificationRecord&) { return Read().size() >= count; }, timeout);
    return Read();
  }
  std::optional<NotificationRecord> WaitForSummary(const std::string& summary,
                                                   Timeout timeout = Timeout(10000)) const {
    return WaitFor(
        [&](const NotificationRecord& r) { return r.method == "Notify" && r.summary == summary; },
        timeout);
  }

 private:
  std::string path_;
};

std::optional<NotificationRecord> ParseNotificationLine(const std::string& line);

}  // namespace orvo::test
