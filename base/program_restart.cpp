#include "base/program_restart.h"

#include <unistd.h>

#include <cstdio>

namespace orvo {
namespace {

// Runs in the forked child. The parent has other threads (the sound
// engine's), so only async-signal-safe calls are allowed here: no memory is
// allocated after the fork.
[[noreturn]] void BecomeProgram(const char* programPath, char* const* argv,
                                const char* workingFolder) {
  if (workingFolder[0] != '\0' && chdir(workingFolder) != 0) _exit(127);
  // The new program must not inherit this one's X connection, sound server
  // sockets or open files.
  if (close_range(3, ~0U, 0) != 0) {
    for (int fd = 3; fd < 65536; ++fd) close(fd);
  }
  execv(programPath, argv);
  _exit(127);
}

}  // namespace

bool RestartProcess(const std::string& programPath, const std::vector<std::string>& arguments,
                    const std::string& workingFolder) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(programPath.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  // Diagnostics still buffered would be lost by _exit (and by exec).
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) BecomeProgram(programPath.c_str(), argv.data(), workingFolder.c_str());
  _exit(0);
}

}  // namespace orvo
