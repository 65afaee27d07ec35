#include "base/latin1.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace orvo {
namespace {

// glibc's converter is the independent reference for every Latin-1 byte.
std::string IconvLatin1ToUtf8(std::string in) {
  iconv_t cd = iconv_open("UTF-8", "ISO-8859-1");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string out(in.size() * 4 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  EXPECT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1));
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

TEST(ToUtf8, EveryLatin1Byte_MatchesIconvAlsoInsideAndAfterNul) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) {
    const std::string latin1(1, static_cast<char>(byte));
    EXPECT_EQ(ToUtf8(latin1), IconvLatin1ToUtf8(latin1)) << "byte " << byte;
    all += latin1 + "a";
  }
  EXPECT_EQ(ToUtf8(all), IconvLatin1ToUtf8(all));
  EXPECT_TRUE(IsValidUtf8(ToUtf8(all)));
  EXPECT_EQ(ToUtf8(""), "");
}

TEST(IsValidUtf8, WellFormedAcceptedMalformedRejected) {
  for (const char* good : {"", "/usr/local/bin/Orvo_M", "/home/jos\xC3\xA9/\xE2\x82\xAC/\xF0\x9F\x8E\xB5",
                           "\xF4\x8F\xBF\xBF" /* U+10FFFF, the last code point */}) {
    EXPECT_TRUE(IsValidUtf8(good)) << good;
  }
  for (const char* bad : {"/home/jos\xE9/",   // Latin-1 byte
                          "\xC0\xAF",         // overlong "/"
                          "\xE0\x80\xAF",     // overlong, three bytes
                          "\xED\xA0\x80",     // surrogate U+D800
                          "\xF4\x90\x80\x80", // above U+10FFFF
                          "abc\xE2\x82",      // cut off at the end
                          "\x80",             // lone continuation byte
                          "\xE2\x28\xA1"}) {  // broken continuation
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  }
}

}  // namespace
}  // namespace orvo
