#include "playlist/m3u.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "playlist/path_list.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

using Paths = std::vector<std::string>;

// Lines end at LF, CR, CR LF, NUL or the end of the text, and empty ones are skipped; all else,
// "#" lines, blanks and a byte order mark included, is a path byte for byte.
TEST(ParseM3u, Lines_EveryNonEmptyLineIsAPath) {
  const std::pair<std::string, Paths> rows[] = {
      {"a\rb\nc\r\n\n\rd\n", {"a", "b", "c", "d"}}, {std::string("a\0b\0\0c", 7), {"a", "b", "c"}}, {"\r\n\n", {}},
      {"\xEF\xBB\xBF#EXTM3U\n#EXTINF:1,x\n x.mp3 \n\t", {"\xEF\xBB\xBF#EXTM3U", "#EXTINF:1,x", " x.mp3 ", "\t"}}};
  for (const auto& [text, paths] : rows) EXPECT_EQ(ParseM3u(text), paths) << text;
}

// Reading appends to the list without moving its cursor; missing files, folders and pipes (which
// must not block) add nothing.
TEST(M3uFile, WrittenThenRead_PathsAppendedWithoutMovingTheCursor) {
  test::ScratchDir dir;
  const std::string path = dir.file("list with blanks.m3u");
  ASSERT_TRUE(WriteM3u(path, {" lead", "", "/m/caf\xE9 \"q\".mp3"}));
  EXPECT_EQ(test::ReadBytes(path), " lead\n\n/m/caf\xE9 \"q\".mp3\n");
  CurrentPlaylist list;
  list.append("first");
  ASSERT_EQ(mkfifo(dir.file("pipe.m3u").c_str(), 0600), 0);
  for (const std::string& bad : {dir.file("missing.m3u"), dir.path(), dir.file("pipe.m3u")}) {
    EXPECT_FALSE(ReadM3u(bad, list)) << bad;
  }
  ASSERT_TRUE(ReadM3u(path, list));
  EXPECT_EQ(list.paths(), (Paths{"first", " lead", "/m/caf\xE9 \"q\".mp3"}));
  EXPECT_FALSE(list.hasCursor());
  EXPECT_FALSE(WriteM3u(dir.file("no/folder.m3u"), {"a"}));
  // A name chosen to save under gets ".m3u" unless it ends so in any case.
  EXPECT_EQ(WithM3uExtension("/a/x") + WithM3uExtension("x.M3u") + WithM3uExtension("m3u.d/x"), "/a/x.m3ux.M3um3u.d/x.m3u");
}

}  // namespace
}  // namespace orvo
