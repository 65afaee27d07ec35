#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace orvo::test {

// What /proc tells about processes the test did not start itself (a
// program that restarted itself, say).

// Live processes whose executable is the file `executable` (compared by
// resolved path, so a symbolic link to it counts as the file).
std::vector<pid_t> ProcessesRunning(const std::string& executable);
// The argument vector of a process, argv[0] included; empty when it is gone.
std::vector<std::string> CommandLineOf(pid_t pid);
// The working folder of a process; empty when it is gone.
std::string WorkingFolderOf(pid_t pid);
// True while the process exists and has not ended (a zombie has ended).
bool ProcessAlive(pid_t pid);

// The size of an X window in pixels; nothing when it is gone or $DISPLAY
// cannot be opened.
struct WindowSize {
  int width = 0;
  int height = 0;
  bool operator==(const WindowSize& other) const {
    return width == other.width && height == other.height;
  }
};
std::optional<WindowSize> SizeOfWindow(unsigned long window);
// The width and height from a PNG file's header; nothing for anything else.
std::optional<WindowSize> PngImageSize(const std::string& path);

}  // namespace orvo::test
