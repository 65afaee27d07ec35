// Arbitrary bytes as an M3U playlist: the entries are all the non-empty runs of bytes between line
// ends and NULs, in order.
#include <algorithm>

#include "playlist/m3u.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size), joined;
  for (const std::string& path : orvo::ParseM3u(text)) {
    if (path.empty() || path.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) __builtin_trap();
    joined += path;
  }
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }), text.end());
  if (joined != text) __builtin_trap();
  return 0;
}
