#include "core/program_paths.h"

#include <unistd.h>

#include <vector>

namespace orvo {

ProgramPaths ProgramPaths::FromProgramPath(const std::string& path) {
  ProgramPaths paths;
  paths.programPath = path;
  const auto slash = path.rfind('/');
  paths.programDirectory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return paths;
}

std::string ResolveProgramFile(const std::string& name, const std::string& programDirectory) {
  if (name.empty() || name.find('/') != std::string::npos) return name;
  return programDirectory + name;
}

ProgramPaths ProgramPaths::FromRunningProgram() {
  // readlink does not terminate its result and truncates silently, so grow
  // the buffer until the whole target fits.
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return FromProgramPath(std::string());
    if (static_cast<size_t>(n) < buffer.size()) {
      return FromProgramPath(std::string(buffer.data(), static_cast<size_t>(n)));
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace orvo
