#include "tests/support/widget_driver.h"

#include <string>
#include <vector>

#include "tests/support/running_program.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {

WidgetDriver::WidgetDriver(pid_t pid, std::chrono::milliseconds timeout)
    : pid_(pid), timeout_(timeout) {}

std::optional<std::string> WidgetDriver::Run(const std::vector<std::string>& command) {
  ScratchDir scratch;
  const std::string result = scratch.file("result");
  std::vector<std::string> args = {ORVO_A11Y_DRIVER,
                                   "--pid",
                                   std::to_string(pid_),
                                   "--timeout",
                                   std::to_string(static_cast<double>(timeout_.count()) / 1000.0),
                                   "--output",
                                   result};
  args.insert(args.end(), command.begin(), command.end());
  RunningProgram driver("/usr/bin/python3", args);
  // The bus answers within its own timeout (25 s) even for a hung program.
  const std::optional<int> status = driver.WaitForExit(timeout_ + std::chrono::seconds(40));
  if (status != std::optional<int>(0)) {
    lastError_ = status ? driver.Output() : "the driver did not finish";
    return std::nullopt;
  }
  lastError_.clear();
  return ReadWhole(result);
}

bool WidgetDriver::Click(const std::string& window, const std::string& name) {
  return Run({"click", window, name}).has_value();
}

bool WidgetDriver::Select(const std::string& window, const std::string& entry) {
  return Run({"select", window, entry}).has_value();
}

std::optional<std::string> WidgetDriver::Label(const std::string& window, int index) {
  std::optional<std::string> text = Run({"label", window, std::to_string(index)});
  if (text && !text->empty() && text->back() == '\n') text->pop_back();
  return text;
}

bool WidgetDriver::WaitForWindow(const std::string& window) {
  return Run({"wait", window}).has_value();
}

}  // namespace orvo::test
