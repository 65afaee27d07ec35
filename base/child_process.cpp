#include "base/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace orvo {

namespace {

// Runs in the forked child before exec: only async-signal-safe calls.
[[noreturn]] void ExecChild(char* const* argv, int input, int output, int devNull) {
  struct sigaction defaultAction {};
  defaultAction.sa_handler = SIG_DFL;
  // Ignored signals stay ignored across exec; a tool that ignores SIGPIPE
  // would not stop when its reader has gone.
  for (int signalNumber = 1; signalNumber < NSIG; ++signalNumber) {
    sigaction(signalNumber, &defaultAction, nullptr);
  }
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);

  if (dup2(input >= 0 ? input : devNull, STDIN_FILENO) < 0 ||
      dup2(output, STDOUT_FILENO) < 0 || dup2(devNull, STDERR_FILENO) < 0) {
    _exit(127);
  }
  execvp(argv[0], argv);
  _exit(127);
}

}  // namespace

std::optional<ChildProcess> ChildProcess::Start(const std::vector<std::string>& argv, int input) {
  if (argv.empty()) return std::nullopt;
  // Everything the child needs is prepared before fork: the child of a
  // multi-threaded program must not allocate.
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  UniqueFd devNull(open("/dev/null", O_RDWR | O_CLOEXEC));
  if (!devNull.Valid()) return std::nullopt;
  // Close-on-exec keeps these ends out of other children; dup2 clears the
  // flag on the copies the child uses.
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
  UniqueFd readEnd(ends[0]);
  UniqueFd writeEnd(ends[1]);

  const pid_t pid = fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) ExecChild(args.data(), input, writeEnd.Get(), devNull.Get());
  return ChildProcess(pid, std::move(readEnd));
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), output_(std::move(other.output_)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    End();
    pid_ = std::exchange(other.pid_, -1);
    output_ = std::move(other.output_);
  }
  return *this;
}

ChildProcess::~ChildProcess() { End(); }

void ChildProcess::End() noexcept {
  output_.Reset();
  if (pid_ <= 0) return;
  // Until it is reaped the PID still names this child (a zombie at worst),
  // so the kill cannot reach an unrelated process.
  kill(pid_, SIGKILL);
  while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
}

}  // namespace orvo
