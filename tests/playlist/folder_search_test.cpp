#include "playlist/folder_search.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

void File(const std::string& path) {
  fs::create_directories(fs::path(path).parent_path());
  test::WriteBytes(path, "x");
}

TEST(IsMusicFileName, ExtensionAfterTheLastDotInAnyCase_MpcOnlyInTheChosenFolder) {
  for (const bool chosen : {false, true}) {
    for (const char* name : {"a.mp3", "b.MP3", "c.Wav", "d.ogg", "e.x.OGG", ".mp3", "f g.mp3"}) {
      EXPECT_TRUE(IsMusicFileName(name, chosen)) << name;
    }
    for (const char* name : {"mp3", "a.mp3.txt", "a.mp33", "a.mp", "a.", "", "a.m3u", "a.flac"}) {
      EXPECT_FALSE(IsMusicFileName(name, chosen)) << name;
    }
    EXPECT_EQ(IsMusicFileName("x.MPC", chosen), chosen);
  }
}

// The chosen folder's music first, in listing order, then its subfolders depth first, each
// folder's music before its subfolders. Links are not followed: one to a folder counts as a
// file by its name.
TEST(FindMusicFiles, Tree_ChosenFolderFirstThenDepthFirstWithoutFollowingLinks) {
  test::ScratchDir dir;
  const std::string f = dir.file("F") + "/";
  for (const std::string s : {"S1", "S2", "S3"}) {
    for (const std::string song : {"/a.mp3", "/sub/b.ogg", "/c.mpc"}) File(f + s + song);
  }
  for (const char* name : {"own1.mp3", "own2.wav", "cover.jpg", "x.MPC"}) File(f + name);
  File(dir.file("music/in.mp3"));
  fs::create_symlink(dir.file("music"), f + "link");
  fs::create_symlink(dir.file("music"), f + "folder.mp3");
  fs::create_symlink(dir.file("gone.ogg"), f + "dangling.ogg");
  std::vector<std::string> expected{"earlier"}, subfolders;
  for (const auto& entry : fs::directory_iterator(f)) {
    const std::string name = entry.path().filename();
    if (name[0] == 'S') subfolders.insert(subfolders.end(), {f + name + "/a.mp3", f + name + "/sub/b.ogg"});
    if (name[0] != 'S' && name != "cover.jpg" && name != "link") expected.push_back(f + name);
  }
  expected.insert(expected.end(), subfolders.begin(), subfolders.end());
  std::vector<std::string> found{"earlier"}, none;
  FindMusicFiles(dir.file("F"), found);
  EXPECT_EQ(found, expected);
  for (const std::string& folder : {std::string(), dir.file("nowhere/"), f + "own1.mp3/"}) {
    FindMusicFiles(folder, none);
  }
  EXPECT_TRUE(none.empty());
}

// A folder that cannot be opened, listed or searched is left out with all it holds.
TEST(FindMusicFiles, LockedFolders_SkippedAndTheWalkGoesOn) {
  test::ScratchDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  for (const std::string s : {"closed", "listonly", "enteronly", "open"}) {
    for (const std::string song : {"/1.mp3", "/deeper/2.mp3"}) File(dir.file(s + song));
  }
  chmod(dir.file("closed").c_str(), 0);
  chmod(dir.file("listonly").c_str(), 0444);
  chmod(dir.file("enteronly").c_str(), 0111);
  EXPECT_TRUE(test::RunUnprivileged([&] {
    std::vector<std::string> found;
    FindMusicFiles(dir.path(), found);
    std::sort(found.begin(), found.end());
    return found == std::vector<std::string>{dir.file("open/1.mp3"), dir.file("open/deeper/2.mp3")};
  }));
}

}  // namespace
}  // namespace orvo
