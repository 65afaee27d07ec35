#include <gtest/gtest.h>

#include <cstdint>

#include "mediainfo/memory_byte_source.h"
#include "mediainfo/song_info.h"
#include "song_bytes.h"

namespace orvo::test {
namespace {

SongInfo Read(const Bytes& file, SongInfo info = {}) {
  MemoryByteSource source(file.data(), file.size());
  EXPECT_TRUE(ReadSongInfo(source, info));
  return info;
}

// A frame holding a valid frame header, for files whose frame search must
// end inside the tag.
const Bytes kSyncFrame = FrameV3("TXXX", "\xFF\xFB\x90");

Bytes ShortTagHeader() {
  Bytes header = Id3v2Header(3);
  header[8] = 0;
  header[9] = 15;
  return header;
}

// Files whose three fields come straight from their frames.
TEST(Id3v2, FrameTexts_ReadPerField) {
  const struct {
    const char* name;
    Bytes file;
    std::string title, artist, album;
  } cases[] = {
      {"v3 frames among others",
       Id3v2Header(3) + FrameV3("TYER", "1999") + FrameV3("TIT2", "Title") + FrameV3("TPE2", "Band") +
           FrameV3("TPE1", "Artist") + FrameV3("COMM", "Note") + FrameV3("TALB", "Album") + Zeros(20) + Audio(),
       "Title", "Artist", "Album"},
      // A frame of size 1 holds only the encoding byte.
      {"frame wins per field, empty frame replaces",
       Id3v2Header(3) + FrameV3("TIT2", "") + FrameV3("TPE1", "New") + Zeros(10) + Audio() +
           Id3v1("Old title", "Old artist", "Old album"),
       "", "New", "Old album"},
      {"text ends at zero byte or after size-1 bytes",
       Id3v2Header(3) + FrameV3("TIT2", std::string_view("Ab\0cd", 5)) + FrameV3("TPE1", "Hello") +
           FrameV3("TALB", "X") + Zeros(10) + Audio(),
       "Ab", "Hello", "X"},
      {"huge text keeps its first 64 KiB, walk steps over all of it",
       Id3v2Header(3) + FrameV3("TIT2", std::string(200000, 'x')) + FrameV3("TPE1", "Artist") + Zeros(10) +
           Audio(),
       std::string(64 * 1024, 'x'), "Artist", ""},
      {"UTF-16 text up to its first zero byte",
       Id3v2Header(3) + FrameV3("TIT2", std::string_view("\xFF\xFEH\0i\0", 6), 1) +
           FrameV3("TPE1", std::string_view("\xFE\xFF\0H\0i", 6), 1) + Zeros(10) + Audio(),
       "\xFF\xFEH", "\xFE\xFF", ""},
      // Any bytes before the first frame are a tag header; byte 3 decides.
      {"header identifier not compared", B("abc\x03") + Zeros(6) + FrameV3("TALB", "Walked") + Zeros(10) + Audio(),
       "", "", "Walked"},
      // The tag claims to end after the title frame.
      {"walk goes past the tag size",
       ShortTagHeader() + FrameV3("TIT2", "Song") + FrameV3("TPE1", "After") + Zeros(10) + Audio(), "Song",
       "After", ""},
      {"identifier with a zero byte matches nothing",
       Id3v2Header(3) + FrameV3(std::string_view("TIT\0", 4), "Prefix") + FrameV3("TPE", "Short") + Zeros(10) +
           Audio(),
       "", "", ""},
      {"v2 layout: three-byte frames until size zero",
       Id3v2Header(2) + FrameV2("TT2", "") + B("XXX") + Bytes{0, 1, 0} + Bytes(256, 'x') +
           FrameV2("TP1", "Artist") + FrameV2("TAL", "Album") + B("TCO\0\0\0") + FrameV2("TT2", "Late") +
           Zeros(6) + Audio() + Id3v1("Old", "", ""),
       "", "Artist", "Album"},
  };
  for (const auto& c : cases) {
    const SongInfo info = Read(c.file);
    EXPECT_EQ(info.title, c.title) << c.name;
    EXPECT_EQ(info.artist, c.artist) << c.name;
    EXPECT_EQ(info.album, c.album) << c.name;
  }
}

TEST(Id3v2, FrameSizes_BigEndianInV3SynchsafeInV4) {
  // 0x81 is 129 as a plain byte but 1 as a 7-bit group; 00 00 01 00 is
  // 256 big-endian but 128 synchsafe. Synchsafe groups keep 7 bits each.
  const Bytes v3 = Id3v2Header(3) + B("TXXX") + Bytes{0, 0, 0, 0x81, 0, 0} + Bytes(129, 'x') +
                   FrameV3("TIT2", "Three") + Zeros(10) + Audio();
  EXPECT_EQ(Read(v3).title, "Three");
  const Bytes v4 = Id3v2Header(4) + B("TXXX") + Bytes{0, 0, 0, 0x81, 0, 0} + Bytes{0} + B("TXXX") +
                   Bytes{0, 0, 1, 0, 0, 0} + Bytes(128, 'x') + FrameV4("TIT2", "Four") + Zeros(10) + Audio();
  EXPECT_EQ(Read(v4).title, "Four");
}

TEST(Id3v2, FlagBit0x20_MovesFirstFrameOfV3AndV4Only) {
  for (uint8_t major : {3, 4}) {
    EXPECT_EQ(Read(Id3v2Header(major, 0x20) + B("JUNKJU") + FrameV3("TIT2", "At16") + Zeros(10) + Audio()).title,
              "At16");
  }
  // The extended-header bit does not move it, and layout 2 ignores flags.
  EXPECT_EQ(Read(Id3v2Header(3, 0x40) + FrameV3("TIT2", "At10") + Zeros(10) + Audio()).title, "At10");
  EXPECT_EQ(Read(Id3v2Header(2, 0x20) + FrameV2("TT2", "At10") + Zeros(6) + Audio()).title, "At10");
}

TEST(Id3v2, OtherMajorVersions_NoFramesButId3v1) {
  for (uint8_t major : {0, 1, 5, 255}) {
    const SongInfo info =
        Read(Id3v2Header(major) + FrameV3("TIT2", "Frame") + FrameV2("TT2", "Frame") + Zeros(10) + Audio() +
             Id3v1("V1", "", ""));
    EXPECT_EQ(info.title, "V1") << "major version " << int(major);
  }
}

TEST(Id3v2, StopConditions_EndWalkBeforeLaterFrames) {
  struct Case {
    const char* name;
    Bytes between;
    bool stops;
  };
  const Case cases[] = {
      {"all-zero identifier with a size", Zeros(4) + Bytes{0, 0, 0, 2, 0, 0, 0, 'a'}, true},
      {"version 4 footer", B("3DI\x04") + Zeros(6), true},
      {"identifier starting with zero", B(std::string_view("\0IT2", 4)) + Bytes{0, 0, 0, 2, 0, 0, 0, 'a'}, false},
      {"frame of size 0", B("TCON") + Zeros(6), false},
  };
  for (const Case& c : cases) {
    const SongInfo info =
        Read(Id3v2Header(4) + FrameV3("TIT2", "Song") + c.between + FrameV3("TPE1", "Late") + Zeros(10) + Audio());
    EXPECT_EQ(info.title, "Song") << c.name;
    EXPECT_EQ(info.artist, c.stops ? "" : "Late") << c.name;
  }
}

TEST(Id3v2, TruncatedFrames_MissingBytesReadAsZero) {
  TempFolder folder;
  SongInfo info;
  const Bytes cut = Id3v2Header(3) + kSyncFrame + B("TIT2") + Bytes{0, 0, 0, 100, 0, 0, 0} + B("Cut");
  ASSERT_TRUE(ReadSongInfo(folder.Write("cut.mp3", cut), info));
  EXPECT_EQ(info.title, "Cut");
  for (size_t keep = 1; keep < 10; ++keep) {
    const Bytes frame = FrameV3("TPE1", "Whole");
    ASSERT_TRUE(ReadSongInfo(folder.Write("h.mp3", Id3v2Header(3) + kSyncFrame +
                                                       Bytes(frame.begin(), frame.begin() + keep)), info));
    EXPECT_EQ(info.artist, "") << keep << " header bytes";
  }
}

// A tag header whose unused size field holds a valid frame header, so the
// frame search ends there whatever the frames hold.
Bytes SyncedHeader(uint8_t major) {
  Bytes header = Id3v2Header(major);
  header[6] = 255;
  header[7] = 251;
  header[8] = 0x10;
  return header;
}

// A made-up file too large to write: a v3 tag whose first frame points far.
SparseSource FarFile(uint32_t firstSize, uint64_t farPosition, const Bytes& farFrame) {
  SparseSource source(3ull << 30);
  source.Put(0, SyncedHeader(3) + B("TXXX") + BigEndian(firstSize, 4));
  source.Put(farPosition, farFrame);
  return source;
}

TEST(Id3v2, V3NextPosition_StopsPastInt32Max) {
  const uint64_t limit = INT32_MAX;
  SongInfo info;
  SparseSource atLimit = FarFile(uint32_t(limit - 20), limit, FrameV3("TPE1", "Far"));
  ASSERT_TRUE(ReadSongInfo(atLimit, info));
  EXPECT_EQ(info.artist, "Far");

  info.clear();
  SparseSource pastLimit = FarFile(uint32_t(limit - 19), limit + 1, FrameV3("TPE1", "Far"));
  ASSERT_TRUE(ReadSongInfo(pastLimit, info));
  EXPECT_EQ(info.artist, "");

  // A frame at 40 whose size wraps 40 + 10 + size to 21 in 32 bits, where
  // the skipped content of the first frame looks like an artist frame.
  SparseSource huge(3ull << 30);
  const Bytes hidden = B("TPE1") + BigEndian(0x7FFFFF00, 4) + Bytes{0, 0, 0} + B("Wrapped") + Zeros(1);
  huge.Put(0, SyncedHeader(3) + B("TXXX") + BigEndian(uint32_t(hidden.size() + 1), 4) + Bytes{0, 0, 0} + hidden +
                  B("TIT2") + BigEndian(uint32_t((1ull << 32) - 50 + 21), 4) + Bytes{0, 0, 0} + B("Huge") +
                  Zeros(1));
  ASSERT_TRUE(ReadSongInfo(huge, info));
  EXPECT_EQ(info.title, "Huge");
  EXPECT_EQ(info.artist, "");
  EXPECT_LT(huge.reads, 20u);
}

TEST(Id3v2, V2WalkPointingForward_ReachesFarFramesAndEndsAtEndOfFile) {
  // Frames of 16 MiB chained through a 6 GiB file; one beyond 4 GiB is an
  // artist frame, read only with 64-bit positions.
  const uint64_t fileSize = 6ull << 30;
  const uint64_t step = 6 + 0xFFFFF0;
  SparseSource source(fileSize);
  source.Put(0, SyncedHeader(2));
  uint64_t frames = 0;
  for (uint64_t position = 10; position < fileSize; position += step, ++frames) {
    const bool far = position > (4ull << 30) && position < (4ull << 30) + step;
    source.Put(position, far ? B("TP1") + BigEndian(uint32_t(step - 6), 3) + Bytes{0} + B("Far")
                             : B("ZZZ") + BigEndian(uint32_t(step - 6), 3));
  }
  SongInfo info;
  ASSERT_TRUE(ReadSongInfo(source, info));
  EXPECT_EQ(info.artist, "Far");
  EXPECT_LT(source.reads, 3 * frames);
}

}  // namespace
}  // namespace orvo::test
