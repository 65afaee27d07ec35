#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace orvo::test {

// The environment entry that makes a GTK+ 2 program's widgets reachable
// over the accessibility bus; pass it to RunningProgram.
inline const char* const kAccessibleWidgets = "GTK_MODULES=gail:atk-bridge";

// Drives the widgets of one running program from outside, as a user would,
// through tests/support/a11y_driver.py (the Debian python with pyatspi).
// Needs the test environment's D-Bus session (scripts/testenv.sh --dbus),
// which starts the accessibility bus on demand. Windows are named by their
// title; every call waits up to `timeout` for its widget to turn up.
class WidgetDriver {
 public:
  explicit WidgetDriver(pid_t pid,
                        std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));

  // Clicks the push button, toggle button or check box named `name`
  // (a stock button's name is its label: "Preferences", "Quit").
  [[nodiscard]] bool Click(const std::string& window, const std::string& name);
  // Makes `entry` the chosen entry of the drop-down list that offers it and
  // waits until the list shows it.
  [[nodiscard]] bool Select(const std::string& window, const std::string& entry);
  // The text of the index-th label of the window, in widget order.
  std::optional<std::string> Label(const std::string& window, int index = 0);
  // True once a window titled `window` belongs to the program.
  [[nodiscard]] bool WaitForWindow(const std::string& window);

  // What the driver said about the last call that failed.
  const std::string& LastError() const { return lastError_; }

 private:
  std::optional<std::string> Run(const std::vector<std::string>& command);

  pid_t pid_;
  std::chrono::milliseconds timeout_;
  std::string lastError_;
};

}  // namespace orvo::test
