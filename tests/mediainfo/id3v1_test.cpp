#include <gtest/gtest.h>

#include "mediainfo/memory_byte_source.h"
#include "mediainfo/song_info.h"
#include "song_bytes.h"

namespace orvo::test {
namespace {

// Audio first, so no ID3v2 walk interferes with what the ID3v1 tag gives.
SongInfo ReadWithV1(const Bytes& tag, SongInfo info = {}) {
  const Bytes file = Audio() + tag;
  MemoryByteSource source(file.data(), file.size());
  EXPECT_TRUE(ReadSongInfo(source, info));
  return info;
}

// Fields of exactly thirty bytes run neither into the next field nor into the
// year; padding blanks are kept; empty fields replace what was there.
TEST(Id3v1, Fields_ReadAtTheirOffsetsAndSetEvenWhenEmpty) {
  const SongInfo info = ReadWithV1(Id3v1("The Title", "The Artist", "The Album"));
  EXPECT_EQ(info.title, "The Title");
  EXPECT_EQ(info.artist, "The Artist");
  EXPECT_EQ(info.album, "The Album");

  const std::string thirty = "123456789012345678901234567890";
  const std::string padded = "Caf\xE9" + std::string(26, ' ');
  const SongInfo full = ReadWithV1(Id3v1(thirty, padded, thirty));
  EXPECT_EQ(full.title, thirty);
  EXPECT_EQ(full.artist, padded);
  EXPECT_EQ(full.album, thirty);

  const SongInfo empty = ReadWithV1(Id3v1("", "", ""), SongInfo{"old", "old", "old"});
  EXPECT_EQ(empty.title + empty.artist + empty.album, "");
}

TEST(Id3v1, WithoutTagMarkOrFileShorterThanTag_NothingSet) {
  Bytes tag = Id3v1("T", "A", "B");
  tag[2] = 'g';
  const SongInfo unmarked = ReadWithV1(tag, SongInfo{"a", "t", "b"});
  EXPECT_EQ(unmarked.artist, "a");
  EXPECT_EQ(unmarked.title, "t");

  // 127 bytes beginning with "TAG": clamping the tag's offset to 0 would
  // find one.
  tag[2] = 'G';
  Bytes file(tag.begin(), tag.end() - 1);
  file.back() = 255;
  MemoryByteSource source(file.data(), file.size());
  SongInfo info;
  EXPECT_TRUE(ReadSongInfo(source, info));
  EXPECT_EQ(info.title, "");

  // Exactly 128 bytes: the whole file is the tag.
  MemoryByteSource whole(tag.data(), tag.size());
  EXPECT_TRUE(ReadSongInfo(whole, info));
  EXPECT_EQ(info.title, "T");
}

}  // namespace
}  // namespace orvo::test
