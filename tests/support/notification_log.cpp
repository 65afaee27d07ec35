#include "tests/support/notification_log.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <thread>

namespace orvo::test {
namespace {

// The recorder's json.dumps writes flat objects of strings, integers and null.
const std::string kMember =
    R"re("(\w+)"\s*:\s*("(?:[^"\\]|\\["\\/bfnrt]|\\u[0-9a-fA-F]{4})*"|-?[0-9]+|null))re";
const std::regex kObject(R"(\s*\{\s*(?:)" + kMember + R"((?:\s*,\s*)" + kMember +
                         R"()*)?\s*\}\s*)");
const std::regex kPair("[{,]\\s*" + kMember);

std::string Unescape(const std::string& quoted) {
  std::string out;
  for (size_t i = 1; i + 1 < quoted.size() && quoted[0] == '"'; ++i) {
    if (quoted[i] != '\\') {
      out += quoted[i];
    } else if (quoted[++i] != 'u') {
      out += "\"\\/\b\f\n\r\t"[std::string("\"\\/bfnrt").find(quoted[i])];
    } else {  // to UTF-8
      const unsigned c = static_cast<unsigned>(std::stoul(quoted.substr(i + 1, 4), nullptr, 16));
      i += 4;
      if (c >= 0x800) out += static_cast<char>(0xE0 | c >> 12);
      if (c >= 0x80) out += static_cast<char>(c >= 0x800 ? 0x80 | (c >> 6 & 0x3F) : 0xC0 | c >> 6);
      out += static_cast<char>(c >= 0x80 ? 0x80 | (c & 0x3F) : c);
    }
  }
  return out;
}

}  // namespace

std::optional<NotificationRecord> ParseNotificationLine(const std::string& line) {
  if (!std::regex_match(line, kObject)) return std::nullopt;
  std::map<std::string, std::string> v;
  for (std::sregex_iterator m(line.begin(), line.end(), kPair), e; m != e; ++m)
    v[(*m)[1]] = (*m)[2];
  auto number = [&](const char* key) { return std::strtoll(v[key].c_str(), nullptr, 10); };
  NotificationRecord r{Unescape(v["method"]), Unescape(v["app_name"]),  number("replaces_id"),
                       Unescape(v["icon"]),   Unescape(v["summary"]),   Unescape(v["body"]),
                       std::nullopt,          number("expire_timeout"), number("id")};
  if (!v["urgency"].empty() && v["urgency"] != "null")
    r.urgency = static_cast<int>(number("urgency"));
  if (r.method == "Notify" || r.method == "CloseNotification") return r;
  return std::nullopt;
}

std::vector<NotificationRecord> NotificationLog::Read() const {
  std::vector<NotificationRecord> records;
  std::ifstream in(path_, std::ios::binary);
  for (std::string line;
       std::getline(in, line) && !in.eof();) {  // a line without its line feed is not done
    if (auto record = ParseNotificationLine(line)) records.push_back(*record);
  }
  return records;
}

std::optional<NotificationRecord> NotificationLog::WaitFor(const Match& match,
                                                           Timeout timeout) const {
  for (auto end = std::chrono::steady_clock::now() + timeout;;
       std::this_thread::sleep_for(Timeout(10))) {
    for (const NotificationRecord& record : Read()) {
      if (match(record)) return record;
    }
    if (std::chrono::steady_clock::now() > end) return std::nullopt;
  }
}

}  // namespace orvo::test
