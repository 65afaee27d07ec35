// Reading real files: the file source's blocks and the cases where the file
// itself, not its tags, decides.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "mediainfo/file_byte_source.h"
#include "mediainfo/song_info.h"
#include "song_bytes.h"

namespace orvo::test {
namespace {

TEST(FileByteSource, ReadAt_SameBytesAsFileWhereverReadsFall) {
  TempFolder folder;
  Bytes content(40000);
  for (size_t i = 0; i < content.size(); ++i) content[i] = uint8_t(i * 7 % 251);
  FileByteSource source;
  ASSERT_TRUE(source.Open(folder.Write("pattern", content)));
  ASSERT_EQ(source.Size(), content.size());
  const size_t block = FileByteSource::kBlockSize;
  struct Read {
    uint64_t offset;
    size_t count;
  };
  // Block edges, alternation between far places, reads larger than a block
  // and reads running past the end.
  const Read reads[] = {{0, 10},           {block - 5, 10},  {39990, 100},     {3, 4},
                        {2 * block - 1, 2}, {100, block + 3}, {39999, 1},       {40000, 5},
                        {uint64_t{1} << 40, 8},     {block, block},   {20000, 1000}};
  for (const Read& r : reads) {
    Bytes got(r.count, 0xEE);
    const size_t n = source.ReadAt(r.offset, got.data(), r.count);
    const size_t expected = r.offset >= content.size() ? 0 : std::min<size_t>(r.count, content.size() - r.offset);
    ASSERT_EQ(n, expected) << "at " << r.offset;
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + long(n), content.begin() + long(std::min<uint64_t>(r.offset, content.size()))))
        << "at " << r.offset;
  }
}

TEST(FileByteSource, TypicalSong_OneReadAtEachEnd) {
  TempFolder folder;
  Bytes frames;
  for (int i = 0; i < 40; ++i) frames = frames + FrameV3("TXXX", std::string(40, 'c'));
  Bytes audio;
  for (int i = 0; i < 5000; ++i) audio = audio + Audio();
  const Bytes song = Id3v2Header(3) + frames + FrameV3("TIT2", "Title") + Zeros(1024) + audio +
                     Id3v1("", "Artist", "");
  FileByteSource source;
  ASSERT_TRUE(source.Open(folder.Write("song.mp3", song)));
  SongInfo info;
  ASSERT_TRUE(ReadSongInfo(source, info));
  EXPECT_EQ(info.title, "Title");
  EXPECT_EQ(info.artist, "Artist");
  // The ID3v1 read must not evict the start, which the ID3v2 walk reads.
  EXPECT_LE(source.ReadCalls(), 2u);
}

TEST(ReadSongInfo, NoByte255OrNoRegularFile_NothingReadAndFalse) {
  TempFolder folder;
  Bytes v1 = Id3v1("T", "A", "B");
  v1.back() = 0;
  SongInfo info{"keep", "keep", "keep"};
  EXPECT_FALSE(ReadSongInfo(folder.Write("a.mp3", Id3v2Header(3) + FrameV3("TIT2", "T2") + Zeros(10) + v1), info));
  EXPECT_EQ(info.artist, "keep");
  EXPECT_EQ(info.title, "keep");
  EXPECT_FALSE(ReadSongInfo(folder.Write("empty.mp3", Bytes()), info));
  EXPECT_EQ(info.title, "keep");

  // Nor is anything read from folders, pipes (a blocking open would hang
  // here) or missing files.
  EXPECT_FALSE(ReadSongInfo(folder.path(), info));
  const std::string fifo = folder.path() + "/pipe.mp3";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadSongInfo(fifo, info));
  EXPECT_FALSE(ReadSongInfo(folder.path() + "/missing.mp3", info));
  EXPECT_EQ(info.artist, "keep");

  // 255 0 0 at the very end is version 2.5 with sample-rate index 0: valid.
  EXPECT_TRUE(ReadSongInfo(folder.Write("b.mp3", Id3v2Header(3) + FrameV3("TIT2", "T") + Zeros(10) + Bytes{255}),
                           info));
  EXPECT_EQ(info.title, "T");
}

TEST(ReadSongInfo, FileLargerThan4GiB_Id3v1AtItsEnd) {
  TempFolder folder;
  const std::string path = folder.Write("big.mp3", Audio());
  const uint64_t size = (5ull << 30) + 77;
  const Bytes tag = Id3v1("Far title", "Far artist", "");
  const int fd = open(path.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  const bool written = ftruncate(fd, off_t(size)) == 0 &&
                       pwrite(fd, tag.data(), tag.size(), off_t(size - 128)) == ssize_t(tag.size());
  close(fd);
  if (!written) GTEST_SKIP() << "the scratch file system holds no 5 GiB sparse file";
  SongInfo info;
  ASSERT_TRUE(ReadSongInfo(path, info));
  EXPECT_EQ(info.title, "Far title");
  EXPECT_EQ(info.artist, "Far artist");
}

}  // namespace
}  // namespace orvo::test
