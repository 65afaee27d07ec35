// Arbitrary bytes as an INI file: the normalised write-back parses to the same lines, and every
// key reads through IniFile, UTF-8 conversion included.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

#include "base/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto lines = orvo::ParseIni(text);
  // After the byte order mark, the written line break is a blank line.
  if (orvo::ParseIni(orvo::FormatIni(lines, false)) != lines ||
      orvo::ParseIni(orvo::FormatIni(lines, true).substr(3)) != lines) {
    std::abort();
  }
  static const int fd = memfd_create("fuzz_ini", 0);
  const std::string file = "\xEF\xBB\xBF" + std::string(text);
  if (ftruncate(fd, 0) != 0 || pwrite(fd, file.data(), file.size(), 0) != ssize_t(file.size())) std::abort();
  orvo::IniFile ini;
  if (!ini.open("/proc/self/fd/" + std::to_string(fd))) std::abort();
  for (const auto& line : lines) {
    if (line.kind == orvo::IniLine::Kind::Group) ini.selectGroup(line.name);
    (void)ini.readString(line.name, "");
    (void)ini.readInteger(line.name, 0);
  }
  if (!ini.close()) std::abort();
  return 0;
}
