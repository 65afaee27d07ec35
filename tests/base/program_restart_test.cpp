#include "base/program_restart.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

// A program that cannot be started (gone after an upgrade, no longer executable, or its folder
// gone) leaves the process that asked running, with the reason; a child stands in for the player.
TEST(RestartProcess, NewProgramCannotStart_OldProcessGoesOnWithTheReason) {
  test::ScratchDir dir;
  test::WriteBytes(dir.file("player"), "#!/bin/sh\n");
  ASSERT_EQ(chmod(dir.file("player").c_str(), 0600), 0);
  const struct {
    std::string program, folder;
    int error;
  } cases[] = {{dir.file("gone"), dir.path(), ENOENT},
               {dir.file("player"), dir.path(), EACCES},
               {"/bin/true", dir.file("no folder"), ENOENT},
               {"/bin/true", dir.path(), 0}};
  for (const auto& c : cases) {
    const pid_t child = fork();
    if (child == 0) _exit(RestartProcess(c.program, {"orvo.ini"}, c.folder));
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, c.error) << c.program;
  }
}

// The new program inherits standard input, output and error only, whatever else was open around
// the report pipe (which takes descriptors 3 and 4 here); ls lists them, and its own listing's 3.
TEST(RestartProcess, NewProgram_InheritsOnlyTheStandardDescriptors) {
  test::ScratchDir dir;
  const pid_t child = fork();
  if (child == 0) {
    for (int fd = 5; fd < 12; ++fd) dup2(2, fd);
    if (!freopen(dir.file("fds").c_str(), "w", stdout)) _exit(1);
    _exit(RestartProcess("/bin/ls", {"/proc/self/fd"}, dir.path()));
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(status, 0);
  for (int i = 0; i < 500 && test::ReadWhole(dir.file("fds")).empty(); ++i) usleep(10000);
  EXPECT_EQ(test::ReadWhole(dir.file("fds")), "0\n1\n2\n3\n");
}

}  // namespace
}  // namespace orvo
