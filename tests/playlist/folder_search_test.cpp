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

// Music is named by the text after the last dot, in any case; "mpc" only in the chosen folder. Its
// music comes first, in listing order, then its subfolders depth first, each folder's music before
// its subfolders. Links are not followed: one to a folder counts by its name. A folder that cannot
// be opened, listed or searched is left out with all it holds.
TEST(FindMusicFiles, Tree_ChosenFolderFirstThenDepthFirstSkippingLinksAndLockedFolders) {
  test::ScratchDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  const std::string f = dir.file("F") + "/";
  for (const std::string s : {"S1", "S2", "S3", "closed", "listonly", "enteronly"}) {
    fs::create_directories(f + s + "/sub");
    for (const std::string song : {"/a.mp3", "/sub/b.ogg", "/c.mpc"}) test::WriteBytes(f + s + song, "x");
  }
  for (const char* name : {"o.MP3", "e.x.Wav", ".ogg", "x.MPC", "mp3", "a.mp3.txt", "a.mp33", "a.mp", "a.", "l.m3u"}) {
    test::WriteBytes(f + name, "x");
  }
  ASSERT_EQ(symlink((f + "S1").c_str(), (f + "link").c_str()) + symlink((f + "S1").c_str(), (f + "folder.mp3").c_str()) +
                symlink("gone.ogg", (f + "dangling.ogg").c_str()) + chmod((f + "closed").c_str(), 0) +
                chmod((f + "listonly").c_str(), 0444) + chmod((f + "enteronly").c_str(), 0111), 0);
  std::vector<std::string> expected{"earlier"}, subfolders;
  for (const auto& entry : fs::directory_iterator(f)) {
    const std::string name = entry.path().filename();
    if (name[0] == 'S') subfolders.insert(subfolders.end(), {f + name + "/a.mp3", f + name + "/sub/b.ogg"});
    if (std::set<std::string>{"o.MP3", "e.x.Wav", ".ogg", "x.MPC", "folder.mp3", "dangling.ogg"}.count(name)) expected.push_back(f + name);
  }
  expected.insert(expected.end(), subfolders.begin(), subfolders.end());
  EXPECT_TRUE(test::RunUnprivileged([&] {
    std::vector<std::string> found{"earlier"}, none;
    FindMusicFiles(dir.file("F"), found);
    for (const std::string& folder : {std::string(), dir.file("nowhere/"), f + "o.MP3/"}) FindMusicFiles(folder, none);
    return found == expected && none.empty();
  }));
}

}  // namespace
}  // namespace orvo
