// The real program started in a private X server and D-Bus session: its
// diagnostics, usage text, start-up playlist and count notification.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/support/notification_log.h"
#include "tests/support/program_folder.h"
#include "tests/support/running_program.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {
namespace {

using std::chrono::milliseconds;

const char* const kIcon = "/usr/share/icons/gnome/scalable/mimetypes/audio-x-generic.svg";

// Index of `line` in `lines` at or after `from`, or -1.
int Find(const std::vector<std::string>& lines, const std::string& line, int from = 0) {
  for (size_t i = static_cast<size_t>(from); i < lines.size(); ++i) {
    if (lines[i] == line) return static_cast<int>(i);
  }
  return -1;
}

TEST(Startup, Help_PrintsTheThirteenUsageLinesAndExitsWithoutWindow) {
  ProgramFolder folder;
  RunningProgram program(folder.Executable(), {"--help", "list.m3u"});
  const std::optional<int> status = program.WaitForExit(milliseconds(20000));
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(*status, 0);
  const std::string hyphens(52, '-');
  const std::vector<std::string> expected = {
      "INIT complete",
      "----",
      " ",
      hyphens,
      "Orvo M - Orvo Media Player",
      "Usage: Orvo_M [playlist.m3u [ini-file.ini [music-file(s)]]] ",
      "Use playlist, inifile and music-files in any combination",
      "and order ",
      "Specify a path if they are not in the same directory",
      "as the executable ",
      hyphens,
      "if you specify music-tracks (mp3, mpc, wav, ogg)",
      "a given playlist is ignored!",
      hyphens,
      " "};
  EXPECT_EQ(program.Lines(), expected);
  EXPECT_TRUE(WindowsTitled("Orvo M ").empty());
}

TEST(Startup, PlaylistNamedOnCommandLine_DiagnosticsInOrderAndCountNotification) {
  ProgramFolder folder;
  folder.Write("list.m3u", "/nowhere/a.mp3\r\n\r\n/nowhere/b.ogg\n/nowhere/c.wav");
  NotificationLog log;
  RunningProgram program(folder.Executable(), {"list.m3u"}, folder.Path());
  ASSERT_TRUE(program.WaitForLine("Ready ... starting ....", milliseconds(20000)))
      << program.Output();
  const auto lines = program.Lines();
  const int init = Find(lines, "INIT complete");
  const int dashes = Find(lines, "----", init);
  const int starting = Find(lines, "starting main", dashes);
  const int inifile = Find(lines, "Inifile : " + folder.Path() + "/orvo.ini", starting);
  const int skin = Find(lines, "playerskin : " + folder.Path() + "/skin.png", inifile);
  const int finished = Find(lines, "main finished ", skin);
  const int playlist = Find(lines, "Playlist: " + folder.Path() + "/list.m3u", finished);
  const int ready = Find(lines, "Ready ... starting ....", playlist);
  EXPECT_EQ(init, 0) << program.Output();
  EXPECT_EQ(dashes, 1);
  for (int index : {starting, inifile, skin, finished, playlist, ready}) {
    EXPECT_GE(index, 0) << program.Output();
  }

  const auto count = log.WaitForSummary("current Playlist");
  ASSERT_TRUE(count.has_value());
  EXPECT_EQ(count->body, "there are  3 files in the current Playlist");
  EXPECT_EQ(count->expireTimeout, 5000);
  EXPECT_EQ(count->urgency, 1);
  EXPECT_EQ(count->icon, kIcon);
  EXPECT_EQ(count->appName, folder.Executable());
  program.Stop();
}

TEST(Startup, MissingLastPlaylist_NoNotificationAndNoPlayback) {
  ProgramFolder folder;
  folder.Write("orvo.prefs", "start_with_last_playlist = 1\nlast_one = " + folder.Path() +
                                 "/gone.m3u\n");
  NotificationLog log;
  RunningProgram program(folder.Executable(), {});
  ASSERT_TRUE(program.WaitForLine("Playlist: " + folder.Path() + "/gone.m3u", milliseconds(20000)))
      << program.Output();
  ASSERT_TRUE(program.WaitForLine("Ready ... starting ....", milliseconds(5000)));
  // The start-up timer fires after 100 ms; give it ample time to do nothing.
  std::this_thread::sleep_for(milliseconds(1000));
  EXPECT_TRUE(log.Read().empty());
  EXPECT_EQ(program.Output().find(" *** "), std::string::npos);
  program.Stop();
}

TEST(Startup, WindowManagerClose_EndsWithStatusZeroAndStoresPosition) {
  ProgramFolder folder;
  folder.Write("orvo.prefs", "repeat = 0\n");
  folder.Write("list.m3u", "/nowhere/a.mp3\n");
  RunningProgram program(folder.Executable(), {"list.m3u"});
  const XWindowId window = program.FindWindow("Orvo M ", milliseconds(20000));
  ASSERT_NE(window, 0u) << program.Output();
  ASSERT_TRUE(SendDeleteWindow(window));
  const std::optional<int> status = program.WaitForExit(milliseconds(10000));
  ASSERT_TRUE(status.has_value()) << program.Output();
  EXPECT_EQ(*status, 0);
  EXPECT_EQ(ReadBytes(folder.File("orvo.prefs")),
            "repeat = 0\nlast_one = " + folder.Path() + "/list.m3u\n");
  const std::string skin = ReadBytes(folder.File("orvo.ini"));
  EXPECT_NE(skin.find("[player]\nwindowx = "), std::string::npos) << skin;
  EXPECT_NE(skin.find("\nwindowy = "), std::string::npos) << skin;
  EXPECT_EQ(skin.find("\n\n"), std::string::npos) << "normalised without blank lines";
}

// A terabyte of nothing where the preferences, the skin description and the
// playlist should be: the player starts with the defaults and an empty
// playlist, and leaves the files alone when it quits.
TEST(Startup, TerabyteFiles_ReadAsUnreadable) {
  ProgramFolder folder;
  const off_t terabyte = off_t{1} << 40;
  const std::vector<std::string> files = {folder.Write("orvo.prefs", "repeat = 1\n"),
                                          folder.File("orvo.ini"), folder.Write("x.m3u", "")};
  for (const std::string& file : files) ASSERT_EQ(truncate(file.c_str(), terabyte), 0) << file;
  NotificationLog log;
  RunningProgram program(folder.Executable(), {"x.m3u"});
  ASSERT_TRUE(program.WaitForLine("Playlist: " + folder.File("x.m3u"), milliseconds(20000)))
      << program.Output();
  const XWindowId window = program.FindWindow("Orvo M ");
  ASSERT_NE(window, 0u) << program.Output();
  ASSERT_TRUE(SendDeleteWindow(window));
  EXPECT_EQ(program.WaitForExit(milliseconds(10000)), std::optional<int>(0)) << program.Output();
  EXPECT_TRUE(log.Read().empty()) << "an empty playlist has no count bubble";
  for (const std::string& file : files) {
    struct stat st {};
    EXPECT_TRUE(stat(file.c_str(), &st) == 0 && st.st_size == terabyte) << file;
  }
}

}  // namespace
}  // namespace orvo::test
