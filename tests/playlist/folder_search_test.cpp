#include "playlist/folder_search.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace orvo {
namespace {

namespace fs = std::filesystem;

// A private folder tree, removed with everything in it when the test ends.
class TempTree {
 public:
  TempTree() {
    std::string templ = (fs::temp_directory_path() / "orvo-search-XXXXXX").string();
    root_ = mkdtemp(templ.data()) ? templ + "/" : std::string();
    if (!root_.empty()) chmod(root_.c_str(), 0755);
  }
  ~TempTree() {
    if (root_.empty()) return;
    // Give every folder back its permissions so that removal can enter it.
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root_, ec); !ec && it != fs::end(it);) {
      if (it->is_directory(ec) && !it->is_symlink(ec)) chmod(it->path().c_str(), 0755);
      it.increment(ec);
    }
    chmod(root_.c_str(), 0755);
    fs::remove_all(root_, ec);
  }
  const std::string& root() const { return root_; }
  std::string Folder(const std::string& rel) const {
    fs::create_directories(root_ + rel);
    return root_ + rel + "/";
  }
  std::string File(const std::string& rel) const {
    std::ofstream(root_ + rel) << "x";
    return root_ + rel;
  }
  std::string Link(const std::string& target, const std::string& rel) const {
    fs::create_symlink(target, root_ + rel);
    return root_ + rel;
  }

 private:
  std::string root_;
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

TEST(IsMusicFileName, Extensions_ComparedWithoutCaseAfterLastDot) {
  for (const char* name : {"a.mp3", "b.MP3", "c.Wav", "d.ogg", "e.x.OGG", ".mp3", "f g.mp3"}) {
    EXPECT_TRUE(IsMusicFileName(name, true)) << name;
    EXPECT_TRUE(IsMusicFileName(name, false)) << name;
  }
  for (const char* name : {"mp3", "a.mp3.txt", "a.mp33", "a.mp", "a.", "", "a.m3u", "a.flac"}) {
    EXPECT_FALSE(IsMusicFileName(name, true)) << name;
    EXPECT_FALSE(IsMusicFileName(name, false)) << name;
  }
}

TEST(IsMusicFileName, Mpc_OnlyInChosenFolder) {
  EXPECT_TRUE(IsMusicFileName("x.MPC", true));
  EXPECT_TRUE(IsMusicFileName("x.mpc", true));
  EXPECT_FALSE(IsMusicFileName("y.mpc", false));
}

TEST(FindMusicFiles, Tree_ChosenFilesFirstThenDepthFirstPreOrder) {
  TempTree tree;
  ASSERT_FALSE(tree.root().empty());
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

TEST(FindMusicFiles, FolderWithoutTrailingSlash_PathsJoinedWithOneSlash) {
  TempTree tree;
  ASSERT_FALSE(tree.root().empty());
  tree.Folder("F/sub");
  tree.File("F/sub/a.mp3");
  const std::string f = tree.root() + "F";
  EXPECT_EQ(Find(f), std::vector<std::string>{f + "/sub/a.mp3"});
}

TEST(FindMusicFiles, MpcInSubfolder_NotFound) {
  TempTree tree;
  ASSERT_FALSE(tree.root().empty());
  const std::string f = tree.Folder("F/sub");
  const std::string top = tree.root() + "F/";
  tree.File("F/x.MPC");
  tree.File("F/sub/y.mpc");
  tree.File("F/sub/z.OGG");
  const std::vector<std::string> found = Find(top);
  EXPECT_EQ(found, (std::vector<std::string>{top + "x.MPC", f + "z.OGG"}));
}

TEST(FindMusicFiles, SymbolicLinks_CountAsFilesAndAreNotEntered) {
  TempTree tree;
  ASSERT_FALSE(tree.root().empty());
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
  ASSERT_FALSE(tree.root().empty());
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
  ASSERT_FALSE(tree.root().empty());
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
  ASSERT_FALSE(tree.root().empty());
  EXPECT_TRUE(Find(tree.root() + "nowhere/").empty());
  EXPECT_TRUE(Find(tree.Folder("empty")).empty());
  EXPECT_TRUE(Find("").empty());
  // A music file chosen in place of a folder is not a folder to search.
  EXPECT_TRUE(Find(tree.File("a.mp3") + "/").empty());
}

TEST(FindMusicFiles, FoundFilesAppended_EarlierContentKept) {
  TempTree tree;
  ASSERT_FALSE(tree.root().empty());
  const std::string f = tree.Folder("F");
  tree.File("F/a.mp3");
  std::vector<std::string> found{"earlier"};
  FindMusicFiles(f, found);
  EXPECT_EQ(found, (std::vector<std::string>{"earlier", f + "a.mp3"}));
}

// Runs the search as an ordinary user when the test runs as root, whose
// permissions do not stop any read. The result comes back through a pipe, one
// path per line.
bool FindAsOrdinaryUser(const std::string& folder, std::vector<std::string>& found,
                        std::string& whyNot) {
  if (geteuid() != 0) {
    FindMusicFiles(folder, found);
    return true;
  }
  const passwd* nobody = getpwnam("nobody");
  if (!nobody) {
    whyNot = "running as root and no user \"nobody\" to drop to";
    return false;
  }
  int fds[2];
  if (pipe(fds) != 0) {
    whyNot = "no pipe";
    return false;
  }
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    if (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) _exit(3);
    std::vector<std::string> result;
    FindMusicFiles(folder, result);
    std::string text;
    for (const std::string& path : result) text += path + "\n";
    const bool written = write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
    _exit(written ? 0 : 4);
  }
  close(fds[1]);
  std::string text;
  char buffer[4096];
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) == 3) {
    whyNot = "running as root and cannot change to user \"nobody\"";
    return false;
  }
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
       start = end + 1) {
    found.push_back(text.substr(start, end - start));
  }
  return WEXITSTATUS(status) == 0;
}

TEST(FindMusicFiles, UnreadableFolders_SkippedAndWalkGoesOn) {
  TempTree tree;
  ASSERT_FALSE(tree.root().empty());
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

  std::vector<std::string> found;
  std::string whyNot;
  if (!FindAsOrdinaryUser(f, found, whyNot)) GTEST_SKIP() << whyNot;
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{f + "open/1.mp3", f + "open/2.ogg", f + "open/3.wav",
                                             f + "open/deeper/song.mp3", f + "top.mp3"}));
}

}  // namespace
}  // namespace orvo
