#include "base/child_process.h"

#include <gtest/gtest.h>

// A chain hands one tool's output to the next; End kills a child that would not end by itself
// (without the kill it waits for ever).
TEST(ChildProcess, ChainAndEnd_OutputPassedOnAndTheChildKilled) {
  std::optional<orvo::ChildProcess> echo = orvo::ChildProcess::Start({"echo", "a b"}, -1);
  std::optional<orvo::ChildProcess> cat = orvo::ChildProcess::Start({"cat"}, echo->TakeOutput().Get());
  char text[8] = {};
  EXPECT_EQ(read(cat->Output(), text, sizeof text), 4);
  EXPECT_STREQ(text, "a b\n");
  orvo::ChildProcess::Start({"sleep", "infinity"}, -1)->End();
}
