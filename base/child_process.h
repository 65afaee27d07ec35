#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "base/unique_fd.h"

namespace orvo {

// A program started with its standard output on a pipe, for chaining tools
// like a shell pipeline. The child gets default signal handling and an empty
// signal mask whatever the caller set, its standard error goes to /dev/null.
// The object ends (SIGKILL) and reaps the child when destroyed, so no child
// outlives it and none is left a zombie.
class ChildProcess {
 public:
  // Starts argv[0], found on PATH, with `input` as its standard input (the
  // caller keeps its own copy; -1 means /dev/null). Returns nothing when the
  // pipe or the process cannot be made; a program that is not found exits
  // with status 127 and writes nothing.
  static std::optional<ChildProcess> Start(const std::vector<std::string>& argv, int input);

  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  // Read end of the child's standard output.
  int Output() const { return output_.Get(); }
  // Hands the read end over, e.g. as the next program's standard input.
  UniqueFd TakeOutput() { return std::move(output_); }

  // Kills the child if it still runs and reaps it. Safe to call twice.
  void End() noexcept;

 private:
  ChildProcess(pid_t pid, UniqueFd output) : pid_(pid), output_(std::move(output)) {}

  pid_t pid_ = -1;
  UniqueFd output_;
};

}  // namespace orvo
