// Song analysis of made-up files: the first frame header, then the ID3v1 and ID3v2 tags, and the
// description built from them.
#include "mediainfo/song_info.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>

#include "mediainfo/description.h"
#include "mediainfo/file_byte_source.h"
#include "mediainfo/id3v2_tag.h"
#include "mediainfo/memory_byte_source.h"
#include "tests/mediainfo/song_bytes.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {
namespace {

// The description of the song "/m/R&B.mp3", with "!" in front when the analysis failed: three lines
// ending in blanks, or without artist and title (or after an invalid header) the path, "&" made "+".
std::string Analyse(const Bytes& file) {
  MemoryByteSource source(file.data(), file.size());
  SongInfo info;
  const bool ok = ReadSongInfo(source, info);
  return (ok ? "" : "!") + DescriptionText("/m/R&B.mp3", info);
}
std::string D(const std::string& artist, const std::string& title, const std::string& album = "") {
  return artist + " \n" + title + " \n" + album + " ";
}

TEST(ReadSongInfo, Files_FrameHeaderThenId3v1ThenId3v2) {
  const std::string thirty = "123456789012345678901234567890", padded = "Caf\xE9" + std::string(26, ' ');
  const std::string path = "/m/R+B.mp3", none = "!" + path;
  const Bytes sync = FrameV3("TXXX", "\xFF\xFB\x90"), invalid = Bytes{255, 251, 156, 100} + Zeros(60);
  std::vector<std::pair<Bytes, std::string>> rows = {
      // Sample-rate index 3 is invalid under versions 1, 2 and 2.5, not the reserved one; the first
      // byte 255 starts the frame, also inside a tag.
      {Bytes{255, 0xF3, 0x0C, 0} + Id3v1("T", "A", "B"), none},
      {Bytes{255, 0xEB, 0x0C, 0} + Zeros(4), path},
      {Id3v2Header(3) + FrameV3("TIT2", "Song") + Zeros(10) + invalid + Id3v1("T", "A", "B"), none},
      {Id3v2Header(3) + FrameV3("TPE1", "X\xFF\xFB\x9C") + Zeros(10) + Audio(), none},
      // Without a byte 255 nothing is read; a frame at offset 0 leaves no room for an ID3v2 tag.
      {Id3v2Header(3) + FrameV3("TIT2", "T") + Zeros(10) + Id3v1("T", "A", "B", 0), "!" + path},
      {Bytes{255, 251, 144, 3} + Zeros(6) + FrameV3("TIT2", "No") + Zeros(40) + Id3v1("Yes", "A", "B"), D("A", "Yes", "B")},
      // ID3v1: thirty-byte fields, blanks kept, after "TAG" in the last 128 bytes.
      {Audio() + Id3v1(thirty, padded, thirty), D(padded, thirty, thirty)},
      {Id3v1("T", "A", "B"), D("A", "T", "B")},
      // ID3v2 frames win per field, an empty one too; a text ends at a zero byte or after size - 1
      // bytes.
      {Id3v2Header(3) + FrameV3("TIT2", "") + FrameV3("TPE2", "Band") + FrameV3("TPE1", "New") +
           FrameV3("TALB", std::string_view("Ab\0cd", 5)) + Zeros(10) + Audio() + Id3v1("Old", "Old", "Old"), D("New", "", "Ab")},
      {Id3v2Header(3) + FrameV3("TIT2", std::string_view("\xFF\xFEH\0i\0", 6), 1) + Zeros(10) + Audio(), D("", "\xFF\xFEH")},
      // The walk trusts neither the tag's mark nor its size, and matches whole identifiers.
      {B("abc\x03") + Zeros(6) + FrameV3("TIT2", "Walked") + Zeros(10) + Audio(), D("", "Walked")},
      // Layout 2 has three-byte identifiers and sizes, and ends at a size of 0.
      {Id3v2Header(2, 0x20) + FrameV2("TT2", "") + B("XXX") + Bytes{0, 1, 0} + Bytes(256, 'x') + FrameV2("TP1", "Artist") +
           FrameV2("TAL", "Album") + B("TCO") + Zeros(3) + FrameV2("TT2", "Late") + Zeros(6) + Audio() +
           Id3v1("Old", "", ""), D("Artist", "", "Album")},
      // Sizes: 0x81 is 129 in layout 3 but 1 in layout 4, whose sizes are synchsafe.
      {Id3v2Header(3) + B("TXXX") + Bytes{0, 0, 0, 0x81, 0, 0} + Bytes(129, 'x') + FrameV3("TIT2", "Three") + Zeros(10) +
           Audio(), D("", "Three")},
      {Id3v2Header(4) + B("TXXX") + Bytes{0, 0, 0, 0x81, 0, 0, 0} + B("TXXX") + Bytes{0, 0, 1, 0, 0, 0} + Bytes(128, 'x') +
           B("TIT2") + Bytes{0, 0, 0, 5, 0, 0, 0} + B("Four") + Zeros(10) + Audio(), D("", "Four")},
      // Flag 0x20 (not 0x40) moves the first frame of layouts 3 and 4 to offset 16; 5 has none.
      {Id3v2Header(3, 0x20) + B("JUNKJU") + FrameV3("TIT2", "At16") + Zeros(10) + Audio(), D("", "At16")},
      {Id3v2Header(4, 0x60) + B("JUNKJU") + FrameV3("TIT2", "S") + B("3DI\x04") + Zeros(6) + FrameV3("TPE1", "Late") +
           Zeros(10) + Audio(), D("", "S")},
      {Id3v2Header(5) + FrameV3("TIT2", "F") + Zeros(10) + Audio() + Id3v1("V1", "", ""), D("", "V1")},
      // The walk ends at an all-zero identifier or the "3DI" footer, not at a frame of size 0 or
      // an identifier that only starts with a zero byte.
      {Id3v2Header(4) + FrameV3("TIT2", "S") + Zeros(7) + Bytes{2, 0, 0, 0, 'a'} + FrameV3("TPE1", "Late") + Zeros(10) +
           Audio(), D("", "S")},
      {Id3v2Header(4) + FrameV3("TIT2", "S") + Bytes{0, 'I', 'T', '2', 0, 0, 0, 2, 0, 0, 0, 'a'} + B("TCON") + Zeros(6) +
           FrameV3("TPE1", "Late") + Zeros(10) + Audio(), D("Late", "S")},
      // Bytes past the end of the file read as zero.
      {Id3v2Header(3) + sync + B("TIT2") + Bytes{0, 0, 0, 100, 0, 0, 0} + B("Cut"), D("", "Cut")},
  };
  rows.push_back({Id3v2Header(3) + sync + B("TPE1") + Bytes{0, 0}, path});
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(Analyse(rows[i].first), rows[i].second) << "row " << i;
}

// Layouts 3 and 4 walk to a frame at INT32_MAX but none further, and a size that wraps round in 32
// bits does not lead back. The tag header's unused size bytes hold a frame header, found first.
TEST(ReadSongInfo, FarFrames_ReachedUpToInt32MaxAndNoFurther) {
  ScratchDir dir;
  const Bytes header = B("ID3\x03") + Bytes{0, 0, 255, 251, 0x10, 0}, hidden = B("TPE1") + BigEndian(0x7FFFFF00, 4) + Zeros(3);
  const std::pair<std::map<uint64_t, Bytes>, const char*> rows[] = {
      {{{0, header + B("TXXX") + BigEndian(INT32_MAX - 20, 4)}, {INT32_MAX, FrameV3("TPE1", "Far")}}, "Far||"},
      {{{0, header + B("TXXX") + BigEndian(INT32_MAX - 19, 4)}, {INT32_MAX + 1ull, FrameV3("TPE1", "Far")}}, "||"},
      {{{0, header + B("TXXX") + BigEndian(20, 4) + Zeros(3) + hidden + B("Wrapped") + Zeros(1) + B("TIT2") +
                BigEndian((1ull << 32) - 29, 4) + Zeros(3) + B("Huge")}}, "|Huge|"}};  // hidden wraps to 21
  for (const auto& [pieces, expected] : rows) {
    if (!WriteSparse(dir.file("far.mp3"), 3ull << 30, pieces)) GTEST_SKIP() << "no sparse files here";
    SongInfo info;
    EXPECT_TRUE(ReadSongInfo(dir.file("far.mp3"), info));
    EXPECT_EQ(info.artist + "|" + info.title + "|" + info.album, expected);
  }
}

// Only regular files are read (a pipe's open would block), through a block cache that reads the
// bytes of the file, short when the file shrinks after opening instead of for ever.
TEST(FileByteSource, Files_RegularOnesReadAsTheyAre) {
  ScratchDir dir;
  ASSERT_EQ(mkfifo(dir.file("pipe.mp3").c_str(), 0600), 0);
  for (const std::string& path : {dir.path(), dir.file("pipe.mp3"), dir.file("gone.mp3")}) EXPECT_FALSE(FileByteSource().Open(path));
  WriteBytes(dir.file("a.mp3"), std::string(20000, 'a') + std::string(20000, 'b'));
  FileByteSource file;
  ASSERT_TRUE(file.Open(dir.file("a.mp3")));
  ASSERT_EQ(truncate(dir.file("a.mp3").c_str(), 30000), 0);
  uint8_t got[500];
  EXPECT_EQ(file.ReadAt(29990, got, sizeof got), 10u);
  EXPECT_EQ(std::string(got, got + 10), std::string(10, 'b'));
}

// The bytes an ID3v2 tag takes at the start of a file (what the Musepack decoder skips): its four
// synchsafe size bytes, the header and a footer when flagged; 0 where no valid tag starts.
TEST(Id3v2TagSize, Headers) {
  const std::pair<std::string, size_t> rows[] = {
      {std::string("ID3\4\0\0\1\2\3\4", 10), 10 + (1u << 21) + (2u << 14) + (3u << 7) + 4},
      {std::string("ID3\4\0\x10\0\0\0\x7f", 10), 10 + 127 + 10},
      {std::string("ID3\4\0\0\0\0\x80\0", 10), 0}, {std::string("ID2\4\0\0\0\0\0\0", 10), 0},
      {std::string("ID3\4\0\0\0\0\0", 9), 0}};
  for (const auto& [header, size] : rows) {
    EXPECT_EQ(Id3v2TagSize(reinterpret_cast<const uint8_t*>(header.data()), header.size()), size);
  }
}

}  // namespace
}  // namespace orvo::test
