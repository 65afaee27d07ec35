#include "tests/support/running_program.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <thread>

namespace orvo::test {

namespace {

[[noreturn]] void ExecProgram(char* const* argv, char* const* envp, const char* workingDir,
                              int output) {
  setpgid(0, 0);
  struct sigaction defaultAction {};
  defaultAction.sa_handler = SIG_DFL;
  for (int signalNumber = 1; signalNumber < NSIG; ++signalNumber) {
    sigaction(signalNumber, &defaultAction, nullptr);
  }
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  const int devNull = open("/dev/null", O_RDONLY);
  if (devNull < 0 || dup2(devNull, STDIN_FILENO) < 0 || dup2(output, STDOUT_FILENO) < 0 ||
      dup2(output, STDERR_FILENO) < 0) {
    _exit(127);
  }
  if (workingDir != nullptr && chdir(workingDir) != 0) _exit(127);
  execve(argv[0], argv, envp);
  static const char message[] = "RunningProgram: cannot execute the program\n";
  (void)!write(STDERR_FILENO, message, sizeof message - 1);
  _exit(127);
}

int StatusCode(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Windows vanish while they are walked; Xlib's default handler would end
// the test program on the resulting BadWindow.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

std::string WindowTitle(Display* display, Window window) {
  const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr && type == utf8) {
    title.assign(reinterpret_cast<char*>(data), count);
  } else {
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name != nullptr) {
      title = name;
      XFree(name);
    }
  }
  if (data != nullptr) XFree(data);
  return title;
}

std::optional<long> WindowPid(Display* display, Window window) {
  const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::optional<long> pid;
  if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format,
                         &count, &after, &data) == Success &&
      data != nullptr && format == 32 && count == 1) {
    pid = *reinterpret_cast<long*>(data);
  }
  if (data != nullptr) XFree(data);
  return pid;
}

// Walks the whole tree (a window manager reparents clients into frames).
void CollectWindows(Display* display, Window window, const std::string& title,
                    std::optional<pid_t> pid, std::vector<XWindowId>& found) {
  if (WindowTitle(display, window) == title) {
    if (!pid || WindowPid(display, window) == std::optional<long>(*pid)) found.push_back(window);
  }
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) return;
  for (unsigned i = 0; i < count; ++i) CollectWindows(display, children[i], title, pid, found);
  if (children != nullptr) XFree(children);
}

std::vector<XWindowId> FindWindows(const std::string& title, std::optional<pid_t> pid) {
  std::vector<XWindowId> found;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return found;
  auto previous = XSetErrorHandler(IgnoreXError);
  XGrabServer(display);  // a stable tree while it is walked
  CollectWindows(display, DefaultRootWindow(display), title, pid, found);
  XUngrabServer(display);
  XSync(display, False);
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  return found;
}

// The inherited environment with `changes` ("NAME=value") put in.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& changes) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) merged.emplace_back(*entry);
  for (const std::string& change : changes) {
    const std::string prefix = change.substr(0, change.find('=') + 1);
    bool replaced = false;
    for (std::string& entry : merged) {
      if (entry.compare(0, prefix.size(), prefix) == 0) {
        entry = change;
        replaced = true;
      }
    }
    if (!replaced) merged.push_back(change);
  }
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& text : strings) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

RunningProgram::RunningProgram(const std::string& executable, const std::vector<std::string>& args,
                               const std::string& workingDir,
                               const std::vector<std::string>& environment) {
  // Prepared before fork: the child of a threaded program must not allocate.
  std::vector<std::string> argv{executable};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> argp = Pointers(argv);
  std::vector<std::string> env = MergedEnvironment(environment);
  std::vector<char*> envp = Pointers(env);

  // Appending, so the program's writes and its children's never overwrite
  // each other whatever the shared offset says.
  char name[] = "/tmp/orvo-output-XXXXXX";
  output_.Reset(mkostemp(name, O_CLOEXEC | O_APPEND));
  if (!output_.Valid()) return;
  unlink(name);
  pid_ = fork();
  if (pid_ == 0) {
    ExecProgram(argp.data(), envp.data(), workingDir.empty() ? nullptr : workingDir.c_str(),
                output_.Get());
  }
  // Set it here too, so that the group exists before the first kill.
  if (pid_ > 0) setpgid(pid_, pid_);
}

RunningProgram::~RunningProgram() { Stop(milliseconds(3000)); }

std::string RunningProgram::Output() const {
  std::string text;
  char buffer[4096];
  ssize_t n = 0;
  while ((n = pread(output_.Get(), buffer, sizeof buffer, static_cast<off_t>(text.size()))) > 0) {
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

std::vector<std::string> RunningProgram::Lines() const {
  std::vector<std::string> lines;
  std::istringstream in(Output());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool RunningProgram::WaitForLine(const std::string& line, milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const bool ended = pid_ <= 0 || Reap(false).has_value();
    if (("\n" + Output() + (ended ? "\n" : "")).find("\n" + line + "\n") != std::string::npos) {
      return true;
    }
    // The program's end does not end its output: a process it started (a
    // restart after a skin change) keeps writing into the same file.
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(milliseconds(10));
  }
}

std::optional<int> RunningProgram::Reap(bool block) {
  if (status_ || pid_ <= 0) return status_;
  int status = 0;
  pid_t result;
  do {
    result = waitpid(pid_, &status, block ? 0 : WNOHANG);
  } while (result < 0 && errno == EINTR);
  if (result == pid_) status_ = StatusCode(status);
  return status_;
}

std::optional<int> RunningProgram::WaitForExit(milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!Reap(false) && pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(5));
  }
  return status_;
}

std::optional<int> RunningProgram::Stop(milliseconds grace) {
  if (pid_ <= 0) return status_;
  if (!status_) {
    // The group is signalled while the program is not yet reaped, so its id
    // cannot have been given to an unrelated process.
    kill(-pid_, SIGTERM);
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + grace;
    siginfo_t info{};
    while (std::chrono::steady_clock::now() < deadline) {
      info.si_pid = 0;
      if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
          info.si_pid == pid_) {
        break;
      }
      std::this_thread::sleep_for(milliseconds(5));
    }
    kill(-pid_, SIGKILL);
    kill(pid_, SIGKILL);
    Reap(true);
  } else {
    kill(-pid_, SIGKILL);  // children it left in its group
  }
  return status_;
}

std::vector<XWindowId> RunningProgram::Windows(const std::string& title) const {
  if (pid_ <= 0) return {};
  return FindWindows(title, pid_);
}

XWindowId RunningProgram::FindWindow(const std::string& title, milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::vector<XWindowId> windows = Windows(title);
    if (!windows.empty()) return windows.front();
    if (std::chrono::steady_clock::now() >= deadline) return 0;
    std::this_thread::sleep_for(milliseconds(20));
  }
}

std::vector<XWindowId> WindowsTitled(const std::string& title) {
  return FindWindows(title, std::nullopt);
}

std::vector<XWindowId> WindowsOfProcess(pid_t pid, const std::string& title) {
  return FindWindows(title, pid);
}

bool SendDeleteWindow(XWindowId window) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  auto previous = XSetErrorHandler(IgnoreXError);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  return sent != 0;
}

std::vector<pid_t> ChildrenOf(pid_t parent) {
  std::vector<pid_t> children;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return children;
  while (const dirent* entry = readdir(proc)) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != '\0') continue;
    std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name in parentheses may hold blanks and parentheses.
    const size_t close = text.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(text.substr(close + 1));
    std::string state;
    long parentPid = 0;
    if (fields >> state >> parentPid && parentPid == parent) {
      children.push_back(static_cast<pid_t>(pid));
    }
  }
  closedir(proc);
  return children;
}

}  // namespace orvo::test
