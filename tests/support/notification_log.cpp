#include "tests/support/notification_log.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <thread>
#include <utility>
#include <variant>

namespace orvo::test {

namespace {

// The recorder writes flat objects whose values are strings, integers or
// null; this reader handles exactly that subset of JSON.
struct Null {};
using Value = std::variant<Null, std::string, int64_t>;

class FlatObjectParser {
 public:
  explicit FlatObjectParser(const std::string& text) : text_(text) {}

  std::optional<std::map<std::string, Value>> Parse() {
    std::map<std::string, Value> object;
    if (!Consume('{')) return std::nullopt;
    if (Consume('}')) return AtEnd() ? std::optional(object) : std::nullopt;
    do {
      std::optional<std::string> key = String();
      if (!key || !Consume(':')) return std::nullopt;
      std::optional<Value> value = ParseValue();
      if (!value) return std::nullopt;
      object[*key] = std::move(*value);
    } while (Consume(','));
    if (!Consume('}') || !AtEnd()) return std::nullopt;
    return object;
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n')) {
      ++pos_;
    }
  }
  bool Consume(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ == text_.size();
  }

  std::optional<Value> ParseValue() {
    SkipBlanks();
    if (pos_ >= text_.size()) return std::nullopt;
    if (text_[pos_] == '"') {
      std::optional<std::string> s = String();
      if (!s) return std::nullopt;
      return Value(std::move(*s));
    }
    if (text_.compare(pos_, 4, "null") == 0) {
      pos_ += 4;
      return Value(Null{});
    }
    const size_t start = pos_;
    if (text_[pos_] == '-') ++pos_;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
    if (pos_ == start || (pos_ == start + 1 && text_[start] == '-')) return std::nullopt;
    return Value(static_cast<int64_t>(std::strtoll(text_.c_str() + start, nullptr, 10)));
  }

  std::optional<unsigned> Hex4() {
    if (text_.size() - pos_ < 4) return std::nullopt;
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      value <<= 4;
      if (c >= '0' && c <= '9') value |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f') value |= static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') value |= static_cast<unsigned>(c - 'A' + 10);
      else return std::nullopt;
    }
    return value;
  }

  static void AppendUtf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }

  std::optional<std::string> String() {
    if (!Consume('"')) return std::nullopt;
    std::string out;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (pos_ >= text_.size()) return std::nullopt;
      const char escape = text_[pos_++];
      switch (escape) {
        case '"': case '\\': case '/': out.push_back(escape); break;
        case 'b': out.push_back('\b'); break;
        case 'f': out.push_back('\f'); break;
        case 'n': out.push_back('\n'); break;
        case 'r': out.push_back('\r'); break;
        case 't': out.push_back('\t'); break;
        case 'u': {
          std::optional<unsigned> unit = Hex4();
          if (!unit) return std::nullopt;
          unsigned long cp = *unit;
          if (cp >= 0xD800 && cp <= 0xDBFF && text_.compare(pos_, 2, "\\u") == 0) {
            pos_ += 2;
            std::optional<unsigned> low = Hex4();
            if (!low || *low < 0xDC00 || *low > 0xDFFF) return std::nullopt;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (*low - 0xDC00);
          }
          AppendUtf8(out, cp);
          break;
        }
        default: return std::nullopt;
      }
    }
    return std::nullopt;
  }

  const std::string& text_;
  size_t pos_ = 0;
};

std::string TextOf(const std::map<std::string, Value>& object, const char* key) {
  auto it = object.find(key);
  if (it == object.end()) return {};
  const std::string* text = std::get_if<std::string>(&it->second);
  return text != nullptr ? *text : std::string();
}

int64_t NumberOf(const std::map<std::string, Value>& object, const char* key) {
  auto it = object.find(key);
  if (it == object.end()) return 0;
  const int64_t* number = std::get_if<int64_t>(&it->second);
  return number != nullptr ? *number : 0;
}

}  // namespace

std::optional<NotificationRecord> ParseNotificationLine(const std::string& line) {
  std::optional<std::map<std::string, Value>> object = FlatObjectParser(line).Parse();
  if (!object) return std::nullopt;
  NotificationRecord record;
  record.method = TextOf(*object, "method");
  if (record.method != "Notify" && record.method != "CloseNotification") return std::nullopt;
  record.appName = TextOf(*object, "app_name");
  record.replacesId = NumberOf(*object, "replaces_id");
  record.icon = TextOf(*object, "icon");
  record.summary = TextOf(*object, "summary");
  record.body = TextOf(*object, "body");
  auto urgency = object->find("urgency");
  if (urgency != object->end()) {
    if (const int64_t* level = std::get_if<int64_t>(&urgency->second)) {
      record.urgency = static_cast<int>(*level);
    }
  }
  record.expireTimeout = NumberOf(*object, "expire_timeout");
  record.id = NumberOf(*object, "id");
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
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::vector<NotificationRecord> records = Read();
    if (records.size() >= count || std::chrono::steady_clock::now() >= deadline) return records;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::optional<NotificationRecord> NotificationLog::WaitFor(
    const std::function<bool(const NotificationRecord&)>& match,
    std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    for (NotificationRecord& record : Read()) {
      if (match(record)) return std::move(record);
    }
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::optional<NotificationRecord> NotificationLog::WaitForSummary(
    const std::string& summary, std::chrono::milliseconds timeout) const {
  return WaitFor(
      [&](const NotificationRecord& r) { return r.method == "Notify" && r.summary == summary; },
      timeout);
}

}  // namespace orvo::test
