#include "tests/support/notification_log.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <thread>
#include <utility>

namespace orvo::test {

namespace {

// The recorder writes each call as one flat JSON object (Python's json.dumps
// without ensure_ascii): values are strings, integers or null, and strings
// escape only quotes, backslashes and control characters.
class FlatObject {
 public:
  explicit FlatObject(const std::string& text) : text_(text) {}

  // False unless the whole text is such an object.
  bool Parse() {
    if (!Take('{')) return false;
    if (Take('}')) return AtEnd();
    do {
      std::optional<std::string> key = String();
      if (!key || !Take(':') || !Value(*key)) return false;
    } while (Take(','));
    return Take('}') && AtEnd();
  }

  std::map<std::string, std::string> texts;
  std::map<std::string, int64_t> numbers;

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && std::strchr(" \t\r\n", text_[pos_]) != nullptr) ++pos_;
  }
  bool Take(char c) {
    SkipBlanks();
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ == text_.size();
  }

  bool Value(const std::string& key) {
    SkipBlanks();
    if (text_.compare(pos_, 4, "null") == 0) {
      pos_ += 4;
      return true;
    }
    if (pos_ < text_.size() && text_[pos_] == '"') {
      std::optional<std::string> text = String();
      if (text) texts[key] = *text;
      return text.has_value();
    }
    int64_t number = 0;
    const auto [end, error] = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), number);
    if (error != std::errc()) return false;
    pos_ = static_cast<size_t>(end - text_.data());
    numbers[key] = number;
    return true;
  }

  std::optional<std::string> String() {
    if (!Take('"')) return std::nullopt;
    static const std::string kEscaped = "\"\\/bfnrt";
    static const std::string kMeant = "\"\\/\b\f\n\r\t";
    std::string out;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
      } else if (pos_ < text_.size() && kEscaped.find(text_[pos_]) != std::string::npos) {
        out += kMeant[kEscaped.find(text_[pos_++])];
      } else if (pos_ + 5 <= text_.size() && text_[pos_] == 'u') {
        unsigned code = 0;
        const char* digits = text_.data() + pos_ + 1;
        if (std::from_chars(digits, digits + 4, code, 16).ptr != digits + 4) return std::nullopt;
        pos_ += 5;
        if (code < 0x80) {
          out += static_cast<char>(code);
        } else if (code < 0x800) {
          out += static_cast<char>(0xC0 | (code >> 6));
          out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
          out += static_cast<char>(0xE0 | (code >> 12));
          out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
          out += static_cast<char>(0x80 | (code & 0x3F));
        }
      } else {
        return std::nullopt;
      }
    }
    return std::nullopt;
  }

  const std::string& text_;
  size_t pos_ = 0;
};

template <typename Done>
void PollUntil(Done done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

std::optional<NotificationRecord> ParseNotificationLine(const std::string& line) {
  FlatObject object(line);
  if (!object.Parse()) return std::nullopt;
  auto text = [&](const char* key) { return object.texts[key]; };
  auto number = [&](const char* key) { return object.numbers[key]; };
  NotificationRecord record;
  record.method = text("method");
  if (record.method != "Notify" && record.method != "CloseNotification") return std::nullopt;
  record.appName = text("app_name");
  record.replacesId = number("replaces_id");
  record.icon = text("icon");
  record.summary = text("summary");
  record.body = text("body");
  if (object.numbers.count("urgency") != 0) record.urgency = static_cast<int>(number("urgency"));
  record.expireTimeout = number("expire_timeout");
  record.id = number("id");
  return record;
}

NotificationLog::NotificationLog() {
  const char* path = std::getenv("ORVO_TEST_NOTIFY_LOG");
  path_ = path != nullptr ? path : "";
}

NotificationLog::NotificationLog(std::string path) : path_(std::move(path)) {}

std::vector<NotificationRecord> NotificationLog::Read() const {
  std::vector<NotificationRecord> records;
  std::ifstream in(path_, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    // The recorder writes a line and its line feed together; a line that has
    // none yet is still being written and is left for the next read.
    if (in.eof()) break;
    if (std::optional<NotificationRecord> record = ParseNotificationLine(line)) {
      records.push_back(std::move(*record));
    }
  }
  return records;
}

std::vector<NotificationRecord> NotificationLog::WaitForCount(
    size_t count, std::chrono::milliseconds timeout) const {
  std::vector<NotificationRecord> records;
  PollUntil([&] { return (records = Read()).size() >= count; }, timeout);
  return records;
}

std::optional<NotificationRecord> NotificationLog::WaitFor(
    const std::function<bool(const NotificationRecord&)>& match,
    std::chrono::milliseconds timeout) const {
  std::optional<NotificationRecord> found;
  PollUntil([&] {
    for (NotificationRecord& record : Read()) {
      if (match(record)) return (found = std::move(record)).has_value();
    }
    return false;
  }, timeout);
  return found;
}

std::optional<NotificationRecord> NotificationLog::WaitForSummary(
    const std::string& summary, std::chrono::milliseconds timeout) const {
  return WaitFor(
      [&](const NotificationRecord& r) { return r.method == "Notify" && r.summary == summary; },
      timeout);
}

}  // namespace orvo::test
