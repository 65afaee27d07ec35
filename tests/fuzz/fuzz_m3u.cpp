// Parses arbitrary bytes as an M3U playlist: every entry is a non-empty run
// of bytes free of line ends and NUL, and together the entries hold exactly
// the input without those separators.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "playlist/m3u.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string joined;
  for (const std::string& path : orvo::ParseM3u(text)) {
    if (path.empty() || path.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) std::abort();
    joined += path;
  }
  std::string expected;
  for (const char c : text) {
    if (c != '\r' && c != '\n' && c != '\0') expected += c;
  }
  if (joined != expected) std::abort();
  return 0;
}
