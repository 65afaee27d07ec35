#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo::test {

// One call the notification recorder of the test environment received.
// Texts are UTF-8 as they travelled over D-Bus.
struct NotificationRecord {
  std::string method;  // "Notify" or "CloseNotification"
  std::string appName;
  int64_t replacesId = 0;
  std::string icon;
  std::string summary;
  std::string body;
  std::optional<int> urgency;  // the "urgency" hint; none when not sent
  int64_t expireTimeout = 0;   // milliseconds, -1 for the server's default
  int64_t id = 0;              // given out by Notify, named by CloseNotification
};

// Reads the JSON-lines file of $ORVO_TEST_NOTIFY_LOG (scripts/testenv.sh).
class NotificationLog {
 public:
  // The file named by $ORVO_TEST_NOTIFY_LOG (an empty path when unset).
  NotificationLog();
  explicit NotificationLog(std::string path);

  const std::string& Path() const { return path_; }

  // Every complete line so far, in call order. A line that is not a JSON
  // object of the recorder's form is skipped (a partly written last line).
  std::vector<NotificationRecord> Read() const;

  // Waits until at least `count` records exist and returns all of them, or
  // what there is when `timeout` runs out (the caller compares the size).
  std::vector<NotificationRecord> WaitForCount(
      size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

  // Waits until some record satisfies `match` and returns the first that
  // does; nothing when `timeout` runs out.
  std::optional<NotificationRecord> WaitFor(
      const std::function<bool(const NotificationRecord&)>& match,
      std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  // The first Notify call with this (UTF-8) summary.
  std::optional<NotificationRecord> WaitForSummary(
      const std::string& summary, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

 private:
  std::string path_;
};

// Parses one line of the recorder; nothing for anything else. Exposed for
// the tests of this reader.
std::optional<NotificationRecord> ParseNotificationLine(const std::string& line);

}  // namespace orvo::test
