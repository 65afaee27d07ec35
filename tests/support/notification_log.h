#pragma once

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace orvo::test {

// The calls the notification recorder of the test environment logged ($ORVO_TEST_NOTIFY_LOG, a
// JSON object a line), once there are `count` of them or `seconds` have passed.
inline std::vector<std::string> NotificationCalls(size_t count, int seconds = 10) {
  for (int tries = 0;; ++tries, usleep(10000)) {
    std::vector<std::string> calls;
    std::ifstream log(std::getenv("ORVO_TEST_NOTIFY_LOG"));
    for (std::string line; std::getline(log, line) && !log.eof();) calls.push_back(line);
    if (calls.size() >= count || tries >= seconds * 100) return calls;
  }
}

// The value of `key` in a logged call as the recorder wrote it (a string in its quotes), up to
// the next comma: enough for the texts the tests check.
inline std::string Field(const std::string& call, const std::string& key) {
  const size_t start = call.find("\"" + key + "\": ");
  const size_t from = start == std::string::npos ? call.size() : start + key.size() + 4;
  return call.substr(from, call.find_first_of(",}", from) - from);
}

}  // namespace orvo::test
