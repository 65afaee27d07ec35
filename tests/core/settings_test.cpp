#include "core/settings.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

using test::ReadBytes;

// The record as one line: the five first switches, cycle_title, cycle_time, the four last
// switches, then last_one and use_last_skin.
std::string Fields(const Settings& s) {
  std::ostringstream out;
  out << s.repeat << s.instantplay << s.start_with_last_playlist << s.start_minimized
      << s.randomplay << ' ' << s.cycle_title << ' ' << s.cycle_time << ' ' << s.ask_on_exit
      << s.stay_top << s.stay_bottom << s.use_wm_decorations << " [" << s.last_one << "] ["
      << s.use_last_skin << "]";
  return out.str();
}

TEST(SettingsLoad, HandEditedFiles_EveryKeyByItsRule) {
  const std::pair<const char*, const char*> rows[] = {
      {nullptr, "00000 1 3 0000 [] []"},  // no file: defaults, whatever was there before
      {"REPEAT=1\r\n  instantplay   =   1\r\nrandomplay = yes\r\ncycle_title =\r\ncycle_time = 11\r\n"
       "stay_top = 1junk\r\nlast_one = \t /m/my list.m3u \t\r\nuse_last_skin=blue.ini\r\n"
       "[group]\r\nstay_bottom = 1\r\n",
       "11000 0 10 0100 [/m/my list.m3u] [blue.ini]"},
      // Five switches are on only for 1, the others for anything but 0.
      {"repeat = 2\ninstantplay = -1\nstart_with_last_playlist = 3\nrandomplay = 4\n"
       "ask_on_exit = 2\nstay_top = 2\nstay_bottom = 2\nstart_minimized = 2\nuse_wm_decorations = 2",
       "11101 1 3 0000 [] []"},
      {"cycle_time = 0\nstart_minimized = 1\nask_on_exit = 1\nstay_bottom = 1\n"
       "use_wm_decorations = 1\ncycle_title = -1",
       "00010 -1 1 1011 [] []"},
  };
  Settings settings;
  settings.repeat = true;
  settings.cycle_time = 7;
  settings.last_one = "stale";
  for (const auto& [text, fields] : rows) {
    test::ScratchDir dir;
    if (text) test::WriteBytes(dir.file("orvo.prefs"), text);
    settings.Load(dir.file("orvo.prefs"));
    EXPECT_EQ(Fields(settings), fields) << (text ? text : "no file");
  }
}

TEST(SettingsSave, AllThenLast_ExactLinesAndNoFileCreatedByLast) {
  test::ScratchDir dir;
  const std::string path = dir.file("orvo.prefs");
  Settings s;
  s.start_with_last_playlist = s.ask_on_exit = true;
  s.cycle_time = 42;
  s.last_one = "/home/u/rock.m3u";
  EXPECT_FALSE(s.SaveLast(path));  // only the preferences window creates the file
  EXPECT_FALSE(test::Exists(path));
  ASSERT_TRUE(s.SaveAll(path));
  EXPECT_EQ(s.cycle_time, 10);
  const std::string all =
      "repeat = 0\ninstantplay = 0\nstart_with_last_playlist = 1\nstart_minimized = 0\n"
      "randomplay = 0\ncycle_title = 1\ncycle_time = 10\nask_on_exit = 1\nstay_top = 0\n"
      "stay_bottom = 0\nuse_wm_decorations = 0\nuse_last_skin = \n";
  EXPECT_EQ(ReadBytes(path), all);
  ASSERT_TRUE(s.SaveLast(path));
  EXPECT_EQ(ReadBytes(path), all + "last_one = /home/u/rock.m3u\n");
  Settings loaded;
  loaded.Load(path);
  EXPECT_EQ(Fields(loaded), Fields(s));
  // last_one replaces the top-level key where it stands, in whatever case.
  test::WriteBytes(path, "repeat = 1\nLAST_ONE = /old.m3u\n[extra]\nlast_one = inside\n");
  ASSERT_TRUE(s.SaveLast(path));
  EXPECT_EQ(ReadBytes(path), "repeat = 1\nlast_one = /home/u/rock.m3u\n[extra]\nlast_one = inside\n");
  s.cycle_time = 0;
  EXPECT_FALSE(s.SaveAll(dir.file("gone/orvo.prefs")));
  EXPECT_EQ(s.cycle_time, 1);
}

}  // namespace
}  // namespace orvo
