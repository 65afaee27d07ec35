#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "ui/folder_listing.h"
#include "ui/playlist_file_names.h"
#include "ui/speed_field.h"

namespace orvo {
namespace {

TEST(ParseSpeedField, BasesSignsAndBlanks_ReadLikeThePreferencesField) {
  EXPECT_EQ(ParseSpeedField("$ff"), 255);
  EXPECT_EQ(ParseSpeedField("$A"), 10);
  EXPECT_EQ(ParseSpeedField("%101"), 5);
  EXPECT_EQ(ParseSpeedField(" 25"), 25);
  EXPECT_EQ(ParseSpeedField("\t \t7"), 7);
  EXPECT_EQ(ParseSpeedField("-3"), -3);
  EXPECT_EQ(ParseSpeedField("+4"), 4);
  EXPECT_EQ(ParseSpeedField("-$10"), -16);
}

TEST(ParseSpeedField, StopsAtFirstCharacterOutsideTheBase) {
  EXPECT_EQ(ParseSpeedField("12abc"), 12);
  EXPECT_EQ(ParseSpeedField("%1021"), 2);
  EXPECT_EQ(ParseSpeedField("$1g"), 1);
  EXPECT_EQ(ParseSpeedField("0x10"), 0);
  EXPECT_EQ(ParseSpeedField("5 6"), 5);
}

TEST(ParseSpeedField, NoDigits_GivesZero) {
  EXPECT_EQ(ParseSpeedField("abc"), 0);
  EXPECT_EQ(ParseSpeedField(""), 0);
  EXPECT_EQ(ParseSpeedField("   "), 0);
  EXPECT_EQ(ParseSpeedField("-"), 0);
  EXPECT_EQ(ParseSpeedField("$"), 0);
  EXPECT_EQ(ParseSpeedField("--1"), 0);
}

TEST(ParseSpeedField, HugeNumbers_SaturateInsteadOfOverflowing) {
  EXPECT_EQ(ParseSpeedField("99999999999999999999999"), 2147483647);
  EXPECT_EQ(ParseSpeedField("-$ffffffffffffffffffff"), -2147483647);
}

TEST(WithPlaylistExtension, M3uInAnyCaseKept_OtherwiseAppended) {
  EXPECT_EQ(WithPlaylistExtension("/p/list.m3u"), "/p/list.m3u");
  EXPECT_EQ(WithPlaylistExtension("/p/LIST.M3U"), "/p/LIST.M3U");
  EXPECT_EQ(WithPlaylistExtension("/p/list.M3u"), "/p/list.M3u");
  EXPECT_EQ(WithPlaylistExtension("/p/list"), "/p/list.m3u");
  EXPECT_EQ(WithPlaylistExtension("/p/list.txt"), "/p/list.txt.m3u");
  EXPECT_EQ(WithPlaylistExtension("/p/list.m3u8"), "/p/list.m3u8.m3u");
  EXPECT_EQ(WithPlaylistExtension("/p/m3u"), "/p/m3u.m3u");
}

TEST(WithPlaylistExtension, DotsInTheFolderAreNoExtension) {
  EXPECT_EQ(WithPlaylistExtension("/music.m3u/list"), "/music.m3u/list.m3u");
  EXPECT_EQ(WithPlaylistExtension("/a.b/c d"), "/a.b/c d.m3u");
}

TEST(SplitFolderAndName, FolderKeepsItsSlash) {
  const FolderAndName found = SplitFolderAndName("/m/sub dir/x.mp3");
  EXPECT_EQ(found.folder, "/m/sub dir/");
  EXPECT_EQ(found.name, "x.mp3");
  EXPECT_EQ(SplitFolderAndName("x.mp3").folder, "");
  EXPECT_EQ(SplitFolderAndName("x.mp3").name, "x.mp3");
  EXPECT_EQ(SplitFolderAndName("/m/").name, "");
}

TEST(EqualIgnoringCase, FoldsAsciiLettersOnly) {
  EXPECT_TRUE(EqualIgnoringCase("/P/A.M3U", "/p/a.m3u"));
  EXPECT_FALSE(EqualIgnoringCase("/p/a.m3u", "/p/a.m3"));
  EXPECT_FALSE(EqualIgnoringCase("\xc9", "\xe9"));  // not a letter pair in ASCII
}

class FilesMatchingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvo-listing.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    EXPECT_EQ(std::system(("rm -rf '" + folder + "'").c_str()), 0);
  }
  void Touch(const std::string& name) { std::ofstream(folder + "/" + name) << "x"; }
  std::string folder;
};

TEST_F(FilesMatchingTest, CaseSensitivePatternWithoutFoldersOrHiddenNames) {
  for (const char* name : {"a.ini", "B.ini", "c.INI", "d.ini.bak", ".hidden.ini", "e f.ini"}) Touch(name);
  ASSERT_EQ(mkdir((folder + "/sub.ini").c_str(), 0700), 0);
  ASSERT_EQ(symlink("a.ini", (folder + "/link.ini").c_str()), 0);
  std::vector<std::string> names = FilesMatching(folder, "*.ini");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"B.ini", "a.ini", "e f.ini", "link.ini"}));
  // The folder may be given with its trailing slash.
  EXPECT_EQ(FilesMatching(folder + "/", "*.ini").size(), 4u);
}

TEST_F(FilesMatchingTest, MissingFolder_GivesNothing) {
  EXPECT_TRUE(FilesMatching(folder + "/missing", "*.m3u").empty());
  EXPECT_TRUE(FilesMatching("", "*.m3u").empty());
}

}  // namespace
}  // namespace orvo
