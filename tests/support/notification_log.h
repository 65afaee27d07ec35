#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo::test {

// One call the notification recorder of the test environment received, with
// its texts in UTF-8 as they travelled over D-Bus.
struct NotificationRecord {
  std::string method;  // "Notify" or "CloseNotification"
  std::string appName;
  int64_t replacesId = 0;
  std::string icon, summary, body;
  std::optional<int> urgency;  // none without the hint
  int64_t expireTimeout = 0;
  int64_t id = 0;  // given out by Notify, named by CloseNotification
};

// The recorder's log ($ORVO_TEST_NOTIFY_LOG, a JSON object per line); each
// Wait gives up after `timeout`.
class NotificationLog {
 public:
  using Timeout = std::chrono::milliseconds;
  NotificationLog();
  explicit NotificationLog(std::string path) : path_(std::move(path)) {}
  std::vector<NotificationRecord> Read() const;
  std::optional<NotificationRecord> WaitFor(const std::function<bool(const NotificationRecord&)>& match,
                                            Timeout timeout = Timeout(10000)) const;
  // All records once there are `count`, else what there is.
  std::vector<NotificationRecord> WaitForCount(size_t count, Timeout timeout = Timeout(10000)) const {
    WaitFor([&](const NotificationRecord&) { return Read().size() >= count; }, timeout);
    return Read();
  }
  std::optional<NotificationRecord> WaitForSummary(const std::string& summary,
                                                   Timeout timeout = Timeout(10000)) const {
    return WaitFor([&](const NotificationRecord& r) { return r.method == "Notify" && r.summary == summary; },
                   timeout);
  }

 private:
  std::string path_;
};

// Nothing for a line that is not a whole object of the recorder's form.
std::optional<NotificationRecord> ParseNotificationLine(const std::string& line);

}  // namespace orvo::test
