#include "tests/support/running_program.h"

#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include "tests/support/program_folder.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {
namespace {

using std::chrono::milliseconds;

TEST(RunningProgram, Output_BothStreamsEnvironmentFolderAndStatus) {
  ScratchDir dir;
  RunningProgram program(
      "/bin/sh", {"-c", "echo start; echo oops >&2; pwd; echo \"$LANG|$ORVO_PROBE|${HOME:+home}\";"
                        " printf 'no newline'; exit 3"},
      dir.path(), {"LANG=fr_FR.ISO-8859-1", "ORVO_PROBE=a=b"});
  EXPECT_EQ(program.WaitForExit(), 3);
  EXPECT_EQ(program.Lines(), (std::vector<std::string>{"start", "oops", dir.path(),
                                                       "fr_FR.ISO-8859-1|a=b|home", "no newline"}));
  EXPECT_TRUE(program.WaitForLine("no newline", milliseconds(0)));
  EXPECT_FALSE(program.WaitForLine("no", milliseconds(0)));

  RunningProgram missing("/nonexistent/Orvo_M", {});
  EXPECT_EQ(missing.WaitForExit(), 127);
  EXPECT_NE(missing.Output().find("cannot execute"), std::string::npos);
}

TEST(RunningProgram, WaitForLine_WaitsForLaterOutput) {
  RunningProgram program("/bin/sh", {"-c", "sleep 0.2; echo 'Ready ... starting ....'; sleep 100"});
  EXPECT_TRUE(program.WaitForLine("Ready ... starting ...."));
  EXPECT_FALSE(program.WaitForLine("never printed", milliseconds(50)));
}

TEST(RunningProgram, StopOrDestruction_EndsProgramAndItsChildren) {
  pid_t pid = 0;
  {
    // The shell ignores SIGTERM, so only the SIGKILL after the grace time ends it.
    RunningProgram program("/bin/sh", {"-c", "trap '' TERM; sleep 100 & echo started; wait"});
    pid = program.Pid();
    ASSERT_TRUE(program.WaitForLine("started"));
    EXPECT_EQ(program.Stop(milliseconds(100)), 128 + 9);
    EXPECT_TRUE(ChildrenOf(getpid()).empty());
  }
  // The background sleep went with its group.
  EXPECT_TRUE(ChildrenOf(pid).empty());
  {
    RunningProgram program("/bin/sh", {"-c", "echo up; exec sleep 100"});
    ASSERT_TRUE(program.WaitForLine("up"));
  }
  EXPECT_TRUE(ChildrenOf(getpid()).empty());
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

TEST(ProgramFolder, Copy_KeepsFilesModesAndLinksButNoOtherPrograms) {
  ScratchDir bin;
  WriteBytes(bin.file("Orvo_M"), "#!/bin/sh\n");
  WriteBytes(bin.file("test_ui"), "elf");
  for (const char* name : {"Orvo_M", "test_ui"}) ASSERT_EQ(chmod(bin.file(name).c_str(), 0755), 0);
  WriteBytes(bin.file("orvo.ini"), "[player]\n");
  ASSERT_EQ(mkdir(bin.file("skins").c_str(), 0755), 0);
  WriteBytes(bin.file("skins/skin.png"), std::string("\x89PNG\0", 5));
  ASSERT_EQ(symlink("orvo.ini", bin.file("default.ini").c_str()), 0);

  ProgramFolder folder(bin.path());
  EXPECT_EQ(access(folder.Executable().c_str(), X_OK), 0);
  EXPECT_EQ(ReadBytes(folder.File("skins/skin.png")), std::string("\x89PNG\0", 5));
  EXPECT_EQ(ReadBytes(folder.File("default.ini")), "[player]\n");
  EXPECT_FALSE(Exists(folder.File("test_ui")));
  // Writing beside the copy leaves the build untouched, also through the link.
  folder.Write("orvo.ini", "changed");
  EXPECT_EQ(ReadBytes(bin.file("orvo.ini")), "[player]\n");
  EXPECT_EQ(ReadBytes(folder.File("default.ini")), "changed");
}

}  // namespace
}  // namespace orvo::test
