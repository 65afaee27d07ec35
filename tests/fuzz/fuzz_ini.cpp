// Parses arbitrary bytes as an INI file and checks that the normalised
// write-back parses to the same lines, then reads every key through IniFile
// so that the UTF-8 conversion sees the same bytes.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/ini_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// One memory-backed file for all runs, reached through its /proc path.
struct ScratchFile {
  int fd = memfd_create("fuzz_ini", 0);
  std::string path = "/proc/self/fd/" + std::to_string(fd);
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto lines = orvo::ParseIni(text);
  for (const bool utf8 : {false, true}) {
    const std::string formatted = orvo::FormatIni(lines, utf8);
    std::string_view body = formatted;
    if (utf8) body.remove_prefix(3);  // the byte order mark; the LF after it is a blank line
    Check(orvo::ParseIni(body) == lines);
  }

  static const ScratchFile scratch;
  Check(scratch.fd >= 0 && ftruncate(scratch.fd, 0) == 0);
  const std::string file = "\xEF\xBB\xBF" + std::string(text);
  Check(pwrite(scratch.fd, file.data(), file.size(), 0) == static_cast<ssize_t>(file.size()));
  orvo::IniFile ini;
  Check(ini.open(scratch.path));
  for (const auto& line : lines) {
    if (line.kind == orvo::IniLine::Kind::Group) {
      ini.selectGroup(line.name);
    } else {
      (void)ini.readString(line.name, "");
      (void)ini.readInteger(line.name, 0);
    }
  }
  Check(ini.close());
  return 0;
}
