#include "playlist/file_filter_list.h"

#include <gtest/gtest.h>

// Names and pattern fields alternate; patterns split at ";", "*.*" becomes "*"; empty patterns, and a
// last name without its pattern field, are dropped.
TEST(ParseFileFilterList, List_NamedFiltersWithTheirPatterns) {
  std::string out;
  for (const orvo::FileFilter& filter : orvo::ParseFileFilterList("m|*.a;*.*x;;*.*|l|*m3u|x||only")) {
    out += filter.name + ":";
    for (const std::string& pattern : filter.patterns) out += pattern + " ";
  }
  EXPECT_EQ(out, "m:*.a *.*x * l:*m3u x:");
}
