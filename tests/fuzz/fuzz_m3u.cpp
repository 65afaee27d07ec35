// Arbitrary bytes as an M3U playlist: the entries are the non-empty runs of bytes between line
// ends and NULs, all of them and in order.
#include <cstdlib>

#include "playlist/m3u.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string joined, expected;
  for (const std::string& path : orvo::ParseM3u(text)) {
    if (path.empty() || path.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) std::abort();
    joined += path;
  }
  for (const char c : text) expected += c != '\r' && c != '\n' && c != '\0' ? std::string(1, c) : "";
  if (joined != expected) std::abort();
  return 0;
}
