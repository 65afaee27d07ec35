#include "playlist/m3u.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "base/ini_file.h"
#include "playlist/path_list.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;
using Paths = std::vector<std::string>;

TEST(ParseM3u, LineEnds_LfCrCrLfNulAndEndOfText) {
  EXPECT_EQ(ParseM3u("a.mp3\r\n\r\nb.mp3"), (Paths{"a.mp3", "b.mp3"}));
  EXPECT_EQ(ParseM3u("a\rb\nc\r\n\n\rd\n"), (Paths{"a", "b", "c", "d"}));
  EXPECT_EQ(ParseM3u(std::string("a\0b\0\0c", 7)), (Paths{"a", "b", "c"}));
  EXPECT_TRUE(ParseM3u("").empty());
  EXPECT_TRUE(ParseM3u("\r\n\r\n\n").empty());
}

TEST(ParseM3u, LinesTakenByteForByte) {
  EXPECT_EQ(ParseM3u("#EXTM3U\n#EXTINF:1,x\n x.mp3 \n\t\n"), (Paths{"#EXTM3U", "#EXTINF:1,x", " x.mp3 ", "\t"}));
  EXPECT_EQ(ParseM3u("\xEF\xBB\xBF/m/a.mp3\n"), (Paths{"\xEF\xBB\xBF/m/a.mp3"}));
  const std::string longLine(100000, 'x');
  EXPECT_EQ(ParseM3u(longLine + "\n" + longLine), (Paths{longLine, longLine}));
}

TEST(ReadM3u, AppendsWithoutMovingCursor_UnreadableInputAddsNothing) {
  ScratchDir dir;
  const std::string path = dir.file("list with blanks.m3u");
  WriteBytes(path, "a.mp3\r\n\r\nb.mp3");
  CurrentPlaylist list;
  list.add("first");
  list.reset();
  ASSERT_TRUE(ReadM3u(path, list));
  EXPECT_EQ(list.paths(), (Paths{"first", "a.mp3", "b.mp3"}));
  EXPECT_FALSE(list.hasCursor());

  // Missing files, folders and pipes (without blocking) add nothing.
  EXPECT_FALSE(ReadM3u(dir.file("missing.m3u"), list));
  EXPECT_FALSE(ReadM3u(dir.path(), list));
  ASSERT_EQ(mkfifo(dir.file("pipe.m3u").c_str(), 0600), 0);
  EXPECT_FALSE(ReadM3u(dir.file("pipe.m3u"), list));
  EXPECT_EQ(list.count(), 3u);
}

// Within the read bound a file may still hold more lines than memory takes;
// each reader of outside files then reads it as unreadable instead of
// throwing through the toolkit.
TEST(ReadM3u, MoreLinesThanMemoryTakes_ReadAsUnreadableForPlaylistsAndIniFiles) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit this test sets";
#endif
  ScratchDir dir;
  const std::string path = dir.file("lines.m3u");
  std::string lines(kMaxReadBytes, '\n');
  for (std::size_t i = 0; i < lines.size(); i += 2) lines[i] = '=';
  WriteBytes(path, lines);
  lines = std::string();
  const std::function<bool()> readers[] = {
      [&] {
        CurrentPlaylist list;
        list.add("kept");
        return !ReadM3u(path, list) && list.paths() == Paths{"kept"};
      },
      [&] {
        IniFile file;
        return !file.open(path) && file.readString("", "none") == "none";
      },
  };
  for (const auto& reader : readers) {
    EXPECT_TRUE(test::RunInChild([&] {
      // Room for the file's bytes, not for millions of lines.
      long pages = 0;
      std::ifstream("/proc/self/statm") >> pages;
      const rlim_t room = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + 3 * kMaxReadBytes;
      const rlimit limit{room, room};
      try {
        return setrlimit(RLIMIT_AS, &limit) == 0 && reader();
      } catch (...) {
        return false;  // it would have unwound through the toolkit
      }
    }));
  }
}

TEST(WriteM3u, EachPathPlusLf_EmptyPathEmptyLine_UncreatableFails) {
  ScratchDir dir;
  const std::string path = dir.file("out.m3u");
  ASSERT_TRUE(WriteM3u(path, {"a", "", "b"}));
  EXPECT_EQ(ReadBytes(path), "a\n\nb\n");
  PathList list;
  ASSERT_TRUE(ReadM3u(path, list));
  EXPECT_EQ(list.paths(), (Paths{"a", "b"}));

  ASSERT_TRUE(WriteM3u(path, {}));
  EXPECT_EQ(ReadBytes(path), "");

  EXPECT_FALSE(WriteM3u(dir.file("no/folder.m3u"), {"a"}));
  EXPECT_EQ(ReadBytes(dir.file("no/folder.m3u")), "<missing>");
}

TEST(WriteM3u, RoundTrip_BlanksHashesAndHighBytes) {
  ScratchDir dir;
  const std::string path = dir.file("round.m3u");
  const Paths paths = {" lead", "trail ", "#EXTM3U", "/m/caf\xE9 \"q\" 'x'.mp3", "\xEF\xBB\xBFmark"};
  ASSERT_TRUE(WriteM3u(path, paths));
  PathList list;
  ASSERT_TRUE(ReadM3u(path, list));
  EXPECT_EQ(list.paths(), paths);
}

}  // namespace
}  // namespace orvo
