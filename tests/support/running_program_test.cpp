#include "tests/support/running_program.h"

#include <unistd.h>
#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace orvo::test {
namespace {

using std::chrono::milliseconds;

TEST(RunningProgram, Output_BothStreamsCapturedAndStatusReturned) {
  TempDir dir;
  RunningProgram program("/bin/sh",
                         {"-c", "echo start; echo oops >&2; pwd; printf 'no newline'; exit 3"},
                         dir.Path());
  ASSERT_TRUE(program.Started());
  EXPECT_EQ(program.WaitForExit(), 3);
  const std::vector<std::string> lines = program.Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "start");
  EXPECT_EQ(lines[1], "oops");
  EXPECT_EQ(lines[2], dir.Path());
  EXPECT_EQ(lines[3], "no newline");
  EXPECT_TRUE(program.WaitForLine("no newline", milliseconds(0)));
  EXPECT_FALSE(program.WaitForLine("no", milliseconds(0)));
  EXPECT_TRUE(program.WaitForOutput("oops\n/", milliseconds(0)));
}

TEST(RunningProgram, Environment_ReplacesAndAdds) {
  RunningProgram program("/bin/sh", {"-c", "echo \"$LANG|$ORVO_PROBE|${HOME:+home}\""}, "",
                         {"LANG=fr_FR.ISO-8859-1", "ORVO_PROBE=a=b"});
  EXPECT_EQ(program.WaitForExit(), 0);
  EXPECT_EQ(program.Output(), "fr_FR.ISO-8859-1|a=b|home\n");
}

TEST(RunningProgram, WaitForLine_WaitsForLaterOutput) {
  RunningProgram program("/bin/sh", {"-c", "sleep 0.2; echo 'Ready ... starting ....'; sleep 100"});
  EXPECT_TRUE(program.WaitForLine("Ready ... starting ...."));
  EXPECT_FALSE(program.WaitForLine("never printed", milliseconds(50)));
}

TEST(RunningProgram, Stop_EndsProgramAndItsChildren) {
  pid_t pid = 0;
  {
    // The shell ignores SIGTERM, so only the SIGKILL after the grace time ends it.
    RunningProgram program("/bin/sh", {"-c", "trap '' TERM; sleep 100 & echo started; wait"});
    pid = program.Pid();
    ASSERT_TRUE(program.WaitForLine("started"));
    EXPECT_EQ(program.Stop(milliseconds(100)), 128 + 9);
    EXPECT_TRUE(ChildrenOf(getpid()).empty());
  }
  // The background sleep went with its group: nothing is left that the
  // shell started.
  EXPECT_TRUE(ChildrenOf(pid).empty());
}

TEST(RunningProgram, DestroyedWhileRunning_LeavesNoChild) {
  {
    RunningProgram program("/bin/sh", {"-c", "echo up; exec sleep 100"});
    ASSERT_TRUE(program.WaitForLine("up"));
  }
  EXPECT_TRUE(ChildrenOf(getpid()).empty());
}

TEST(RunningProgram, MissingExecutable_Exits127WithMessage) {
  RunningProgram program("/nonexistent/Orvo_M", {});
  ASSERT_TRUE(program.Started());
  EXPECT_EQ(program.WaitForExit(), 127);
  EXPECT_TRUE(program.WaitForOutput("cannot execute", milliseconds(0)));
}

TEST(RunningProgram, Window_FoundByPidAndTitleAndClosedOnRequest) {
  RunningProgram program(WINDOW_CLIENT, {"Orvo M "});
  RunningProgram other(WINDOW_CLIENT, {"Orvo M "});
  ASSERT_TRUE(program.WaitForLine("mapped"));
  ASSERT_TRUE(other.WaitForLine("mapped"));

  const XWindowId window = program.FindWindow();
  ASSERT_NE(window, 0u);
  EXPECT_EQ(program.Windows("Orvo M ").size(), 1u);
  EXPECT_TRUE(program.Windows("Orvo M").empty());  // the title is matched whole
  EXPECT_EQ(WindowsTitled("Orvo M ").size(), 2u);
  EXPECT_NE(other.FindWindow(), window);

  ASSERT_TRUE(SendDeleteWindow(window));
  EXPECT_TRUE(program.WaitForLine("close requested"));
  EXPECT_EQ(program.WaitForExit(), 0);
  EXPECT_FALSE(other.WaitForLine("close requested", milliseconds(0)));
}

}  // namespace
}  // namespace orvo::test
