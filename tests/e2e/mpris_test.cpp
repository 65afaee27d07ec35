// The real player driven through the desktop's media controls: playerctl and
// gdbus speak MPRIS to it over a private session bus, and what they change is
// read back from the bus itself, the sound server, the notification recorder
// and the player's display.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

#include "tests/backends/test_media.h"
#include "tests/support/audio_capture.h"
#include "tests/support/notification_log.h"
#include "tests/support/program_folder.h"
#include "tests/support/running_program.h"
#include "tests/support/signal_analysis.h"
#include "tests/support/widget_driver.h"

namespace orvo::test {
namespace {

using std::chrono::milliseconds;

const char* const kPlayer = "Orvo M ";
const char* const kPausedMarker = "-- PAUSED --";

// Runs a tool to its end; what it printed, without the last line feed.
std::string Ask(const std::string& tool, const std::vector<std::string>& args) {
  RunningProgram program(tool, args);
  program.WaitForExit();
  std::string output = program.Output();
  if (!output.empty() && output.back() == '\n') output.pop_back();
  return output;
}

std::string Playerctl(const std::vector<std::string>& command) {
  std::vector<std::string> args{"-p", "orvo_m"};
  args.insert(args.end(), command.begin(), command.end());
  return Ask("/usr/bin/playerctl", args);
}

template <typename Condition>
bool Eventually(Condition condition, milliseconds timeout = milliseconds(15000)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(milliseconds(50));
  }
  return true;
}

bool StatusBecomes(const std::string& status) {
  return Eventually([&] { return Playerctl({"status"}) == status; });
}

// The summaries of the "Now playing" bubbles so far, in order.
std::vector<std::string> SongBubbles(const NotificationLog& log) {
  std::vector<std::string> summaries;
  for (const NotificationRecord& record : log.Read()) {
    if (record.method == "Notify" && record.summary.rfind("Now playing", 0) == 0) {
      summaries.push_back(record.summary);
    }
  }
  return summaries;
}

// The display scrolls whatever it shows, the pause marker too.
bool ShowsRotationOf(const std::optional<std::string>& label, const std::string& text) {
  return label && label->size() == text.size() && (text + text).find(*label) != std::string::npos;
}

// Whether `parts` occur in `text` one after the other.
bool InOrder(const std::string& text, const std::vector<std::string>& parts) {
  size_t at = 0;
  for (const std::string& part : parts) {
    at = text.find(part, at);
    if (at == std::string::npos) return false;
    at += part.size();
  }
  return true;
}

TEST(MediaControls, PlayerctlPressesThePlayersButtonsAndFollowsItsSongAndStatusUntilQuit) {
  TestMedia media;
  const std::string first = media.Make("first", "mp3", 500, 20.0);
  const std::string second = media.Make("second", "wav", 700, 20.0);
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  const std::string tagging = "id3v2 -a 'Caf\xe9 Band' -t 'First Song' -A 'Album' '" + first + "'";
  ASSERT_EQ(std::system(tagging.c_str()), 0);
  // Tagging made the file new again; libxine would wait at its end.
  std::filesystem::last_write_time(
      first, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  ProgramFolder folder;
  folder.Write("orvo.prefs", "repeat = 0\n");
  const std::string playlist = folder.Write("songs.m3u", first + "\n" + second + "\n");

  RunningProgram monitor("/usr/bin/dbus-monitor",
                         {"--session", "type='signal',member='PropertiesChanged'"});
  // The monitor prints its own name's arrival once it listens.
  ASSERT_TRUE(Eventually([&] { return !monitor.Output().empty(); }));
  NotificationLog log;
  RunningProgram program(folder.Executable(), {playlist}, folder.Path(), {kAccessibleWidgets});
  ASSERT_TRUE(log.WaitForSummary("Now playing song 1 of 2", milliseconds(20000)))
      << program.Output();

  EXPECT_EQ(Ask("/usr/bin/playerctl", {"-l"}), "orvo_m");
  // The tag's Latin-1 artist arrives as UTF-8.
  EXPECT_EQ(Playerctl({"metadata", "--format", "{{xesam:title}}|{{xesam:artist}}|{{xesam:album}}"}),
            "First Song|Caf\xc3\xa9 Band|Album");
  EXPECT_EQ(Playerctl({"metadata", "xesam:url"}), "file://" + first);

  // Next is the next-song button: the second song sounds and is announced.
  Playerctl({"next"});
  ASSERT_TRUE(log.WaitForSummary("Now playing song 2 of 2")) << program.Output();
  EXPECT_TRUE(program.WaitForLine("1 *** " + second)) << program.Output();
  AudioCapture capture;
  ASSERT_TRUE(capture.Start());
  std::this_thread::sleep_for(milliseconds(800));
  capture.Stop();
  const std::vector<float> left = capture.Left();
  EXPECT_GT(SignalAnalysis::SoundingRms(left, AudioCapture::kRate), 0.2);
  EXPECT_NEAR(SignalAnalysis::ToneFrequency(left, AudioCapture::kRate), 700, 21);
  EXPECT_EQ(Playerctl({"metadata", "--format", "{{xesam:title}}|{{xesam:artist}}"}), "second.wav|");

  // Pause and play are the pause button's toggle, with the display's marker.
  Playerctl({"pause"});
  EXPECT_TRUE(StatusBecomes("Paused"));
  WidgetDriver driver(program.Pid());
  EXPECT_TRUE(ShowsRotationOf(driver.Label(kPlayer), kPausedMarker)) << driver.LastError();
  Playerctl({"play"});
  EXPECT_TRUE(StatusBecomes("Playing"));
  // Resumed, not started again: the display is back on the second song.
  const std::string resumed = driver.Label(kPlayer).value_or("");
  EXPECT_NE((resumed + resumed).find("second.wav"), std::string::npos) << resumed;

  // Stop during the first song ends the pass that would go on with the
  // second; play then starts a new pass from the top.
  Playerctl({"previous"});
  ASSERT_TRUE(Eventually([&] { return SongBubbles(log).size() >= 3; })) << program.Output();
  Playerctl({"stop"});
  EXPECT_TRUE(StatusBecomes("Stopped"));
  EXPECT_EQ(Playerctl({"metadata", "mpris:trackid"}),
            "'/org/mpris/MediaPlayer2/TrackList/NoTrack'");
  Playerctl({"play"});
  ASSERT_TRUE(Eventually([&] { return SongBubbles(log).size() >= 4; })) << program.Output();
  const std::vector<std::string> bubbles = SongBubbles(log);
  EXPECT_EQ(std::vector<std::string>(bubbles.begin(), bubbles.begin() + 4),
            (std::vector<std::string>{"Now playing song 1 of 2", "Now playing song 2 of 2",
                                      "Now playing song 1 of 2", "Now playing song 1 of 2"}));

  // Each change was announced on the bus as it happened.
  EXPECT_TRUE(InOrder(monitor.Output(), {"\"second.wav\"", "\"Paused\"", "\"Playing\"",
                                         "\"First Song\"", "\"Stopped\"", "\"Playing\""}))
      << monitor.Output();

  // Quit runs the quit button's shutdown steps.
  Ask("/usr/bin/gdbus",
      {"call", "--session", "--dest", "org.mpris.MediaPlayer2.orvo_m", "--object-path",
       "/org/mpris/MediaPlayer2", "--method", "org.mpris.MediaPlayer2.Quit"});
  EXPECT_EQ(program.WaitForExit(milliseconds(15000)), std::optional<int>(0)) << program.Output();
  EXPECT_NE(ReadWhole(folder.File("orvo.prefs")).find("last_one = " + playlist + "\n"),
            std::string::npos);
}

struct UnavailableCase {
  const char* name;
  bool nameTaken;
  const char* environment;
  const char* line;
  friend void PrintTo(const UnavailableCase& c, std::ostream* out) { *out << c.name; }
};

class MediaControlsUnavailable : public ::testing::TestWithParam<UnavailableCase> {};

TEST_P(MediaControlsUnavailable, PlayerPlaysOnAndSaysSoOnce) {
  TestMedia media;
  const std::string song = media.Make("tone", "wav", 600, 1.0);
  ASSERT_FALSE(song.empty());
  ProgramFolder folder;
  std::optional<RunningProgram> owner;
  if (GetParam().nameTaken) {
    owner.emplace(folder.Executable(), std::vector<std::string>{});
    ASSERT_TRUE(Eventually([] { return Ask("/usr/bin/playerctl", {"-l"}) == "orvo_m"; }))
        << owner->Output();
  }
  std::vector<std::string> environment;
  if (*GetParam().environment != '\0') environment.push_back(GetParam().environment);
  RunningProgram program(folder.Executable(), {song}, "", environment);
  EXPECT_TRUE(program.WaitForLine("0 *** " + song, milliseconds(20000))) << program.Output();
  EXPECT_TRUE(program.WaitForLine(GetParam().line)) << program.Output();
  const std::vector<std::string> lines = program.Lines();
  EXPECT_EQ(
      std::count_if(lines.begin(), lines.end(),
                    [](const std::string& line) { return line.rfind("Media controls", 0) == 0; }),
      1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MediaControlsUnavailable,
    ::testing::Values(
        UnavailableCase{"NameTaken", true, "",
                        "Media controls off: org.mpris.MediaPlayer2.orvo_m has another owner"},
        UnavailableCase{"NoBus", false, "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/bus",
                        "Media controls off: no session bus"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace orvo::test
