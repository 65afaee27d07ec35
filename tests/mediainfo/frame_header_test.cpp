#include "mediainfo/frame_header.h"

#include <gtest/gtest.h>

#include "mediainfo/memory_byte_source.h"
#include "mediainfo/song_info.h"
#include "song_bytes.h"

namespace orvo::test {
namespace {

std::optional<uint64_t> FrameStartIn(const Bytes& bytes) {
  MemoryByteSource source(bytes.data(), bytes.size());
  return FindFrameStart(source);
}

TEST(FindFrameStart, FirstByte255_ReturnsItsOffsetAcrossReadChunksOrNothing) {
  for (size_t at : {size_t(0), size_t(1), size_t(4095), size_t(4096), size_t(70001)}) {
    Bytes bytes = Bytes(at, 0x41) + Bytes{255, 7} + Zeros(5000);
    bytes[bytes.size() - 1] = 255;  // a later 255 must not win
    EXPECT_EQ(FrameStartIn(bytes), std::optional<uint64_t>(at)) << "255 at " << at;
  }
  EXPECT_EQ(FrameStartIn(Bytes()), std::nullopt);
  EXPECT_EQ(FrameStartIn(Bytes(9000, 254)), std::nullopt);
}

TEST(HasReservedSampleRate, OnlyIndex3UnderKnownVersion_IsInvalid) {
  struct Case {
    uint8_t byte1, byte2;
    bool invalid;
  };
  const Case cases[] = {
      {251, 144, false},   // version 1, 44100 Hz: the common header
      {251, 156, true},    // version 1, index 3
      {0xF3, 0x0C, true},  // version 2, index 3
      {0xE3, 0x0C, true},  // version 2.5, index 3
      {0xEB, 0x0C, false}, // reserved version with index 3 is not an error
      {0x1B, 0xF3, false}, // sync bits not tested; other bits of byte 2 ignored
      {0x18, 0x0D, true},  // only bits 4-3 of byte 1 and 3-2 of byte 2 count
      {0xFF, 0x08, false}, // index 2
  };
  for (const Case& c : cases) {
    const uint8_t header[4] = {255, c.byte1, c.byte2, 0};
    EXPECT_EQ(HasReservedSampleRate(header), c.invalid) << int(c.byte1) << " " << int(c.byte2);
  }
}

class ReadSongInfoHeader : public ::testing::Test {
 protected:
  bool Read(const Bytes& bytes) { return ReadSongInfo(folder_.Write("song.mp3", bytes), info_); }
  TempFolder folder_;
  SongInfo info_;
};

TEST_F(ReadSongInfoHeader, Index3_MarkerInArtistAndTagsIgnored) {
  const Bytes tagged = Id3v2Header(3) + FrameV3("TIT2", "Song") + Zeros(10);
  EXPECT_FALSE(Read(tagged + Bytes{255, 251, 156, 100} + Zeros(50) + Id3v1("T1", "A1", "B1")));
  EXPECT_EQ(info_.artist, "<<|none|<<");
  EXPECT_EQ(info_.title, "");
  EXPECT_EQ(info_.album, "");

  // A reserved version with index 3 is no error.
  info_.clear();
  EXPECT_TRUE(Read(Id3v2Header(3) + FrameV3("TIT2", "Song") + Zeros(10) +
                   Bytes{255, 0xEB, 0x9C, 0} + Zeros(20)));
  EXPECT_EQ(info_.title, "Song");
}

TEST_F(ReadSongInfoHeader, Byte255InsideTag_CheckedThereNotAtAudio) {
  // The frame search does not skip the tag: a 255 in a frame is the start.
  const Bytes audio = Audio();
  EXPECT_FALSE(Read(Id3v2Header(3) + FrameV3("TPE1", "X\xFF\xFB\x9C") + Zeros(10) + audio));
  EXPECT_EQ(info_.artist, "<<|none|<<");

  info_.clear();
  EXPECT_TRUE(Read(Id3v2Header(3) + FrameV3("TPE1", "X\xFF\xFB\x90") + Zeros(10) + Bytes{255, 251, 156} +
                   Zeros(10)));
  EXPECT_EQ(info_.artist, "X\xFF\xFB\x90");
}

TEST_F(ReadSongInfoHeader, FrameAtOffsetZero_NoId3v2ButId3v1) {
  // Byte 3 is 3, and a TIT2 frame sits at offset 10, yet there is no room
  // for an ID3v2 tag before a frame at offset 0.
  EXPECT_TRUE(Read(Bytes{255, 251, 144, 3} + Zeros(6) + FrameV3("TIT2", "Wrong") + Zeros(40) +
                   Id3v1("Right", "A", "B")));
  EXPECT_EQ(info_.title, "Right");
}

}  // namespace
}  // namespace orvo::test
