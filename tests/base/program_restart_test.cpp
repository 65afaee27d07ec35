#include "base/program_restart.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

// Restarts `program` from a child process standing in for the player and
// gives the child's exit status: 0 when it ended because the new program
// runs, else the errno RestartProcess returned to it.
int RestartInChild(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& workingFolder) {
  const pid_t child = fork();
  if (child == 0) {
    // An inherited descriptor (an X connection, say) the new program must not get.
    dup2(open("/dev/null", O_RDONLY), 50);
    _exit(RestartProcess(program, arguments, workingFolder));
  }
  int status = -1;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Restarts a stand-in program, which must start, and gives its record: its
// working folder, its arguments one a line, then its open descriptors.
std::string RecordOfRestart(const std::vector<std::string>& arguments,
                            const std::string& workingFolder, const std::string& program) {
  // It renames its record into place so that the record appears complete.
  test::WriteBytes(program, "#!/bin/sh\n{ pwd; for a; do printf '%s\\n' \"$a\"; done;"
                            " ls /proc/$$/fd | tr '\\n' ' '; } > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
  EXPECT_EQ(chmod(program.c_str(), 0700), 0);
  unlink((program + ".out").c_str());
  EXPECT_EQ(RestartInChild(program, arguments, workingFolder), 0);
  for (int i = 0; i < 1000 && !test::Exists(program + ".out"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return test::ReadBytes(program + ".out");
}

TEST(RestartProcess, PathsWithBlanks_OneArgumentEachInTheFolderWithoutInheritedDescriptors) {
  test::ScratchDir dir;
  const std::string folder = dir.file("my skins");
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  const std::string program = dir.file("fake player");
  std::string record = RecordOfRestart({"/music dir/my list.m3u", "dark skin.ini"}, folder + "/", program);
  std::string expected = folder + "\n/music dir/my list.m3u\ndark skin.ini\n";
  ASSERT_EQ(record.substr(0, expected.size()), expected);
  const std::string descriptors = " " + record.substr(expected.size());
  EXPECT_NE(descriptors.find(" 2 "), std::string::npos) << descriptors;
  EXPECT_EQ(descriptors.find(" 50 "), std::string::npos) << descriptors;

  // A single skin argument is passed alone.
  record = RecordOfRestart({"orvo.ini"}, dir.path() + "/", program);
  expected = dir.path() + "\norvo.ini\n";
  EXPECT_EQ(record.substr(0, expected.size()), expected);
  EXPECT_EQ(record.find('\n', expected.size()), std::string::npos) << "no further argument";
}

// A program that cannot be started (replaced by an upgrade, no longer
// executable, or its folder gone) leaves the old process running with the
// reason.
TEST(RestartProcess, NewProgramCannotStart_OldProcessGoesOnWithTheReason) {
  test::ScratchDir dir;
  test::WriteBytes(dir.file("player"), "#!/bin/sh\n");
  ASSERT_EQ(chmod(dir.file("player").c_str(), 0600), 0);
  const struct {
    std::string program, folder;
    int error;
  } cases[] = {{dir.file("gone"), dir.path(), ENOENT},
               {dir.file("player"), dir.path(), EACCES},
               {"/bin/true", dir.file("no folder"), ENOENT}};
  for (const auto& c : cases) {
    EXPECT_EQ(RestartInChild(c.program, {"orvo.ini"}, c.folder), c.error) << c.program;
  }
}

}  // namespace
}  // namespace orvo
