#include "ui/program_restart.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace orvo {
namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class RestartProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvo restart.XXXXXX";  // a blank in every path
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = std::string(pattern) + "/";
    program = folder + "fake player";
    // Writes its working folder, its arguments and its open descriptors,
    // then renames the record into place so that it appears complete.
    std::ofstream(program) << "#!/bin/sh\n"
                              "{ pwd; for a; do printf '%s\\n' \"$a\"; done; ls /proc/$$/fd | tr '\\n' ' '; }"
                              " > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n";
    ASSERT_EQ(chmod(program.c_str(), 0700), 0);
  }
  void TearDown() override { EXPECT_EQ(std::system(("rm -rf '" + folder + "'").c_str()), 0); }

  // Runs the restart in a child process, which must end at once with
  // status 0; gives the new program's record.
  std::string RestartInChild(const std::vector<std::string>& arguments, const std::string& workingFolder) {
    const pid_t child = fork();
    if (child == 0) {
      // An inherited descriptor (an X connection, say) the new program
      // must not get.
      dup2(open(program.c_str(), O_RDONLY), kInheritedFd);
      RestartProcess(program, arguments, workingFolder);
      _exit(99);  // only reached when no process could be started
    }
    int status = -1;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string record = program + ".out";
    for (int i = 0; i < 1000 && access(record.c_str(), F_OK) != 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return Read(record);
  }

  static constexpr int kInheritedFd = 50;
  std::string folder;
  std::string program;
};

TEST_F(RestartProcessTest, PathsWithBlanks_StayOneArgumentEach) {
  const std::string skins = folder + "skins/";
  ASSERT_EQ(mkdir(skins.c_str(), 0700), 0);
  const std::string record = RestartInChild({"/music dir/my list.m3u", "dark skin.ini"}, skins);
  const std::string expected = folder.substr(0, folder.size() - 1) + "/skins\n"
                               "/music dir/my list.m3u\ndark skin.ini\n";
  ASSERT_GE(record.size(), expected.size());
  EXPECT_EQ(record.substr(0, expected.size()), expected);
  const std::string descriptors = " " + record.substr(expected.size());
  EXPECT_NE(descriptors.find(" 2 "), std::string::npos) << descriptors;
  EXPECT_EQ(descriptors.find(" 50 "), std::string::npos) << descriptors;
}

TEST_F(RestartProcessTest, SingleSkinArgument_PassedAlone) {
  const std::string record = RestartInChild({"orvo.ini"}, folder);
  const std::string expected = folder.substr(0, folder.size() - 1) + "\norvo.ini\n";
  EXPECT_EQ(record.substr(0, expected.size()), expected);
  EXPECT_EQ(record.find('\n', expected.size()), std::string::npos) << "no further argument";
}

}  // namespace
}  // namespace orvo
