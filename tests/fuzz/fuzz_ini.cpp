// Arbitrary bytes as an INI file: the normalised write-back parses to the same lines, also after a
// byte order mark, whose line break is a blank line.
#include "base/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto lines = orvo::ParseIni(std::string_view(reinterpret_cast<const char*>(data), size));
  if (orvo::ParseIni(orvo::FormatIni(lines, false)) != lines || orvo::ParseIni(orvo::FormatIni(lines, true).substr(3)) != lines) {
    __builtin_trap();
  }
  return 0;
}
