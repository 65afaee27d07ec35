#include "base/program_restart.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

namespace orvo {
namespace {

// Tells the parent why the child could not become the program, then ends
// the child.
[[noreturn]] void ReportFailure(int report) {
  const int error = errno;
  ssize_t written;
  do {
    written = write(report, &error, sizeof error);
  } while (written < 0 && errno == EINTR);
  _exit(127);
}

// Runs in the forked child. The parent has other threads (the sound
// engine's), so only async-signal-safe calls are allowed here: no memory is
// allocated after the fork. `report` closes itself when the exec succeeds.
[[noreturn]] void BecomeProgram(const char* programPath, char* const* argv,
                                const char* workingFolder, int report) {
  if (workingFolder[0] != '\0' && chdir(workingFolder) != 0) ReportFailure(report);
  // The new program must not inherit this one's X connection, sound server
  // sockets or open files; only the report pipe stays until the exec.
  const unsigned kept = static_cast<unsigned>(report);
  bool closed = close_range(kept + 1, ~0U, 0) == 0;
  if (kept > 3) closed = close_range(3, kept - 1, 0) == 0 && closed;
  if (!closed) {
    for (int fd = 3; fd < 65536; ++fd) {
      if (fd != report) close(fd);
    }
  }
  execv(programPath, argv);
  ReportFailure(report);
}

}  // namespace

int RestartProcess(const std::string& programPath, const std::vector<std::string>& arguments,
                   const std::string& workingFolder) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(programPath.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  // The child writes its errno into this pipe when it cannot become the
  // program; a successful exec closes the pipe (close-on-exec), so the end
  // of file says the new program runs.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return errno;
  // Diagnostics still buffered would be lost by _exit (and by exec).
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    const int error = errno;
    close(report[0]);
    close(report[1]);
    return error;
  }
  if (child == 0) BecomeProgram(programPath.c_str(), argv.data(), workingFolder.c_str(), report[1]);
  close(report[1]);
  int error = 0;
  ssize_t got;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  if (got == 0) _exit(0);
  // The child has given up; it must not stay behind as a zombie.
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  return got == static_cast<ssize_t>(sizeof error) && error != 0 ? error : EIO;
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  char folder[PATH_MAX];
  if (getcwd(folder, sizeof folder) == nullptr) return path;
  std::string relative = path;
  while (relative.compare(0, 2, "./") == 0) relative.erase(0, relative.find_first_not_of('/', 1));
  const std::string base = folder;
  return base == "/" ? base + relative : base + "/" + relative;
}

}  // namespace orvo
