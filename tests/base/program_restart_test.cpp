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

// Restarts a stand-in program from a child process, which must end at once
// with status 0, and gives the new program's record: its working folder, its
// arguments one a line, then its open descriptors. Every path has a blank.
std::string RestartInChild(const std::vector<std::string>& arguments, const std::string& workingFolder,
                           const std::string& program) {
  // It renames its record into place so that the record appears complete.
  test::WriteBytes(program, "#!/bin/sh\n{ pwd; for a; do printf '%s\\n' \"$a\"; done;"
                            " ls /proc/$$/fd | tr '\\n' ' '; } > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
  EXPECT_EQ(chmod(program.c_str(), 0700), 0);
  unlink((program + ".out").c_str());
  const pid_t child = fork();
  if (child == 0) {
    // An inherited descriptor (an X connection, say) the new program must not get.
    dup2(open(program.c_str(), O_RDONLY), 50);
    RestartProcess(program, arguments, workingFolder);
    _exit(99);  // only reached when no process could be started
  }
  int status = -1;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
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
  std::string record = RestartInChild({"/music dir/my list.m3u", "dark skin.ini"}, folder + "/", program);
  std::string expected = folder + "\n/music dir/my list.m3u\ndark skin.ini\n";
  ASSERT_EQ(record.substr(0, expected.size()), expected);
  const std::string descriptors = " " + record.substr(expected.size());
  EXPECT_NE(descriptors.find(" 2 "), std::string::npos) << descriptors;
  EXPECT_EQ(descriptors.find(" 50 "), std::string::npos) << descriptors;

  // A single skin argument is passed alone.
  record = RestartInChild({"orvo.ini"}, dir.path() + "/", program);
  expected = dir.path() + "\norvo.ini\n";
  EXPECT_EQ(record.substr(0, expected.size()), expected);
  EXPECT_EQ(record.find('\n', expected.size()), std::string::npos) << "no further argument";
}

}  // namespace
}  // namespace orvo
