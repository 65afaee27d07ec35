#include "playlist/file_filter_list.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

// Names and pattern fields alternate; "*.*" becomes "*"; empty patterns, and a last name without its
// pattern field, are dropped.
TEST(ParseFileFilterList, Lists_NamedFiltersWithTheirPatterns) {
  const char* rows[][2] = {{"mp3|*.mp3|all|*.*", "mp3:*.mp3 |all:* |"}, {"m|*.a;*.b;;*.*|l|*m3u", "m:*.a *.b * |l:*m3u |"},
                           {"a|*.a|b||c", "a:*.a |b:|"}, {"x|*.*x;a*.*", "x:*.*x a*.* |"}, {"only", ""}};
  for (const auto& r : rows) {
    std::string out;
    for (const FileFilter& filter : ParseFileFilterList(r[0])) {
      out += filter.name + ":";
      for (const std::string& pattern : filter.patterns) out += pattern + " ";
      out += "|";
    }
    EXPECT_EQ(out, r[1]) << r[0];
  }
}

}  // namespace
}  // namespace orvo
