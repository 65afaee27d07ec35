#include "playlist/folder_search.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

TEST(IsMusicFileName, ExtensionAfterTheLastDotInAnyCase_MpcOnlyInTheChosenFolder) {
  for (const bool chosen : {false, true}) {
    for (const char* name : {"b.MP3", "c.Wav", "e.x.ogg", ".mp3"}) EXPECT_TRUE(IsMusicFileName(name, chosen)) << name;
    for (const char* name : {"mp3", "a.mp3.txt", "a.mp33", "a.mp", "a.", "a.m3u"}) {
      EXPECT_FALSE(IsMusicFileName(name, chosen)) << name;
    }
    EXPECT_EQ(IsMusicFileName("x.MPC", chosen), chosen);
  }
}

// The chosen folder's music first, in listing order, then its subfolders depth first, each folder's
// music before its subfolders. Links are not followed: one to a folder counts by its name. A
// folder that cannot be opened, listed or searched is left out with all it holds.
TEST(FindMusicFiles, Tree_ChosenFolderFirstThenDepthFirstSkippingLinksAndLockedFolders) {
  test::ScratchDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  const std::string f = dir.file("F") + "/";
  for (const std::string s : {"S1", "S2", "S3", "closed", "listonly", "enteronly"}) {
    fs::create_directories(f + s + "/sub");
    for (const std::string song : {"/a.mp3", "/sub/b.ogg", "/c.mpc"}) test::WriteBytes(f + s + song, "x");
  }
  for (const char* name : {"own1.mp3", "own2.wav", "cover.jpg", "x.MPC"}) test::WriteBytes(f + name, "x");
  fs::create_symlink(f + "S1", f + "link");
  fs::create_symlink(f + "S1", f + "folder.mp3");
  fs::create_symlink(dir.file("gone.ogg"), f + "dangling.ogg");
  chmod((f + "closed").c_str(), 0);
  chmod((f + "listonly").c_str(), 0444);
  chmod((f + "enteronly").c_str(), 0111);
  std::vector<std::string> expected{"earlier"}, subfolders;
  for (const auto& entry : fs::directory_iterator(f)) {
    const std::string name = entry.path().filename();
    if (name[0] == 'S') subfolders.insert(subfolders.end(), {f + name + "/a.mp3", f + name + "/sub/b.ogg"});
    if (std::set<std::string>{"own1.mp3", "own2.wav", "x.MPC", "folder.mp3", "dangling.ogg"}.count(name)) {
      expected.push_back(f + name);
    }
  }
  expected.insert(expected.end(), subfolders.begin(), subfolders.end());
  EXPECT_TRUE(test::RunUnprivileged([&] {
    std::vector<std::string> found{"earlier"}, none;
    FindMusicFiles(dir.file("F"), found);
    for (const std::string& folder : {std::string(), dir.file("nowhere/"), f + "own1.mp3/"}) FindMusicFiles(folder, none);
    return found == expected && none.empty();
  }));
}

}  // namespace
}  // namespace orvo
