// Song analysis of made-up files: the first frame header, then the ID3v1 and ID3v2 tags.
#include "mediainfo/song_info.h"

#include <gtest/gtest.h>

#include <climits>

#include "mediainfo/memory_byte_source.h"
#include "tests/mediainfo/song_bytes.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {
namespace {

// The outcome as "artist|title|album", with "!" in front when the analysis failed.
std::string Analyse(const Bytes& file) {
  MemoryByteSource source(file.data(), file.size());
  SongInfo info;
  const bool ok = ReadSongInfo(source, info);
  return (ok ? "" : "!") + info.artist + "|" + info.title + "|" + info.album;
}

TEST(ReadSongInfo, Files_FrameHeaderThenId3v1ThenId3v2) {
  const std::string thirty = "123456789012345678901234567890", padded = "Caf\xE9" + std::string(26, ' '), none = "!<<|none|<<||";
  const Bytes sync = FrameV3("TXXX", "\xFF\xFB\x90"), invalid = Bytes{255, 251, 156, 100} + Zeros(60);
  std::vector<std::pair<Bytes, std::string>> rows = {
      // Sample-rate index 3 is invalid under versions 1, 2 and 2.5 (bits 4-3 of byte 1), not under
      // the reserved one; the first byte 255 starts the frame, also inside a tag.
      {Bytes{255, 0xF3, 0x0C, 0} + Id3v1("T", "A", "B"), none},
      {Bytes{255, 0x18, 0x0D, 0} + Zeros(4), none},
      {Bytes{255, 0xEB, 0x0C, 0} + Zeros(4), "||"},
      {Id3v2Header(3) + FrameV3("TIT2", "Song") + Zeros(10) + invalid + Id3v1("T", "A", "B"), none},
      {Id3v2Header(3) + FrameV3("TPE1", "X\xFF\xFB\x9C") + Zeros(10) + Audio(), none},
      {Id3v2Header(3) + FrameV3("TPE1", "X\xFF\xFB\x90") + Zeros(10) + invalid, "X\xFF\xFB\x90||"},
      // Without a byte 255 nothing is read; a frame at offset 0 leaves no room for an ID3v2 tag.
      {Id3v2Header(3) + FrameV3("TIT2", "T") + Zeros(10) + Id3v1("T", "A", "B", 0), "!||"},
      {Id3v2Header(3) + FrameV3("TIT2", "T") + Zeros(10) + Bytes{255}, "|T|"},
      {Bytes{255, 251, 144, 3} + Zeros(6) + FrameV3("TIT2", "No") + Zeros(40) + Id3v1("Yes", "A", "B"), "A|Yes|B"},
      // ID3v1: thirty-byte fields, blanks kept, after "TAG" in the last 128 bytes of the file.
      {Audio() + Id3v1(thirty, padded, thirty), padded + "|" + thirty + "|" + thirty},
      {B("TAGT") + Zeros(29) + B("A") + Zeros(29) + B("B") + Zeros(62) + Bytes{255}, "||"},
      {Id3v1("T", "A", "B"), "A|T|B"},
      // ID3v2 frames win per field, an empty one too; a text ends at a zero byte, after size - 1
      // bytes, or after 64 KiB.
      {Id3v2Header(3) + FrameV3("TIT2", "") + FrameV3("TPE2", "Band") + FrameV3("TPE1", "New") +
           FrameV3("TALB", std::string_view("Ab\0cd", 5)) + Zeros(10) + Audio() + Id3v1("Old", "Old", "Old"), "New||Ab"},
      {Id3v2Header(3) + FrameV3("TIT2", std::string(70000, 'x')) + FrameV3("TPE1", "A") + Zeros(10) + Audio(),
       "A|" + std::string(65536, 'x') + "|"},
      {Id3v2Header(3) + FrameV3("TIT2", std::string_view("\xFF\xFEH\0i\0", 6), 1) + Zeros(10) + Audio(), "|\xFF\xFEH|"},
      // The walk trusts neither the tag's mark nor its size, and matches whole identifiers.
      {B("abc\x03") + Zeros(6) + FrameV3("TALB", "Walked") + Zeros(10) + Audio(), "||Walked"},
      {Id3v2Header(3) + FrameV3(std::string_view("TIT\0", 4), "P") + FrameV3("TPE", "S") + Zeros(10) + Audio(), "||"},
      // Layout 2 has three-byte identifiers and sizes, and ends at a size of 0.
      {Id3v2Header(2, 0x20) + FrameV2("TT2", "") + B("XXX") + Bytes{0, 1, 0} + Bytes(256, 'x') + FrameV2("TP1", "Artist") +
           FrameV2("TAL", "Album") + B("TCO") + Zeros(3) + FrameV2("TT2", "Late") + Zeros(6) + Audio() +
           Id3v1("Old", "", ""), "Artist||Album"},
      // Sizes: 0x81 is 129 in layout 3 but 1 in layout 4, whose sizes are synchsafe.
      {Id3v2Header(3) + B("TXXX") + Bytes{0, 0, 0, 0x81, 0, 0} + Bytes(129, 'x') + FrameV3("TIT2", "Three") + Zeros(10) +
           Audio(), "|Three|"},
      {Id3v2Header(4) + B("TXXX") + Bytes{0, 0, 0, 0x81, 0, 0, 0} + B("TXXX") + Bytes{0, 0, 1, 0, 0, 0} + Bytes(128, 'x') +
           B("TIT2") + Bytes{0, 0, 0, 5, 0, 0, 0} + B("Four") + Zeros(10) + Audio(), "|Four|"},
      // Flag 0x20 moves the first frame of layouts 3 and 4 to offset 16; layout 5 has no frames.
      {Id3v2Header(3, 0x20) + B("JUNKJU") + FrameV3("TIT2", "At16") + Zeros(10) + Audio(), "|At16|"},
      {Id3v2Header(4, 0x60) + B("JUNKJU") + FrameV3("TIT2", "At16") + Zeros(10) + Audio(), "|At16|"},
      {Id3v2Header(3, 0x40) + FrameV3("TIT2", "At10") + Zeros(10) + Audio(), "|At10|"},
      {Id3v2Header(5) + FrameV3("TIT2", "F") + Zeros(10) + Audio() + Id3v1("V1", "", ""), "|V1|"},
      // The walk ends at an all-zero identifier or the "3DI" footer, not at a frame of size 0 or
      // an identifier that only starts with a zero byte.
      {Id3v2Header(4) + FrameV3("TIT2", "S") + Zeros(7) + Bytes{2, 0, 0, 0, 'a'} + FrameV3("TPE1", "Late") + Zeros(10) +
           Audio(), "|S|"},
      {Id3v2Header(4) + FrameV3("TIT2", "S") + B("3DI\x04") + Zeros(6) + FrameV3("TPE1", "Late") + Zeros(10) + Audio(), "|S|"},
      {Id3v2Header(4) + FrameV3("TIT2", "S") + Bytes{0, 'I', 'T', '2', 0, 0, 0, 2, 0, 0, 0, 'a'} + B("TCON") + Zeros(6) +
           FrameV3("TPE1", "Late") + Zeros(10) + Audio(), "Late|S|"},
      // Bytes past the end of the file read as zero.
      {Id3v2Header(3) + sync + B("TIT2") + Bytes{0, 0, 0, 100, 0, 0, 0} + B("Cut"), "|Cut|"},
  };
  const Bytes artist = FrameV3("TPE1", "Whole");
  for (long keep = 1; keep < 10; ++keep) rows.push_back({Id3v2Header(3) + sync + Bytes(artist.begin(), artist.begin() + keep), "||"});
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(Analyse(rows[i].first), rows[i].second) << "row " << i;
}

// Layouts 3 and 4 walk to a frame at INT32_MAX but none further, and a size that wraps the next
// position round in 32 bits does not lead back to a frame hidden earlier. The tag header's unused
// size bytes hold a valid frame header, which ends the frame search.
TEST(ReadSongInfo, FarFrames_ReachedUpToInt32MaxAndNoFurther) {
  ScratchDir dir;
  const Bytes header = B("ID3\x03") + Bytes{0, 0, 255, 251, 0x10, 0}, hidden = B("TPE1") + BigEndian(0x7FFFFF00, 4) + Zeros(3);
  const std::pair<std::map<uint64_t, Bytes>, const char*> rows[] = {
      {{{0, header + B("TXXX") + BigEndian(INT32_MAX - 20, 4)}, {INT32_MAX, FrameV3("TPE1", "Far")}}, "Far||"},
      {{{0, header + B("TXXX") + BigEndian(INT32_MAX - 19, 4)}, {INT32_MAX + 1ull, FrameV3("TPE1", "Far")}}, "||"},
      {{{0, header + B("TXXX") + BigEndian(20, 4) + Zeros(3) + hidden + B("Wrapped") + Zeros(1) + B("TIT2") +
                BigEndian((1ull << 32) - 29, 4) + Zeros(3) + B("Huge")}}, "|Huge|"}};
  for (const auto& [pieces, expected] : rows) {
    if (!WriteSparse(dir.file("far.mp3"), 3ull << 30, pieces)) GTEST_SKIP() << "no sparse files here";
    SongInfo info;
    EXPECT_TRUE(ReadSongInfo(dir.file("far.mp3"), info));
    EXPECT_EQ(info.artist + "|" + info.title + "|" + info.album, expected);
  }
}

}  // namespace
}  // namespace orvo::test
