#include "base/program_restart.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

// A restart from a child process ends the child at once with status 0; the stand-in program
// records its folder, its arguments one a line and its open descriptors.
TEST(RestartProcess, PathsWithBlanks_OneArgumentEachInTheFolderWithoutInheritedDescriptors) {
  test::ScratchDir dir;
  const std::string folder = dir.file("my skins"), program = dir.file("fake player");
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  // The record is renamed into place, so that it appears whole.
  test::WriteBytes(program, "#!/bin/sh\n{ pwd; printf '%s\\n' \"$@\"; ls /proc/$$/fd | tr '\\n' ' '; }"
                            " > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
  ASSERT_EQ(chmod(program.c_str(), 0700), 0);
  const pid_t child = fork();
  if (child == 0) {
    dup2(open(program.c_str(), O_RDONLY), 50);  // like an X connection: not to be inherited
    RestartProcess(program, {"/music dir/my list.m3u", "dark skin.ini"}, folder + "/");
    _exit(99);  // only when no process could be started
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  for (int i = 0; i < 2000 && !test::Exists(program + ".out"); ++i) usleep(10000);
  const std::string record = test::ReadBytes(program + ".out");
  const std::string expected = folder + "\n/music dir/my list.m3u\ndark skin.ini\n";
  ASSERT_EQ(record.substr(0, expected.size()), expected);
  const std::string descriptors = " " + record.substr(expected.size());
  EXPECT_NE(descriptors.find(" 2 "), std::string::npos) << descriptors;
  EXPECT_EQ(descriptors.find(" 50 "), std::string::npos) << descriptors;
}

}  // namespace
}  // namespace orvo
