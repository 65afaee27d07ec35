#include "tests/support/process_info.h"

#include <X11/Xlib.h>
#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "tests/support/scratch_dir.h"

namespace orvo::test {
namespace {

std::string ResolvedPath(const std::string& path) {
  std::unique_ptr<char, decltype(&free)> resolved(realpath(path.c_str(), nullptr), &free);
  return resolved ? std::string(resolved.get()) : std::string();
}

std::string LinkTarget(const std::string& link) {
  char buffer[PATH_MAX];
  const ssize_t length = readlink(link.c_str(), buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

uint32_t BigEndian32(const std::string& bytes, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
}

}  // namespace

std::vector<pid_t> ProcessesRunning(const std::string& executable) {
  std::vector<pid_t> found;
  const std::string wanted = ResolvedPath(executable);
  if (wanted.empty()) return found;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return found;
  while (const dirent* entry = readdir(proc)) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != '\0') continue;
    if (LinkTarget(std::string("/proc/") + entry->d_name + "/exe") == wanted &&
        ProcessAlive(static_cast<pid_t>(pid))) {
      found.push_back(static_cast<pid_t>(pid));
    }
  }
  closedir(proc);
  return found;
}

std::vector<std::string> CommandLineOf(pid_t pid) {
  const std::string bytes = ReadWhole("/proc/" + std::to_string(pid) + "/cmdline");
  std::vector<std::string> args;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find('\0', start);
    if (end == std::string::npos) {
      args.push_back(bytes.substr(start));
      break;
    }
    args.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return args;
}

std::string WorkingFolderOf(pid_t pid) {
  return LinkTarget("/proc/" + std::to_string(pid) + "/cwd");
}

bool ProcessAlive(pid_t pid) {
  const std::string stat = ReadWhole("/proc/" + std::to_string(pid) + "/stat");
  // The command name in parentheses may hold blanks and parentheses.
  const size_t close = stat.rfind(')');
  if (close == std::string::npos || close + 2 >= stat.size()) return false;
  const char state = stat[close + 2];
  return state != 'Z' && state != 'X';
}

std::optional<WindowSize> SizeOfWindow(unsigned long window) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return std::nullopt;
  auto previous = XSetErrorHandler(IgnoreXError);
  XWindowAttributes attributes{};
  const Status status = XGetWindowAttributes(display, window, &attributes);
  XSync(display, False);
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  if (status == 0) return std::nullopt;
  return WindowSize{attributes.width, attributes.height};
}

std::optional<WindowSize> PngImageSize(const std::string& path) {
  const std::string bytes = ReadWhole(path);
  // Signature (8 bytes), then the IHDR chunk: length, type, width, height.
  static const char signature[] = "\x89PNG\r\n\x1a\n";
  if (bytes.size() < 24 || bytes.compare(0, 8, signature, 8) != 0 ||
      bytes.compare(12, 4, "IHDR") != 0) {
    return std::nullopt;
  }
  return WindowSize{static_cast<int>(BigEndian32(bytes, 16)),
                    static_cast<int>(BigEndian32(bytes, 20))};
}

}  // namespace orvo::test
