#include "playlist/m3u.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "playlist/path_list.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

// Lines end at LF, CR, CR LF, NUL or the end of the text, and empty ones are skipped; all else,
// "#" lines, blanks and a byte order mark included, is a path byte for byte. Reading appends without
// moving the cursor; missing files, folders and pipes (which must not block) add nothing.
TEST(M3u, Files_EveryNonEmptyLineIsAPath) {
  EXPECT_EQ(ParseM3u(std::string("a\rb\nc\r\n\n\rd\0e\0\0", 14)), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(ParseM3u("\xEF\xBB\xBF#EXTM3U\n x.mp3 \n\t"), (std::vector<std::string>{"\xEF\xBB\xBF#EXTM3U", " x.mp3 ", "\t"}));
  test::ScratchDir dir;
  const std::string path = dir.file("list with blanks.m3u");
  ASSERT_TRUE(WriteM3u(path, {" lead", "", "/m/caf\xE9 \"q\".mp3"}));
  EXPECT_EQ(test::ReadBytes(path), " lead\n\n/m/caf\xE9 \"q\".mp3\n");
  CurrentPlaylist list;
  list.append("first");
  ASSERT_EQ(mkfifo(dir.file("pipe.m3u").c_str(), 0600), 0);
  for (const std::string& bad : {dir.file("missing.m3u"), dir.path(), dir.file("pipe.m3u")}) EXPECT_FALSE(ReadM3u(bad, list));
  ASSERT_TRUE(ReadM3u(path, list));
  EXPECT_EQ(list.paths(), (std::vector<std::string>{"first", " lead", "/m/caf\xE9 \"q\".mp3"}));
  EXPECT_FALSE(list.hasCursor() || WriteM3u(dir.file("no/folder.m3u"), {"a"}));
  // A name chosen to save under gets ".m3u" unless it ends so in any case.
  EXPECT_EQ(WithM3uExtension("/a/x") + WithM3uExtension("x.M3u") + WithM3uExtension("m3u.d/x"), "/a/x.m3ux.M3um3u.d/x.m3u");
}

}  // namespace
}  // namespace orvo
