#include "base/child_process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>

namespace orvo {
namespace {

std::string ReadAll(int fd) {
  std::string text;
  char buffer[1024];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
  return text;
}

// A chain hands one tool's output to the next; ending, replacing or destroying a child kills and
// reaps it, and an unknown tool writes nothing.
TEST(ChildProcess, ChainsAndEnds_EveryChildReaped) {
  auto childless = [] {
    siginfo_t info{};
    return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD;
  };
  std::optional<ChildProcess> echo = ChildProcess::Start({"echo", "a b"}, -1);
  ASSERT_TRUE(echo);
  std::optional<ChildProcess> cat = ChildProcess::Start({"cat"}, echo->Output());
  echo->TakeOutput();
  EXPECT_EQ(ReadAll(cat->Output()), "a b\n");
  ChildProcess sleeper = std::move(*ChildProcess::Start({"sleep", "infinity"}, -1));
  sleeper.End();  // waits for ever unless it kills
  sleeper = std::move(*ChildProcess::Start({"sleep", "infinity"}, -1));
  sleeper = std::move(*ChildProcess::Start({"orvo-no-such-tool"}, -1));
  EXPECT_EQ(ReadAll(sleeper.Output()), "");
  EXPECT_FALSE(childless());
  echo.reset();
  cat.reset();
  sleeper.End();
  sleeper.End();
  EXPECT_TRUE(childless());
  EXPECT_FALSE(ChildProcess::Start({}, -1));
}

}  // namespace
}  // namespace orvo
