#include "core/settings.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

std::string Fields(const Settings& s) {
  std::ostringstream out;
  out << s.repeat << s.instantplay << s.start_with_last_playlist << s.start_minimized << s.randomplay << ' '
      << s.cycle_title << ' ' << s.cycle_time << ' ' << s.ask_on_exit << s.stay_top << s.stay_bottom
      << s.use_wm_decorations << " [" << s.last_one << "] [" << s.use_last_skin << "]";
  return out.str();
}

// Five switches are on only for 1, the others for any number but 0; cycle_time is forced into 1 to
// 10; a missing file or key gives the default, a key without a number 0. The preferences window
// writes twelve keys; shutdown adds or replaces the top-level last_one, but never creates the file.
TEST(Settings, LoadedAndSaved_KeyByKey) {
  const char* rows[][2] = {
      {nullptr, "00000 1 3 0000 [] []"},
      {"REPEAT=1\r\n  instantplay   =   1\r\nrandomplay = yes\r\ncycle_title =\r\ncycle_time = 11\r\n"
       "stay_top = 1junk\r\nlast_one = \t /m/my list.m3u \t\r\nuse_last_skin=blue.ini\r\n[group]\r\n"
       "stay_bottom = 1\r\n", "11000 0 10 0100 [/m/my list.m3u] [blue.ini]"},
      {"repeat = 2\ninstantplay = -1\nstart_with_last_playlist = 3\nrandomplay = 4\nask_on_exit = 2\n"
       "stay_top = 2\nstay_bottom = 2\nstart_minimized = 2\nuse_wm_decorations = 2", "11101 1 3 0000 [] []"},
      {"cycle_time = 0\nstart_minimized = 1\nask_on_exit = 1\nstay_bottom = 1\nuse_wm_decorations = 1\n"
       "cycle_title = -1", "00010 -1 1 1011 [] []"},
  };
  test::ScratchDir dir;
  const std::string path = dir.file("orvo.prefs");
  Settings s;
  s.last_one = "stale";
  for (const auto& r : rows) {
    if (r[0]) test::WriteBytes(path, r[0]);
    s.Load(path);
    EXPECT_EQ(Fields(s), r[1]) << (r[0] ? r[0] : "no file");
  }
  s.cycle_time = 42, s.last_one = "/home/u/rock.m3u";
  EXPECT_FALSE(s.SaveLast(dir.file("other.prefs")) || s.SaveAll(dir.file("gone/orvo.prefs")));
  EXPECT_EQ(s.cycle_time, 10);  // clamped in memory too
  test::WriteBytes(path, "repeat = 1\nLAST_ONE = /old.m3u\n[extra]\nlast_one = inside\n");
  ASSERT_TRUE(s.SaveLast(path));
  EXPECT_EQ(test::ReadBytes(path), "repeat = 1\nlast_one = /home/u/rock.m3u\n[extra]\nlast_one = inside\n");
  ASSERT_TRUE(s.SaveAll(path) && s.SaveLast(path));
  EXPECT_EQ(test::ReadBytes(path), "repeat = 0\ninstantplay = 0\nstart_with_last_playlist = 0\nstart_minimized = 1\n"
            "randomplay = 0\ncycle_title = -1\ncycle_time = 10\nask_on_exit = 1\nstay_top = 0\nstay_bottom = 1\n"
            "use_wm_decorations = 1\nuse_last_skin = \nlast_one = /home/u/rock.m3u\n");
}

}  // namespace
}  // namespace orvo
