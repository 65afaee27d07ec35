#include "base/child_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace orvo {
namespace {

std::string ReadAll(int fd) {
  std::string text;
  char buffer[1024];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
  return text;
}

// A tool chained behind another gets default signal handling even where the caller ignores
// SIGPIPE and blocks SIGTERM, or it would not stop when its reader goes.
TEST(ChildProcess, ChainedTools_SecondReadsFirstsOutputWithDefaultSignals) {
  struct sigaction ignore {}, old {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &old);
  sigset_t block, oldMask;
  sigemptyset(&block);
  sigaddset(&block, SIGTERM);
  sigprocmask(SIG_BLOCK, &block, &oldMask);
  std::optional<ChildProcess> cat = ChildProcess::Start({"cat", "/proc/self/status"}, -1);
  sigprocmask(SIG_SETMASK, &oldMask, nullptr);
  sigaction(SIGPIPE, &old, nullptr);
  ASSERT_TRUE(cat);
  std::optional<ChildProcess> grep = ChildProcess::Start({"grep", "^Sig[BI]"}, cat->Output());
  ASSERT_TRUE(grep);
  cat->TakeOutput();
  const std::string lines = ReadAll(grep->Output());  // SigBlk, then SigIgn
  ASSERT_EQ(lines.size(), 50u) << lines;
  // glibc's own signals 32 and 33 may come ignored from whoever started the tests.
  for (const size_t at : {8, 33}) {
    EXPECT_EQ(std::stoull(lines.substr(at, 16), nullptr, 16) & ~(3ULL << 31), 0u) << lines;
  }
}

TEST(ChildProcess, EndOrDestruction_KillsAndReapsTheChild) {
  auto childless = [] { return waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD; };
  std::optional<ChildProcess> sleeper = ChildProcess::Start({"sleep", "infinity"}, -1);
  ASSERT_TRUE(sleeper);
  EXPECT_FALSE(childless());
  sleeper->End();  // waits for ever unless it kills
  sleeper->End();
  EXPECT_TRUE(childless());
  ChildProcess moved = std::move(*ChildProcess::Start({"sleep", "infinity"}, -1));
  moved = std::move(*ChildProcess::Start({"orvo-no-such-tool"}, -1));
  EXPECT_EQ(ReadAll(moved.Output()), "");
  moved.End();
  EXPECT_TRUE(childless());
  EXPECT_FALSE(ChildProcess::Start({}, -1));
}

}  // namespace
}  // namespace orvo
