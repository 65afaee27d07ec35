#include "base/latin1.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

// Bytes from 0x80 up become two bytes; valid UTF-8 holds no Latin-1 byte, overlong form, surrogate,
// code point past U+10FFFF, cut-off or stray byte.
TEST(Latin1, ConvertedToUtf8AndUtf8Checked) {
  EXPECT_EQ(ToUtf8(std::string("\0\x7F\x80\xBF\xC0\xE9\xFF", 7)), std::string("\0\x7F\xC2\x80\xC2\xBF\xC3\x80\xC3\xA9\xC3\xBF", 12));
  for (const char* text : {"", "/jos\xC3\xA9/\xE2\x82\xAC/\xF0\x9F\x8E\xB5", "\xF4\x8F\xBF\xBF", "\x7F"}) EXPECT_TRUE(IsValidUtf8(text)) << text;
  for (const char* text : {"jos\xE9", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "abc\xE2\x82", "\x80", "\xE2(\xA1"}) {
    EXPECT_FALSE(IsValidUtf8(text)) << text;
  }
}

}  // namespace
}  // namespace orvo
