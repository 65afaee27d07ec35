#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "base/ascii.h"
#include "base/file_name.h"
#include "base/folder_listing.h"
#include "mediainfo/song_info.h"
#include "playlist/m3u.h"
#include "tests/support/scratch_dir.h"
#include "ui/windows/playlist_row.h"
#include "ui/windows/speed_field.h"

namespace orvo {
namespace {

TEST(MakePlaylistRow, TitleDecidesBetweenTagsAndPath) {
  const PlaylistRow tagged = MakePlaylistRow("/m/a.mp3", {"Artist", "Title", "Album"});
  EXPECT_EQ(tagged.title, "Title");
  EXPECT_EQ(tagged.artist, "Artist");
  EXPECT_EQ(tagged.path, "/m/a.mp3");

  const PlaylistRow untitled = MakePlaylistRow("/m/a&b.mp3", {"Artist", "", "Album"});
  EXPECT_EQ(untitled.title, "/m/a&b.mp3");
  EXPECT_EQ(untitled.artist, "");
  EXPECT_EQ(untitled.path, "");
}


TEST(ParseSpeedField, Texts_ReadLikeThePreferencesField) {
  const std::pair<const char*, int> cases[] = {
      // Bases, signs and leading blanks.
      {"$ff", 255}, {"$A", 10}, {"%101", 5}, {" 25", 25}, {"\t \t7", 7}, {"-3", -3}, {"+4", 4},
      {"-$10", -16},
      // Reading stops at the first character outside the base.
      {"12abc", 12}, {"%1021", 2}, {"$1g", 1}, {"0x10", 0}, {"5 6", 5},
      // No digits give zero.
      {"abc", 0}, {"", 0}, {"   ", 0}, {"-", 0}, {"$", 0}, {"--1", 0},
      // Huge numbers saturate instead of overflowing.
      {"99999999999999999999999", 2147483647}, {"-$ffffffffffffffffffff", -2147483647}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseSpeedField(text), value) << '"' << text << '"';
}

TEST(PlaylistFileNames, ExtensionFolderSplitAndCaseFolding) {
  const std::pair<const char*, const char*> names[] = {
      // ".m3u" in any case is kept, anything else gets it appended; dots in
      // the folder are no extension.
      {"/p/list.m3u", "/p/list.m3u"},       {"/p/LIST.M3U", "/p/LIST.M3U"},
      {"/p/list.M3u", "/p/list.M3u"},       {"/p/list", "/p/list.m3u"},
      {"/p/list.txt", "/p/list.txt.m3u"},   {"/p/list.m3u8", "/p/list.m3u8.m3u"},
      {"/p/m3u", "/p/m3u.m3u"},             {"/music.m3u/list", "/music.m3u/list.m3u"},
      {"/a.b/c d", "/a.b/c d.m3u"}};
  for (const auto& [name, expected] : names) EXPECT_EQ(WithM3uExtension(name), expected);

  const FolderAndName found = SplitFolderAndName("/m/sub dir/x.mp3");
  EXPECT_EQ(found.folder, "/m/sub dir/");
  EXPECT_EQ(found.name, "x.mp3");
  EXPECT_EQ(SplitFolderAndName("x.mp3").folder, "");
  EXPECT_EQ(SplitFolderAndName("x.mp3").name, "x.mp3");
  EXPECT_EQ(SplitFolderAndName("/m/").name, "");

  EXPECT_TRUE(EqualsIgnoringAsciiCase("/P/A.M3U", "/p/a.m3u"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("/p/a.m3u", "/p/a.m3"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\xc9", "\xe9"));  // not a letter pair in ASCII
}

TEST(FilesMatching, CaseSensitivePatternWithoutFoldersOrHiddenNames) {
  test::ScratchDir dir;
  for (const char* name : {"a.ini", "B.ini", "c.INI", "d.ini.bak", ".hidden.ini", "e f.ini"}) {
    test::WriteBytes(dir.file(name), "x");
  }
  ASSERT_EQ(mkdir(dir.file("sub.ini").c_str(), 0700), 0);
  ASSERT_EQ(symlink("a.ini", dir.file("link.ini").c_str()), 0);
  std::vector<std::string> names = FilesMatching(dir.path(), "*.ini");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"B.ini", "a.ini", "e f.ini", "link.ini"}));
  // The folder may be given with its trailing slash; a missing one gives nothing.
  EXPECT_EQ(FilesMatching(dir.path() + "/", "*.ini").size(), 4u);
  EXPECT_TRUE(FilesMatching(dir.file("missing"), "*.m3u").empty());
  EXPECT_TRUE(FilesMatching("", "*.m3u").empty());
}

}  // namespace
}  // namespace orvo
