#include "playlist/file_filter_list.h"

#include <gtest/gtest.h>

namespace orvo {

bool operator==(const FileFilter& a, const FileFilter& b) {
  return a.name == b.name && a.patterns == b.patterns;
}

void PrintTo(const FileFilter& f, std::ostream* os) {
  *os << f.name << " {";
  for (const std::string& p : f.patterns) *os << " " << p;
  *os << " }";
}

namespace {

TEST(ParseFileFilterList, MusicFilters_PatternsSplitAtSemicolonsStarDotStarBecomesStar) {
  const std::vector<FileFilter> expected = {
      {"mp3-files", {"*.mp3"}}, {"wav-files", {"*.wav"}}, {"ogg-files", {"*.ogg"}}, {"all files", {"*"}}};
  EXPECT_EQ(ParseFileFilterList("mp3-files|*.mp3|wav-files|*.wav|ogg-files|*.ogg|all files|*.*"), expected);
  const std::vector<FileFilter> several = {{"music", {"*.mp3", "*.ogg", "*"}}, {"lists", {"*m3u"}}};
  EXPECT_EQ(ParseFileFilterList("music|*.mp3;*.ogg;;*.*|lists|*m3u"), several);
}

TEST(ParseFileFilterList, MalformedLists_NoCrashAndNoInventedFilters) {
  EXPECT_TRUE(ParseFileFilterList("").empty());
  EXPECT_TRUE(ParseFileFilterList("only a name").empty());
  // A trailing name without its pattern field is dropped; an empty pattern
  // field gives a filter that matches nothing.
  const std::vector<FileFilter> expected = {{"a", {"*.a"}}, {"b", {}}};
  EXPECT_EQ(ParseFileFilterList("a|*.a|b||c"), expected);
  // "*.*" only counts as a whole pattern.
  const std::vector<FileFilter> literal = {{"x", {"*.*x", "a*.*"}}};
  EXPECT_EQ(ParseFileFilterList("x|*.*x;a*.*"), literal);
}

}  // namespace
}  // namespace orvo
