#include "core/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

using test::Exists;
using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

TEST(ClampCycleTime, ForcedIntoOneToTen) {
  EXPECT_EQ(ClampCycleTime(-5), 1);
  EXPECT_EQ(ClampCycleTime(0), 1);
  EXPECT_EQ(ClampCycleTime(1), 1);
  EXPECT_EQ(ClampCycleTime(10), 10);
  EXPECT_EQ(ClampCycleTime(11), 10);
}

TEST(SettingsLoad, MissingFile_Defaults) {
  ScratchDir dir;
  Settings settings;
  settings.repeat = 1;
  settings.cycle_time = 7;
  settings.last_one = "stale";
  settings.Load(dir.file("orvo.prefs"));
  EXPECT_EQ(settings.repeat, 0);
  EXPECT_EQ(settings.cycle_title, 1);
  EXPECT_EQ(settings.cycle_time, 3);
  EXPECT_EQ(settings.instantplay + settings.start_with_last_playlist + settings.start_minimized +
                settings.randomplay + settings.ask_on_exit + settings.stay_top + settings.stay_bottom +
                settings.use_wm_decorations,
            0);
  EXPECT_EQ(settings.last_one, "");
  EXPECT_EQ(settings.use_last_skin, "");
}

TEST(SettingsLoad, HandEditedFile_CaseSpacingClampingAndBadNumbers) {
  ScratchDir dir;
  const std::string path = dir.file("orvo.prefs");
  WriteBytes(path,
             "REPEAT=1\r\n  instantplay   =   1\r\nrandomplay = yes\r\ncycle_title =\r\ncycle_time = 25\r\n"
             "stay_top = 1junk\r\nlast_one = \t /music/my list.m3u \t\r\nuse_last_skin=blue.ini\r\n"
             "[group]\r\nstay_bottom = 1\r\n");
  Settings settings;
  settings.Load(path);
  EXPECT_EQ(settings.repeat, 1);
  EXPECT_EQ(settings.instantplay, 1);
  EXPECT_EQ(settings.randomplay, 0);   // present but not numeric: 0
  EXPECT_EQ(settings.cycle_title, 0);  // empty: 0, which turns cycling off
  EXPECT_EQ(settings.cycle_time, 10);
  EXPECT_EQ(settings.stay_top, 1);
  EXPECT_EQ(settings.stay_bottom, 0);  // only top-level keys count
  EXPECT_EQ(settings.last_one, "/music/my list.m3u");
  EXPECT_EQ(settings.use_last_skin, "blue.ini");

  // Numbers other than 0 and 1: these five are on only for exactly 1, the
  // others for anything but 0.
  WriteBytes(path, "repeat = 2\ninstantplay = -1\nask_on_exit = 2\nstay_top = 2\nstay_bottom = 2\n"
                   "start_minimized = 2\nuse_wm_decorations = 2\n");
  settings.Load(path);
  EXPECT_TRUE(settings.repeat);
  EXPECT_TRUE(settings.instantplay);
  EXPECT_FALSE(settings.ask_on_exit || settings.stay_top || settings.stay_bottom ||
               settings.start_minimized || settings.use_wm_decorations);

  WriteBytes(path, "cycle_time = 0\n");
  settings.Load(path);
  EXPECT_EQ(settings.cycle_time, 1);
  EXPECT_EQ(settings.cycle_title, 1);
  EXPECT_EQ(settings.repeat, 0);
}

constexpr const char* kSavedByPreferences =
    "repeat = 0\ninstantplay = 0\nstart_with_last_playlist = 1\nstart_minimized = 0\nrandomplay = 0\n"
    "cycle_title = 1\ncycle_time = 3\nask_on_exit = 1\nstay_top = 0\nstay_bottom = 0\n"
    "use_wm_decorations = 0\nuse_last_skin = \n";

TEST(SettingsSave, AllThenLast_ExactFileOfThirteenLines) {
  ScratchDir dir;
  const std::string path = dir.file("orvo.prefs");
  Settings settings;
  settings.start_with_last_playlist = 1;
  settings.ask_on_exit = 1;
  settings.last_one = "/home/u/rock.m3u";
  ASSERT_TRUE(settings.SaveAll(path));
  EXPECT_EQ(ReadBytes(path), kSavedByPreferences);
  ASSERT_TRUE(settings.SaveLast(path));
  EXPECT_EQ(ReadBytes(path), std::string(kSavedByPreferences) + "last_one = /home/u/rock.m3u\n");

  // The preferences window drops last_one again until the next shutdown.
  ASSERT_TRUE(settings.SaveAll(path));
  EXPECT_EQ(ReadBytes(path), kSavedByPreferences);
}

TEST(SettingsSave, All_ClampsInMemoryAndRoundTrips) {
  ScratchDir dir;
  const std::string path = dir.file("orvo.prefs");
  Settings saved;
  saved.repeat = 1;
  saved.cycle_time = 42;
  saved.use_last_skin = "/skins/dark.ini";
  saved.stay_bottom = 1;
  ASSERT_TRUE(saved.SaveAll(path));
  EXPECT_EQ(saved.cycle_time, 10);
  Settings loaded;
  loaded.Load(path);
  EXPECT_EQ(loaded.repeat, 1);
  EXPECT_EQ(loaded.cycle_time, 10);
  EXPECT_EQ(loaded.stay_bottom, 1);
  EXPECT_EQ(loaded.use_last_skin, "/skins/dark.ini");

  saved.cycle_time = 0;
  EXPECT_FALSE(saved.SaveAll(dir.file("gone/orvo.prefs")));
  EXPECT_EQ(saved.cycle_time, 1);  // clamped even when the file cannot be made
}

TEST(SettingsSave, Last_ReplacedWhereItStandsOrAddedAfterTopLevel_NeverCreatesFile) {
  ScratchDir dir;
  const std::string path = dir.file("orvo.prefs");
  Settings settings;
  settings.last_one = "/new list.m3u";
  EXPECT_FALSE(settings.SaveLast(path));
  EXPECT_FALSE(Exists(path));

  WriteBytes(path, "repeat = 0\nLAST_ONE = /old.m3u\ncycle_time = 3\n");
  ASSERT_TRUE(settings.SaveLast(path));
  EXPECT_EQ(ReadBytes(path), "repeat = 0\nlast_one = /new list.m3u\ncycle_time = 3\n");

  WriteBytes(path, "repeat = 1\n[extra]\nlast_one = inside\n");
  ASSERT_TRUE(settings.SaveLast(path));
  EXPECT_EQ(ReadBytes(path), "repeat = 1\nlast_one = /new list.m3u\n[extra]\nlast_one = inside\n");
}

}  // namespace
}  // namespace orvo
