#include "base/atomic_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

// Reading outside files is bounded: a sparse terabyte, or one byte over the bound, reads like an
// unreadable file (and is never written back); a file of exactly the bound is read whole.
TEST(ReadRegularFile, FilesOverTheBound_ReadLikeUnreadable) {
  test::ScratchDir dir;
  const struct {
    off_t size;
    bool read;
  } cases[] = {{off_t{1} << 40, false}, {off_t{kMaxReadBytes} + 1, false}, {kMaxReadBytes, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    const std::string path = dir.file("sparse.m3u");
    test::WriteBytes(path, "");
    ASSERT_EQ(truncate(path.c_str(), c.size), 0);
    bool writable = true;
    const std::optional<std::string> content = ReadRegularFile(path, &writable);
    EXPECT_EQ(content.value_or("").size(), c.read ? kMaxReadBytes : 0u);
    EXPECT_EQ(content.has_value() && writable, c.read);
  }
}

}  // namespace
}  // namespace orvo
