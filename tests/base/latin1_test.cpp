#include "base/latin1.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace orvo {
namespace {

// glibc's converter is the reference for every Latin-1 byte, NUL included.
TEST(ToUtf8, EveryLatin1Byte_AsIconvConvertsIt) {
  std::string all, expected(1024, '\0');
  for (int byte = 0; byte < 256; ++byte) all += char(byte);
  char *in = all.data(), *out = expected.data();
  size_t inLeft = all.size(), outLeft = expected.size();
  const iconv_t cd = iconv_open("UTF-8", "ISO-8859-1");
  ASSERT_NE(iconv(cd, &in, &inLeft, &out, &outLeft), size_t(-1));
  iconv_close(cd);
  expected.resize(expected.size() - outLeft);
  EXPECT_EQ(ToUtf8(all), expected);
  EXPECT_TRUE(IsValidUtf8(expected));
}

// Invalid: a Latin-1 byte, overlong forms, a surrogate, past U+10FFFF, cut off, stray bytes.
TEST(IsValidUtf8, WellFormedOnly) {
  for (const char* text : {"", "/jos\xC3\xA9/\xE2\x82\xAC/\xF0\x9F\x8E\xB5", "\xF4\x8F\xBF\xBF"}) {
    EXPECT_TRUE(IsValidUtf8(text)) << text;
  }
  for (const char* text : {"jos\xE9", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                           "abc\xE2\x82", "\x80", "\xE2(\xA1"}) {
    EXPECT_FALSE(IsValidUtf8(text)) << text;
  }
}

}  // namespace
}  // namespace orvo
