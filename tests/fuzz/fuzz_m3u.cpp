// Arbitrary bytes as an M3U playlist: the entries are all the non-empty runs of bytes between line
// ends and NULs, in order.
#include "playlist/m3u.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string joined, expected;
  for (const std::string& path : orvo::ParseM3u(std::string_view(reinterpret_cast<const char*>(data), size))) {
    if (path.empty() || path.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) __builtin_trap();
    joined += path;
  }
  for (size_t i = 0; i < size; ++i) expected += data[i] == '\r' || data[i] == '\n' || data[i] == 0 ? "" : std::string(1, char(data[i]));
  if (joined != expected) __builtin_trap();
  return 0;
}
