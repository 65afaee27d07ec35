// Song analysis of made-up files: the first frame header, then the ID3v1 and ID3v2 tags.
#include "mediainfo/song_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>

#include "mediainfo/memory_byte_source.h"
#include "tests/mediainfo/song_bytes.h"

namespace orvo::test {
namespace {

// The outcome as "artist|title|album", with "!" in front when the analysis failed.
std::string Analyse(ByteSource& source) {
  SongInfo info;
  const bool ok = ReadSongInfo(source, info);
  return (ok ? "" : "!") + info.artist + "|" + info.title + "|" + info.album;
}

std::string Analyse(const Bytes& file) {
  MemoryByteSource source(file.data(), file.size());
  return Analyse(source);
}

TEST(ReadSongInfo, FrameHeader_OnlySampleRateIndex3UnderAKnownVersionIsInvalid) {
  const struct {
    uint8_t byte1, byte2;
    bool invalid;
  } rows[] = {{251, 144, false}, {251, 156, true}, {0xF3, 0x0C, true}, {0xE3, 0x0C, true},
              {0xEB, 0x0C, false} /* reserved version */, {0x1B, 0xF3, false}, {0x18, 0x0D, true},
              {0xFF, 0x08, false}};
  for (const auto& r : rows) {
    EXPECT_EQ(Analyse(Bytes{255, r.byte1, r.byte2, 0} + Zeros(4)), r.invalid ? "!<<|none|<<||" : "||")
        << int(r.byte1) << " " << int(r.byte2);
  }
}

TEST(ReadSongInfo, Tags_FieldsFromId3v1ThenId3v2) {
  const std::string thirty = "123456789012345678901234567890", padded = "Caf\xE9" + std::string(26, ' ');
  const Bytes sync = FrameV3("TXXX", "\xFF\xFB\x90");  // ends the frame search inside the tag
  Bytes shortTag = Id3v2Header(3);
  shortTag[8] = 0;
  shortTag[9] = 15;  // claims to end after the first frame
  std::vector<std::pair<Bytes, std::string>> rows = {
      // The frame search does not skip tags: a 255 inside one is taken as the frame.
      {Id3v2Header(3) + FrameV3("TIT2", "Song") + Zeros(10) + Bytes{255, 251, 156, 100} + Zeros(50) +
           Id3v1("T1", "A1", "B1"), "!<<|none|<<||"},
      {Id3v2Header(3) + FrameV3("TPE1", "X\xFF\xFB\x9C") + Zeros(10) + Audio(), "!<<|none|<<||"},
      {Id3v2Header(3) + FrameV3("TPE1", "X\xFF\xFB\x90") + Zeros(10) + Audio(), "X\xFF\xFB\x90||"},
      // Without a byte 255 nothing is read; 255 0 0 at the very end is a valid header.
      {Id3v2Header(3) + FrameV3("TIT2", "T") + Zeros(10) + Id3v1("T", "A", "B", 0), "!||"},
      {Id3v2Header(3) + FrameV3("TIT2", "T") + Zeros(10) + Bytes{255}, "|T|"},
      // A frame at offset 0 leaves no room for an ID3v2 tag.
      {Bytes{255, 251, 144, 3} + Zeros(6) + FrameV3("TIT2", "Wrong") + Zeros(40) +
           Id3v1("Right", "A", "B"), "A|Right|B"},
      // ID3v1: fields of up to thirty bytes at fixed places, blanks kept, only with "TAG", and
      // only in a file of at least 128 bytes (the whole file may be the tag).
      {Audio() + Id3v1(thirty, padded, thirty), padded + "|" + thirty + "|" + thirty},
      {Audio() + B("TAg") + Zeros(125), "||"},
      {B("TAGT") + Zeros(29) + B("A") + Zeros(29) + B("B") + Zeros(62) + Bytes{255}, "||"},
      {Id3v1("T", "A", "B"), "A|T|B"},
      // ID3v2 frames win per field, an empty one too; texts end at a zero byte, after size - 1
      // bytes or after 64 KiB.
      {Id3v2Header(3) + FrameV3("TYER", "1999") + FrameV3("TIT2", "Title") + FrameV3("TPE2", "Band") +
           FrameV3("TPE1", "Artist") + FrameV3("TALB", "Album") + Zeros(20) + Audio(),
       "Artist|Title|Album"},
      {Id3v2Header(3) + FrameV3("TIT2", "") + FrameV3("TPE1", "New") + Zeros(10) + Audio() +
           Id3v1("Old", "Old", "Old album"), "New||Old album"},
      {Id3v2Header(3) + FrameV3("TIT2", std::string_view("Ab\0cd", 5)) + FrameV3("TALB", "X") +
           Zeros(10) + Audio(), "|Ab|X"},
      {Id3v2Header(3) + FrameV3("TIT2", std::string(70000, 'x')) + FrameV3("TPE1", "A") + Zeros(10) +
           Audio(), "A|" + std::string(65536, 'x') + "|"},
      {Id3v2Header(3) + FrameV3("TIT2", std::string_view("\xFF\xFEH\0i\0", 6), 1) + Zeros(10) +
           Audio(), "|\xFF\xFEH|"},
      // The walk trusts neither the tag's mark nor its size, and matches whole identifiers.
      {B("abc\x03") + Zeros(6) + FrameV3("TALB", "Walked") + Zeros(10) + Audio(), "||Walked"},
      {shortTag + FrameV3("TIT2", "Song") + FrameV3("TPE1", "After") + Zeros(10) + Audio(),
       "After|Song|"},
      {Id3v2Header(3) + FrameV3(std::string_view("TIT\0", 4), "P") + FrameV3("TPE", "S") + Zeros(10) +
           Audio(), "||"},
      // Layout 2: three-byte identifiers and sizes, until a size of 0.
      {Id3v2Header(2) + FrameV2("TT2", "") + B("XXX") + Bytes{0, 1, 0} + Bytes(256, 'x') +
           FrameV2("TP1", "Artist") + FrameV2("TAL", "Album") + B("TCO") + Zeros(3) + FrameV2("TT2", "Late") +
           Zeros(6) + Audio() + Id3v1("Old", "", ""), "Artist||Album"},
      // Sizes: 0x81 is 129 big-endian in layout 3 but 1 synchsafe in layout 4.
      {Id3v2Header(3) + B("TXXX") + Bytes{0, 0, 0, 0x81, 0, 0} + Bytes(129, 'x') +
           FrameV3("TIT2", "Three") + Zeros(10) + Audio(), "|Three|"},
      {Id3v2Header(4) + B("TXXX") + Bytes{0, 0, 0, 0x81, 0, 0, 0} + B("TXXX") +
           Bytes{0, 0, 1, 0, 0, 0} + Bytes(128, 'x') + FrameV4("TIT2", "Four") + Zeros(10) + Audio(),
       "|Four|"},
      // Flag 0x20 moves the first frame of layouts 3 and 4 to offset 16.
      {Id3v2Header(3, 0x20) + B("JUNKJU") + FrameV3("TIT2", "At16") + Zeros(10) + Audio(), "|At16|"},
      {Id3v2Header(4, 0x20) + B("JUNKJU") + FrameV3("TIT2", "At16") + Zeros(10) + Audio(), "|At16|"},
      {Id3v2Header(3, 0x40) + FrameV3("TIT2", "At10") + Zeros(10) + Audio(), "|At10|"},
      {Id3v2Header(2, 0x20) + FrameV2("TT2", "At10") + Zeros(6) + Audio(), "|At10|"},
      // Other layouts have no frames, but the ID3v1 tag still counts.
      {Id3v2Header(1) + FrameV3("TIT2", "F") + FrameV2("TT2", "F") + Zeros(10) + Audio() +
           Id3v1("V1", "", ""), "|V1|"},
      {Id3v2Header(5) + FrameV3("TIT2", "F") + Zeros(10) + Audio() + Id3v1("V1", "", ""), "|V1|"},
      // The walk ends at an all-zero identifier or the "3DI" footer, not at a frame of size 0.
      {Id3v2Header(4) + FrameV3("TIT2", "S") + Zeros(4) + Bytes{0, 0, 0, 2, 0, 0, 0, 'a'} +
           FrameV3("TPE1", "Late") + Zeros(10) + Audio(), "|S|"},
      {Id3v2Header(4) + FrameV3("TIT2", "S") + B("3DI\x04") + Zeros(6) + FrameV3("TPE1", "Late") +
           Zeros(10) + Audio(), "|S|"},
      {Id3v2Header(4) + FrameV3("TIT2", "S") + B(std::string_view("\0IT2", 4)) +
           Bytes{0, 0, 0, 2, 0, 0, 0, 'a'} + FrameV3("TPE1", "Late") + Zeros(10) + Audio(), "Late|S|"},
      {Id3v2Header(4) + FrameV3("TIT2", "S") + B("TCON") + Zeros(6) + FrameV3("TPE1", "Late") +
           Zeros(10) + Audio(), "Late|S|"},
      // Bytes past the end of the file read as zero.
      {Id3v2Header(3) + sync + B("TIT2") + Bytes{0, 0, 0, 100, 0, 0, 0} + B("Cut"), "|Cut|"},
  };
  const Bytes artist = FrameV3("TPE1", "Whole");
  for (long keep = 1; keep < 10; ++keep) {
    rows.push_back({Id3v2Header(3) + sync + Bytes(artist.begin(), artist.begin() + keep), "||"});
  }
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(Analyse(rows[i].first), rows[i].second) << i;
}

// A file too large to write, holding the given pieces at their offsets and zero elsewhere.
class SparseSource final : public ByteSource {
 public:
  explicit SparseSource(uint64_t size) : size_(size) {}
  std::map<uint64_t, Bytes> pieces;

  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override {
    count = offset >= size_ ? 0 : size_t(std::min<uint64_t>(count, size_ - offset));
    std::memset(out, 0, count);
    for (const auto& [start, bytes] : pieces) {
      for (size_t i = 0; i < bytes.size(); ++i) {
        if (start + i >= offset && start + i < offset + count) out[start + i - offset] = bytes[i];
      }
    }
    return count;
  }

 private:
  uint64_t size_;
};

// The walk of layouts 3 and 4 stops before a position past INT32_MAX, and never in a loop.
TEST(ReadSongInfo, FarFrames_ReachedUpToInt32MaxAndNoFurther) {
  // The tag header's unused size bytes hold a valid frame header, which ends the frame search.
  const Bytes header = B("ID3\x03") + Bytes{0, 0, 255, 251, 0x10, 0};
  for (const uint64_t at : {uint64_t{INT32_MAX}, uint64_t{INT32_MAX} + 1}) {
    SparseSource source(3ull << 30);
    source.pieces = {{0, header + B("TXXX") + BigEndian(at - 20, 4)}, {at, FrameV3("TPE1", "Far")}};
    EXPECT_EQ(Analyse(source), at == INT32_MAX ? "Far||" : "||");
  }
  // A size that wraps 40 + 10 + size round to 21 in 32 bits, where a frame hides in the skipped
  // content, must not lead the walk back.
  SparseSource wrap(3ull << 30);
  const Bytes hidden = B("TPE1") + BigEndian(0x7FFFFF00, 4) + Bytes{0, 0, 0} + B("Wrapped");
  wrap.pieces = {{0, header + B("TXXX") + BigEndian(hidden.size() + 2, 4) + Zeros(3) + hidden +
                         Zeros(1) + B("TIT2") + BigEndian((1ull << 32) - 29, 4) + Zeros(3) + B("Huge")}};
  EXPECT_EQ(Analyse(wrap), "|Huge|");
}

}  // namespace
}  // namespace orvo::test
