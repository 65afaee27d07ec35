// Reading real files through the block cache: same bytes as the file, few reads, and only
// regular files.
#include "mediainfo/file_byte_source.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "mediainfo/song_info.h"
#include "tests/mediainfo/song_bytes.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {
namespace {

std::string Write(const ScratchDir& dir, const std::string& name, const Bytes& bytes) {
  WriteBytes(dir.file(name), std::string(bytes.begin(), bytes.end()));
  return dir.file(name);
}

TEST(FileByteSource, ReadsAnywhere_SameBytesAsTheFile) {
  ScratchDir dir;
  Bytes content(40000);
  for (size_t i = 0; i < content.size(); ++i) content[i] = uint8_t(i * 7 % 251);
  FileByteSource source;
  ASSERT_TRUE(source.Open(Write(dir, "pattern", content)));
  ASSERT_EQ(source.Size(), content.size());
  const uint64_t block = FileByteSource::kBlockSize;
  // Block edges, jumps between far places, reads larger than a block, reads past the end.
  const std::pair<uint64_t, size_t> reads[] = {
      {0, 10}, {block - 5, 10}, {39990, 100}, {3, 4}, {2 * block - 1, 2}, {100, block + 3},
      {39999, 1}, {40000, 5}, {uint64_t{1} << 40, 8}, {block, block}, {20000, 1000}};
  for (const auto& [offset, count] : reads) {
    Bytes got(count, 0xEE);
    const size_t n = source.ReadAt(offset, got.data(), count);
    const uint64_t start = std::min<uint64_t>(offset, content.size());
    ASSERT_EQ(n, std::min<uint64_t>(count, content.size() - start)) << offset;
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + long(n), content.begin() + long(start)))
        << offset;
  }
  // A file that shrinks after opening reads short instead of for ever.
  FileByteSource shrinking;
  ASSERT_TRUE(shrinking.Open(dir.file("pattern")));
  ASSERT_EQ(truncate(dir.file("pattern").c_str(), 30000), 0);
  Bytes tail(500);
  EXPECT_EQ(shrinking.ReadAt(29990, tail.data(), tail.size()), 10u);
}

TEST(FileByteSource, TypicalSong_OneReadAtEachEnd) {
  ScratchDir dir;
  Bytes song = Id3v2Header(3);
  for (int i = 0; i < 40; ++i) song = song + FrameV3("TXXX", std::string(40, 'c'));
  song = song + FrameV3("TIT2", "Title") + Zeros(1024);
  for (int i = 0; i < 5000; ++i) song = song + Audio();
  FileByteSource source;
  ASSERT_TRUE(source.Open(Write(dir, "song.mp3", song + Id3v1("", "Artist", ""))));
  SongInfo info;
  ASSERT_TRUE(ReadSongInfo(source, info));
  EXPECT_EQ(info.artist + "|" + info.title, "Artist|Title");
  EXPECT_LE(source.ReadCalls(), 2u);  // the ID3v1 read must not evict the start
}

// Folders, pipes (whose open would block) and missing files are not opened; a file over 4 GiB
// has its ID3v1 tag found at its end.
TEST(ReadSongInfo, Files_OnlyRegularOnesReadWhateverTheirSize) {
  ScratchDir dir;
  ASSERT_EQ(mkfifo(dir.file("pipe.mp3").c_str(), 0600), 0);
  for (const std::string& path : {dir.path(), dir.file("pipe.mp3"), dir.file("missing.mp3")}) {
    FileByteSource source;
    EXPECT_FALSE(source.Open(path)) << path;
    SongInfo info;
    EXPECT_FALSE(ReadSongInfo(path, info)) << path;
  }
  const std::string path = Write(dir, "big.mp3", Audio());
  const uint64_t size = (5ull << 30) + 77;
  const Bytes tag = Id3v1("Far title", "Far artist", "");
  const int fd = open(path.c_str(), O_WRONLY);
  const bool written = ftruncate(fd, off_t(size)) == 0 &&
                       pwrite(fd, tag.data(), tag.size(), off_t(size - 128)) == ssize_t(tag.size());
  close(fd);
  if (!written) GTEST_SKIP() << "the scratch file system holds no 5 GiB sparse file";
  SongInfo info;
  ASSERT_TRUE(ReadSongInfo(path, info));
  EXPECT_EQ(info.artist + "|" + info.title, "Far artist|Far title");
}

}  // namespace
}  // namespace orvo::test
