#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "base/unique_fd.h"

namespace orvo::test {

using std::chrono::milliseconds;

// An X window id (Xlib's Window); 0 means none.
using XWindowId = unsigned long;

// A program a test starts and ends. Its standard output and standard error
// go together into an unnamed temporary file (standard input is /dev/null),
// so the program never blocks on a full pipe. It runs in a process group of
// its own; the destructor ends the whole group (SIGTERM, SIGKILL after a
// grace time) and reaps the program.
class RunningProgram {
 public:
  // Starts `executable` with `args` (argv[0] is the executable path) in
  // `workingDir` (the current folder when empty). `environment` holds
  // "NAME=value" entries that replace or add to the inherited environment
  // (GTK_MODULES=gail:atk-bridge, say). A program that cannot be executed
  // exits with 127.
  RunningProgram(const std::string& executable, const std::vector<std::string>& args,
                 const std::string& workingDir = "",
                 const std::vector<std::string>& environment = {});
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  pid_t Pid() const { return pid_; }

  // Everything captured so far.
  std::string Output() const;
  // The captured output split at line feeds (a last unterminated line is
  // included).
  std::vector<std::string> Lines() const;
  // Waits until a whole line equal to `line` has been printed (a last
  // unterminated line counts once the program ended).
  bool WaitForLine(const std::string& line, milliseconds timeout = milliseconds(10000));

  // Waits for the program to end and reaps it. Returns its exit code, or
  // 128 + the signal number when a signal ended it; nothing on timeout.
  std::optional<int> WaitForExit(milliseconds timeout = milliseconds(10000));
  // SIGTERM to the process group, SIGKILL after `grace`; returns the status
  // as WaitForExit does. Safe to call after the program ended.
  std::optional<int> Stop(milliseconds grace = milliseconds(5000));

  // The top-level X windows (on $DISPLAY) whose _NET_WM_PID is this
  // program and whose title (_NET_WM_NAME, else WM_NAME) is `title`.
  std::vector<XWindowId> Windows(const std::string& title) const;
  // Waits for the first such window; 0 when none appeared in time.
  XWindowId FindWindow(const std::string& title = "Orvo M ",
                       milliseconds timeout = milliseconds(10000)) const;

 private:
  std::optional<int> Reap(bool block);

  pid_t pid_ = -1;
  std::optional<int> status_;
  UniqueFd output_;
};

// Asks `window` to close the way a window manager does: a WM_PROTOCOLS
// ClientMessage with WM_DELETE_WINDOW (unlike destroying the window).
// False when $DISPLAY cannot be opened.
bool SendDeleteWindow(XWindowId window);

// Top-level windows on $DISPLAY titled `title`, of any process.
std::vector<XWindowId> WindowsTitled(const std::string& title);
// Top-level windows on $DISPLAY titled `title` whose _NET_WM_PID is `pid`
// (a process the test did not start itself).
std::vector<XWindowId> WindowsOfProcess(pid_t pid, const std::string& title);

// The PIDs of the live and zombie children of `parent`, from /proc.
std::vector<pid_t> ChildrenOf(pid_t parent);

}  // namespace orvo::test
