#include "mediainfo/file_byte_source.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/scratch_dir.h"

namespace orvo::test {
namespace {

TEST(FileByteSource, ReadsAnywhere_TheBytesOfTheFile) {
  ScratchDir dir;
  std::string content(40000, 0);
  for (size_t i = 0; i < content.size(); ++i) content[i] = char(i * 7 % 251);
  WriteBytes(dir.file("pattern"), content);
  FileByteSource source, shrinking;
  ASSERT_TRUE(source.Open(dir.file("pattern")) && source.Size() == content.size());
  // Block edges, jumps between far places, reads larger than a block, reads past the end.
  const uint64_t block = FileByteSource::kBlockSize;
  const std::pair<uint64_t, size_t> reads[] = {{0, 10}, {block - 5, 10}, {39990, 100}, {3, 4}, {2 * block - 1, 2},
                                               {100, block + 3}, {40000, 5}, {1ull << 40, 8}, {20000, 1000}};
  for (const auto& [offset, count] : reads) {
    std::string got(count, '\xEE');
    got.resize(source.ReadAt(offset, reinterpret_cast<uint8_t*>(got.data()), count));
    EXPECT_EQ(got, content.substr(std::min<uint64_t>(offset, content.size()), count)) << offset;
  }
  // A file that shrinks after opening reads short instead of for ever.
  ASSERT_TRUE(shrinking.Open(dir.file("pattern")));
  ASSERT_EQ(truncate(dir.file("pattern").c_str(), 30000), 0);
  uint8_t tail[500];
  EXPECT_EQ(shrinking.ReadAt(29990, tail, sizeof tail), 10u);
}

// Folders, pipes (whose open would block) and missing files are not read.
TEST(FileByteSource, Open_RegularFilesOnly) {
  ScratchDir dir;
  ASSERT_EQ(mkfifo(dir.file("pipe.mp3").c_str(), 0600), 0);
  for (const std::string& path : {dir.path(), dir.file("pipe.mp3"), dir.file("gone.mp3")}) {
    FileByteSource source;
    EXPECT_FALSE(source.Open(path)) << path;
  }
}

}  // namespace
}  // namespace orvo::test
