#include "playback/now_playing.h"

#include <gtest/gtest.h>

namespace orvo::test {
namespace {

// A character is a lead byte with its continuation bytes; broken sequences move byte by byte.
TEST(RotateFirstCharacter, Texts_OneWholeCharacterMovesToTheEnd) {
  const char* rows[][2] = {{"abc", "bca"}, {"", ""}, {"\xE2\x82\xAC!", "!\xE2\x82\xAC"}, {"\xF0\x9F\x8E\xB5x", "x\xF0\x9F\x8E\xB5"},
                           {"\xC3" "ab", "ab\xC3"}, {"\xA9" "ab", "ab\xA9"}, {"\xE2\x82", "\xE2\x82"}};
  for (const auto& r : rows) EXPECT_EQ(RotateFirstCharacter(r[0]), r[1]) << r[0];
}

}  // namespace
}  // namespace orvo::test
