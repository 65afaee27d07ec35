#include "playlist/m3u.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "playlist/path_list.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

std::string Joined(const std::vector<std::string>& paths) {
  std::string out;
  for (const std::string& path : paths) out += path + "|";
  return out;
}

// Lines end at LF, CR, CR LF, NUL or the end of the text, and empty ones are skipped; all else,
// "#" lines, blanks and a byte order mark included, is a path byte for byte.
TEST(ParseM3u, Lines_EveryNonEmptyLineIsAPath) {
  const std::pair<std::string, const char*> rows[] = {
      {"a.mp3\r\n\r\nb.mp3", "a.mp3|b.mp3|"}, {"a\rb\nc\r\n\n\rd\n", "a|b|c|d|"},
      {std::string("a\0b\0\0c", 7), "a|b|c|"}, {"\r\n\r\n\n", ""},
      {"#EXTM3U\n#EXTINF:1,x\n x.mp3 \n\t\n", "#EXTM3U|#EXTINF:1,x| x.mp3 |\t|"},
      {"\xEF\xBB\xBF/m/a.mp3", "\xEF\xBB\xBF/m/a.mp3|"}};
  for (const auto& [text, paths] : rows) EXPECT_EQ(Joined(ParseM3u(text)), paths) << text;
}

TEST(M3uFile, WrittenThenRead_PathsAppendedWithoutMovingTheCursor) {
  test::ScratchDir dir;
  const std::string path = dir.file("list with blanks.m3u");
  ASSERT_TRUE(WriteM3u(path, {" lead", "", "#EXTM3U", "/m/caf\xE9 \"q\".mp3"}));
  EXPECT_EQ(test::ReadBytes(path), " lead\n\n#EXTM3U\n/m/caf\xE9 \"q\".mp3\n");
  CurrentPlaylist list;
  list.add("first");
  list.reset();
  ASSERT_TRUE(ReadM3u(path, list));
  EXPECT_EQ(Joined(list.paths()), "first| lead|#EXTM3U|/m/caf\xE9 \"q\".mp3|");
  EXPECT_FALSE(list.hasCursor());
  // Missing files, folders and pipes (without blocking) add nothing.
  ASSERT_EQ(mkfifo(dir.file("pipe.m3u").c_str(), 0600), 0);
  for (const std::string& bad : {dir.file("missing.m3u"), dir.path(), dir.file("pipe.m3u")}) {
    EXPECT_FALSE(ReadM3u(bad, list)) << bad;
  }
  EXPECT_EQ(list.count(), 4u);
  EXPECT_FALSE(WriteM3u(dir.file("no/folder.m3u"), {"a"}));
  // A name chosen to save under gets ".m3u" unless it ends so in any case.
  EXPECT_EQ(WithM3uExtension("/a/party") + WithM3uExtension("x.M3u") + WithM3uExtension("m3u.d/x"),
            "/a/party.m3ux.M3um3u.d/x.m3u");
}

}  // namespace
}  // namespace orvo
