#include "playlist/path_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvo {
namespace {

using Paths = std::vector<std::string>;

PathList Filled(const Paths& paths) {
  PathList list;
  for (const auto& path : paths) list.append(path);
  return list;
}

TEST(PathListAdd, AfterClear_KeepsCallOrderAndCursorOnLast) {
  CurrentPlaylist list;
  list.filePath = "/lists/x.m3u";
  list.add("old");
  list.clear();
  EXPECT_EQ(list.filePath, "/lists/x.m3u");  // clear keeps the file path
  EXPECT_FALSE(list.hasCursor());
  list.add("a");
  list.add("b");
  list.add("c");
  EXPECT_EQ(list.paths(), (Paths{"a", "b", "c"}));
  EXPECT_EQ(list.index(), 2);
  EXPECT_FALSE(list.next());
  EXPECT_EQ(list.current(), "c");
}

TEST(PathListAdd, InsertsAfterCursorOrAtFrontWithoutCursor) {
  PathList list = Filled({"a", "b", "c"});
  list.add("front");
  EXPECT_EQ(list.index(), 0);
  ASSERT_TRUE(list.select(2));  // "b"
  list.add("after b");
  EXPECT_EQ(list.paths(), (Paths{"front", "a", "b", "after b", "c"}));
  EXPECT_EQ(list.current(), "after b");
}

TEST(PathListWalk, NextAndPreviousStopAtEnds) {
  PathList empty;
  EXPECT_FALSE(empty.next());
  EXPECT_FALSE(empty.previous());
  empty.first();
  EXPECT_FALSE(empty.hasCursor());
  empty.last();
  EXPECT_EQ(empty.index(), PathList::kNone);

  PathList list = Filled({"a", "b"});
  EXPECT_FALSE(list.previous());  // from none
  EXPECT_EQ(list.index(), PathList::kNone);
  ASSERT_TRUE(list.next());
  EXPECT_EQ(list.current(), "a");
  EXPECT_FALSE(list.previous());
  EXPECT_EQ(list.index(), 0);
  ASSERT_TRUE(list.next());
  EXPECT_FALSE(list.next());
  EXPECT_EQ(list.current(), "b");
  ASSERT_TRUE(list.previous());
  EXPECT_EQ(list.current(), "a");
  list.last();
  EXPECT_EQ(list.index(), 1);
  list.first();
  EXPECT_EQ(list.index(), 0);
  list.reset();
  EXPECT_FALSE(list.hasCursor());
}

TEST(PathListSelect, OutOfRangeLeavesCursor) {
  PathList list = Filled({"a", "b"});
  ASSERT_TRUE(list.select(1));
  EXPECT_FALSE(list.select(2));
  EXPECT_EQ(list.index(), 1);
  list.setCurrent("");
  EXPECT_EQ(list.paths(), (Paths{"a", ""}));
}

TEST(PathListSort, AsciiCaseFoldedAndStable) {
  PathList list = Filled({"b.mp3", "A.mp3", "a.mp3", "C.mp3"});
  list.sort();
  EXPECT_EQ(list.paths(), (Paths{"A.mp3", "a.mp3", "b.mp3", "C.mp3"}));

  // Folding to lower case puts "_" (0x5F) before letters; bytes above 127
  // are compared unsigned and not folded; a prefix sorts first.
  PathList mixed = Filled({"\xE9.mp3", "Z", "_x", "ab", "a", "\xC9.mp3"});
  mixed.sort();
  EXPECT_EQ(mixed.paths(), (Paths{"_x", "a", "ab", "Z", "\xC9.mp3", "\xE9.mp3"}));
}

TEST(PathListSort, CursorFollowsItsEntry) {
  PathList list = Filled({"c", "b", "a"});
  ASSERT_TRUE(list.select(0));
  list.sort();
  EXPECT_EQ(list.current(), "c");
  EXPECT_EQ(list.index(), 2);
}

}  // namespace
}  // namespace orvo
