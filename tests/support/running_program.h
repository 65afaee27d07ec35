#pragma once

#include <sys/types.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace orvo::test {

// The PIDs of the live and zombie children of `parent`, from /proc: with it
// a test proves that each child the product started was reaped.
inline std::vector<pid_t> ChildrenOf(pid_t parent) {
  std::vector<pid_t> children;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string pid = entry.path().filename();
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    // A process that ends while it is read fails the read with ESRCH; it is
    // nobody's child any more, so an empty text is the right answer.
    std::string text(512, '\0');
    FILE* stat = std::fopen((entry.path() / "stat").c_str(), "re");
    text.resize(stat ? std::fread(text.data(), 1, text.size() - 1, stat) : 0);
    if (stat) std::fclose(stat);
    // The command name in parentheses may hold blanks and parentheses.
    const size_t close = text.rfind(')');
    int parentPid = 0;
    if (close != std::string::npos &&
        std::sscanf(text.c_str() + close + 1, " %*c %d", &parentPid) == 1 && parentPid == parent) {
      children.push_back(std::stoi(pid));
    }
  }
  return children;
}

}  // namespace orvo::test
