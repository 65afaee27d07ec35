#include "ui/to_utf8.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace orvo {
namespace {

// glibc's converter is the independent reference for every Latin-1 byte.
std::string IconvLatin1ToUtf8(const std::string& latin1) {
  iconv_t cd = iconv_open("UTF-8", "ISO-8859-1");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string in = latin1;
  std::string out(in.size() * 4 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  EXPECT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1));
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

TEST(ToUtf8, EveryLatin1Byte_MatchesIconv) {
  for (int byte = 1; byte < 256; ++byte) {
    const std::string latin1(1, static_cast<char>(byte));
    EXPECT_EQ(ToUtf8(latin1), IconvLatin1ToUtf8(latin1)) << "byte " << byte;
  }
}

TEST(ToUtf8, MixedText_KeepsAsciiAndWidensAccents) {
  EXPECT_EQ(ToUtf8("Caf\xE9 \xABM\xFCnchen\xBB \xFF!"),
            "Caf\xC3\xA9 \xC2\xABM\xC3\xBCnchen\xC2\xBB \xC3\xBF!");
  EXPECT_EQ(ToUtf8("Now playing song 1 of 2\n"), "Now playing song 1 of 2\n");
  EXPECT_EQ(ToUtf8(""), "");
}

TEST(ToUtf8, EmbeddedNul_IsCopiedNotEndOfText) {
  const std::string input("a\0\xE9", 3);
  EXPECT_EQ(ToUtf8(input), std::string("a\0\xC3\xA9", 4));
}

TEST(IsValidUtf8, WellFormedText_Accepted) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("/usr/local/bin/Orvo_M"));
  EXPECT_TRUE(IsValidUtf8("/home/jos\xC3\xA9/\xE2\x82\xAC/\xF0\x9F\x8E\xB5"));
  EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF, the last code point
}

TEST(IsValidUtf8, MalformedText_Rejected) {
  EXPECT_FALSE(IsValidUtf8("/home/jos\xE9/"));       // Latin-1 byte
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));             // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));         // overlong, three bytes
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));         // surrogate U+D800
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));     // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("abc\xE2\x82"));          // cut off at the end
  EXPECT_FALSE(IsValidUtf8("\x80"));                 // lone continuation byte
  EXPECT_FALSE(IsValidUtf8("\xE2\x28\xA1"));         // broken continuation
}

TEST(ToUtf8, AnyLatin1Input_GivesValidUtf8) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  EXPECT_TRUE(IsValidUtf8(ToUtf8(all)));
  EXPECT_EQ(ToUtf8(all).size(), 128u + 2u * 128u);
}

}  // namespace
}  // namespace orvo
