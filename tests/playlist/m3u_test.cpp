#include "playlist/m3u.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "base/atomic_file.h"
#include "base/ini_file.h"
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

// Within the read bound a file may still hold more lines than memory takes; each reader of outside
// files then reads it as unreadable instead of throwing through the toolkit.
TEST(M3u, MoreLinesThanMemoryTakes_ReadAsUnreadableForPlaylistsAndIniFiles) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit this test sets";
#endif
  test::ScratchDir dir;
  const std::string path = dir.file("lines.m3u");
  std::string lines(kMaxReadBytes, '\n');
  for (std::size_t i = 0; i < lines.size(); i += 2) lines[i] = '=';
  test::WriteBytes(path, lines);
  lines = std::string();
  const std::function<bool()> readers[] = {
      [&] {
        CurrentPlaylist list;
        list.add("kept");
        return !ReadM3u(path, list) && list.paths() == std::vector<std::string>{"kept"};
      },
      [&] {
        IniFile file;
        return !file.open(path) && file.readString("", "none") == "none";
      }};
  for (const auto& reader : readers) {
    EXPECT_TRUE(test::RunInChild([&] {
      long pages = 0;  // room for the file's bytes, not for millions of lines
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

}  // namespace
}  // namespace orvo
