#include "playlist/folder_search.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

// A private folder tree, removed with everything in it when the test ends.
struct TempTree : test::ScratchDir {
  std::string root() const { return path() + "/"; }
  std::string Folder(const std::string& rel) const {
    fs::create_directories(file(rel));
    return file(rel) + "/";
  }
  std::string File(const std::string& rel) const {
    test::WriteBytes(file(rel), "x");
    return file(rel);
  }
  void Link(const std::string& target, const std::string& rel) const { fs::create_symlink(target, file(rel)); }
};

std::vector<std::string> Find(const std::string& folder) {
  std::vector<std::string> found;
  FindMusicFiles(folder, found);
  return found;
}

// Names of `folder`'s entries in the order the file system lists them.
std::vector<std::string> ListingOrder(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(IsMusicFileName, Extensions_ComparedWithoutCaseAfterLastDot_MpcOnlyInChosenFolder) {
  for (const char* name : {"a.mp3", "b.MP3", "c.Wav", "d.ogg", "e.x.OGG", ".mp3", "f g.mp3"}) {
    EXPECT_TRUE(IsMusicFileName(name, true)) << name;
    EXPECT_TRUE(IsMusicFileName(name, false)) << name;
  }
  for (const char* name : {"mp3", "a.mp3.txt", "a.mp33", "a.mp", "a.", "", "a.m3u", "a.flac"}) {
    EXPECT_FALSE(IsMusicFileName(name, true)) << name;
    EXPECT_FALSE(IsMusicFileName(name, false)) << name;
  }
  EXPECT_TRUE(IsMusicFileName("x.MPC", true));
  EXPECT_TRUE(IsMusicFileName("x.mpc", true));
  EXPECT_FALSE(IsMusicFileName("y.mpc", false));
}

TEST(FindMusicFiles, Tree_ChosenFilesFirstThenDepthFirstPreOrder) {
  TempTree tree;
  const std::string f = tree.Folder("F");
  // Several sibling folders, each with a subfolder: a breadth-first walk
  // would list all siblings' songs before any of their subfolders'.
  for (const char* s : {"S1", "S2", "S3", "S4"}) {
    tree.Folder(std::string("F/") + s + "/" + s + "a");
    tree.File(std::string("F/") + s + "/" + s + ".mp3");
    tree.File(std::string("F/") + s + "/" + s + "a/" + s + "a.ogg");
  }
  tree.File("F/own1.mp3");
  tree.File("F/own2.wav");
  tree.File("F/cover.jpg");

  const std::vector<std::string> found = Find(f);
  ASSERT_EQ(found.size(), 10u);

  // F's own songs first, in listing order.
  std::vector<std::string> expectedOwn;
  std::vector<std::string> folderOrder;
  for (const std::string& name : ListingOrder(f)) {
    if (name == "own1.mp3" || name == "own2.wav") expectedOwn.push_back(f + name);
    if (name[0] == 'S') folderOrder.push_back(name);
  }
  EXPECT_EQ(std::vector<std::string>(found.begin(), found.begin() + 2), expectedOwn);

  // Then each subfolder's song directly followed by its own subfolder's song,
  // the subfolders taken in listing order.
  std::vector<std::string> expectedRest;
  for (const std::string& s : folderOrder) {
    expectedRest.push_back(f + s + "/" + s + ".mp3");
    expectedRest.push_back(f + s + "/" + s + "a/" + s + "a.ogg");
  }
  EXPECT_EQ(std::vector<std::string>(found.begin() + 2, found.end()), expectedRest);
}

// Mpc files count only in the chosen folder; a folder named without its
// trailing slash is joined with one; found files are appended.
TEST(FindMusicFiles, MpcOnlyAtTop_PathsJoinedWithOneSlashAndAppended) {
  TempTree tree;
  tree.Folder("F/sub");
  tree.File("F/x.MPC");
  tree.File("F/sub/y.mpc");
  tree.File("F/sub/z.OGG");
  const std::string f = tree.root() + "F";
  std::vector<std::string> found{"earlier"};
  FindMusicFiles(f, found);
  EXPECT_EQ(found, (std::vector<std::string>{"earlier", f + "/x.MPC", f + "/sub/z.OGG"}));
}

TEST(FindMusicFiles, SymbolicLinks_CountAsFilesAndAreNotEntered) {
  TempTree tree;
  const std::string music = tree.Folder("music");
  tree.File("music/inside.mp3");
  const std::string f = tree.Folder("F");
  tree.Link(music, "F/musiclink");           // a folder link without extension
  tree.Link(music, "F/folder.mp3");          // a folder link with one: a "file"
  tree.Link(music + "inside.mp3", "F/z.mp3");
  tree.Link(tree.root() + "gone.ogg", "F/dangling.ogg");

  std::vector<std::string> found = Find(f);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{f + "dangling.ogg", f + "folder.mp3", f + "z.mp3"}));
}

TEST(FindMusicFiles, OddNames_KeptByteForByte) {
  TempTree tree;
  const std::string sub = tree.Folder("F/my 'old' \"songs\"");
  const std::string names[] = {"a b.mp3", "it's \"x\".ogg", " lead.wav", "semi;colon|bar.mp3",
                               "\xE4\xF6\xFC.mp3", "tab\there.mp3", "new\nline.mp3"};
  for (const std::string& name : names) tree.File("F/my 'old' \"songs\"/" + name);
  std::vector<std::string> found = Find(tree.root() + "F/");
  std::vector<std::string> expected;
  for (const std::string& name : names) expected.push_back(sub + name);
  std::sort(found.begin(), found.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(found, expected);
}

TEST(FindMusicFiles, DeepTree_FoundAtEveryLevel) {
  TempTree tree;
  std::string rel = "F";
  std::vector<std::string> expected;
  tree.Folder(rel);
  // About 3,000 characters of path: deep, yet within what a path may hold.
  for (int depth = 0; depth < 600; ++depth) {
    rel += "/d" + std::to_string(depth % 10);
    tree.Folder(rel);
    if (depth % 50 == 0) expected.push_back(tree.File(rel + "/s.mp3"));
  }
  EXPECT_EQ(Find(tree.root() + "F/"), expected);
}

TEST(FindMusicFiles, MissingOrEmptyFolder_FindsNothing) {
  TempTree tree;
  EXPECT_TRUE(Find(tree.root() + "nowhere/").empty());
  EXPECT_TRUE(Find(tree.Folder("empty")).empty());
  EXPECT_TRUE(Find("").empty());
  // A music file chosen in place of a folder is not a folder to search.
  EXPECT_TRUE(Find(tree.File("a.mp3") + "/").empty());
}

TEST(FindMusicFiles, UnreadableFolders_SkippedAndWalkGoesOn) {
  TempTree tree;
  const std::string f = tree.Folder("F");
  tree.File("F/top.mp3");
  for (const char* s : {"closed", "listonly", "enteronly", "open"}) {
    tree.Folder(std::string("F/") + s + "/deeper");
    tree.File(std::string("F/") + s + "/deeper/song.mp3");
    for (const char* song : {"1.mp3", "2.ogg", "3.wav"}) tree.File(std::string("F/") + s + "/" + song);
  }
  chmod((f + "closed").c_str(), 0000);
  // Names can be listed but not examined: all of them are left out.
  chmod((f + "listonly").c_str(), 0444);
  // Can be entered but not listed.
  chmod((f + "enteronly").c_str(), 0111);

  // Permissions do not stop root: the walk runs as an ordinary user.
  ASSERT_EQ(chmod(tree.path().c_str(), 0755), 0);
  EXPECT_TRUE(test::RunUnprivileged([&] {
    std::vector<std::string> found = Find(f);
    std::sort(found.begin(), found.end());
    return found == std::vector<std::string>{f + "open/1.mp3", f + "open/2.ogg", f + "open/3.wav",
                                             f + "open/deeper/song.mp3", f + "top.mp3"};
  }));
}

}  // namespace
}  // namespace orvo
