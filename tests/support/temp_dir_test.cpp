#include "tests/support/temp_dir.h"

#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include "tests/support/program_folder.h"

namespace orvo::test {
namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

TEST(TempDir, Destruction_RemovesNestedTreeButNotLinkTargets) {
  TempDir outside;
  const std::string kept = outside.Write("kept.txt", "stay");
  std::string path;
  {
    TempDir dir;
    path = dir.Path();
    dir.Write("a/b/c.txt", "x");
    dir.MakeFolder("empty/deeper");
    dir.MakeFolder("locked/inner");
    dir.Write("locked/inner/f", "y");
    ASSERT_EQ(chmod(dir.File("locked").c_str(), 0), 0);
    ASSERT_EQ(symlink(outside.Path().c_str(), dir.File("link").c_str()), 0);
    EXPECT_EQ(ReadFile(dir.File("a/b/c.txt")), "x");
  }
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(ReadFile(kept), "stay");
}

TEST(ProgramFolder, Copy_KeepsFilesModesAndLinksButNoOtherPrograms) {
  TempDir bin;
  bin.Write("Orvo_M", "#!/bin/sh\n");
  ASSERT_EQ(chmod(bin.File("Orvo_M").c_str(), 0755), 0);
  bin.Write("test_ui", "elf");
  ASSERT_EQ(chmod(bin.File("test_ui").c_str(), 0755), 0);
  bin.Write("orvo.ini", "[player]\nwindowx=1\n");
  bin.Write("skins/blue/skin.png", std::string("\x89PNG\0", 5));
  ASSERT_EQ(symlink("orvo.ini", bin.File("default.ini").c_str()), 0);

  ProgramFolder folder(bin.Path());
  EXPECT_TRUE(folder.HasProgram());
  EXPECT_EQ(ReadFile(folder.File("orvo.ini")), "[player]\nwindowx=1\n");
  EXPECT_EQ(ReadFile(folder.File("skins/blue/skin.png")), std::string("\x89PNG\0", 5));
  EXPECT_EQ(ReadFile(folder.File("default.ini")), "[player]\nwindowx=1\n");
  EXPECT_FALSE(Exists(folder.File("test_ui")));

  // Writing beside the copy leaves the build untouched.
  folder.Write("orvo.ini", "changed");
  EXPECT_EQ(ReadFile(bin.File("orvo.ini")), "[player]\nwindowx=1\n");
}

}  // namespace
}  // namespace orvo::test
