#include "base/child_process.h"

#include <signal.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/support/running_program.h"

namespace orvo {
namespace {

using test::ChildrenOf;

std::string ReadAll(int fd) {
  std::string text;
  char buffer[1024];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  return text;
}

std::string StatusField(const std::string& status, const std::string& field) {
  const size_t at = status.find("\n" + field + ":\t");
  if (at == std::string::npos) return "<missing>";
  const size_t start = at + field.size() + 3;
  return status.substr(start, status.find('\n', start) - start);
}

// The signal set of a /proc status field without glibc's own two real-time
// signals (32 and 33), which no program can change and which a parent
// process may hand down ignored.
unsigned long long UserSignals(const std::string& field) {
  const unsigned long long glibcInternal = (1ULL << 31) | (1ULL << 32);
  return std::stoull(field, nullptr, 16) & ~glibcInternal;
}

TEST(ChildProcess, CallerIgnoresAndBlocksSignals_ChildGetsDefaults) {
  struct sigaction ignore {}, oldPipe {}, oldInt {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &oldPipe);
  sigaction(SIGINT, &ignore, &oldInt);
  sigset_t block, oldMask;
  sigemptyset(&block);
  sigaddset(&block, SIGTERM);
  sigprocmask(SIG_BLOCK, &block, &oldMask);

  std::optional<ChildProcess> cat = ChildProcess::Start({"cat", "/proc/self/status"}, -1);

  sigprocmask(SIG_SETMASK, &oldMask, nullptr);
  sigaction(SIGPIPE, &oldPipe, nullptr);
  sigaction(SIGINT, &oldInt, nullptr);
  ASSERT_TRUE(cat);
  const std::string status = ReadAll(cat->Output());
  ASSERT_NE(StatusField(status, "SigIgn"), "<missing>");
  EXPECT_EQ(UserSignals(StatusField(status, "SigIgn")), 0u) << status;
  EXPECT_EQ(UserSignals(StatusField(status, "SigBlk")), 0u) << status;
}

TEST(ChildProcess, Chained_SecondReadsFirstsOutput) {
  std::optional<ChildProcess> echo = ChildProcess::Start({"printf", "alpha\\nBeta\\ngamma\\n"}, -1);
  ASSERT_TRUE(echo);
  std::optional<ChildProcess> grep = ChildProcess::Start({"grep", "-i", "b"}, echo->Output());
  ASSERT_TRUE(grep);
  echo->TakeOutput();
  EXPECT_EQ(ReadAll(grep->Output()), "Beta\n");
}

TEST(ChildProcess, EndDestructionOrUnknownProgram_NoChildLeft) {
  {
    std::optional<ChildProcess> sleeper = ChildProcess::Start({"sleep", "100"}, -1);
    ASSERT_TRUE(sleeper);
    EXPECT_EQ(ChildrenOf(getpid()).size(), 1u);
    sleeper->End();
    EXPECT_TRUE(ChildrenOf(getpid()).empty());
    sleeper->End();  // a second End must not touch whatever has the PID now
  }
  {
    std::optional<ChildProcess> sleeper = ChildProcess::Start({"sleep", "100"}, -1);
    ASSERT_TRUE(sleeper);
    ChildProcess moved = std::move(*sleeper);
  }  // destructors end it
  EXPECT_TRUE(ChildrenOf(getpid()).empty());
  {
    std::optional<ChildProcess> missing =
        ChildProcess::Start({"orvo-no-such-tool-anywhere", "x"}, -1);
    ASSERT_TRUE(missing);
    EXPECT_EQ(ReadAll(missing->Output()), "");
  }
  EXPECT_TRUE(ChildrenOf(getpid()).empty());
  EXPECT_FALSE(ChildProcess::Start({}, -1));
}

}  // namespace
}  // namespace orvo
