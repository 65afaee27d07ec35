// Arbitrary bytes as an INI file: the normalised write-back parses to the same lines (after a byte
// order mark, its line break is a blank line), and every name reads through IniFile.
#include <sys/mman.h>
#include <unistd.h>

#include "base/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = "\xEF\xBB\xBF" + std::string(reinterpret_cast<const char*>(data), size);
  const auto lines = orvo::ParseIni(std::string_view(text).substr(3));
  static const int fd = memfd_create("fuzz_ini", 0);
  orvo::IniFile ini;
  if (orvo::ParseIni(orvo::FormatIni(lines, false)) != lines || orvo::ParseIni(orvo::FormatIni(lines, true).substr(3)) != lines ||
      ftruncate(fd, 0) != 0 || pwrite(fd, text.data(), text.size(), 0) != ssize_t(text.size()) ||
      !ini.open("/proc/self/fd/" + std::to_string(fd))) {
    __builtin_trap();
  }
  for (const auto& line : lines) {
    if (line.kind == orvo::IniLine::Kind::Group) ini.selectGroup(line.name);
    (void)ini.readString(line.name, "");
    (void)ini.readInteger(line.name, 0);
  }
  if (!ini.close()) __builtin_trap();
  return 0;
}
