// The real program driven through its widgets as a user would: the
// preferences window saves beside the executable, closes at once even with
// a playback running inside its loop, and a skin chosen there restarts the
// program with the new skin; the display scrolls the song being played.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <thread>

#include "tests/support/notification_log.h"
#include "tests/support/process_info.h"
#include "tests/support/program_folder.h"
#include "tests/support/running_program.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/widget_driver.h"

namespace orvo::test {
namespace {

using std::chrono::milliseconds;

const char* const kPlayer = "Orvo M ";
const char* const kPreferences = "Preferences";

// The key of every "key = value" line, in file order.
std::vector<std::string> KeysOf(const std::string& prefs) {
  std::vector<std::string> keys;
  std::istringstream in(prefs);
  for (std::string line; std::getline(in, line);) {
    keys.push_back(line.substr(0, line.find(" = ")));
  }
  return keys;
}

// Polls `condition` for up to `timeout`; true as soon as it holds.
template <typename Condition>
bool Eventually(Condition condition, milliseconds timeout = milliseconds(15000)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(milliseconds(20));
  }
  return true;
}

// The one process (other than `old`) running the folder's executable, once
// it has appeared; 0 when none or several did.
pid_t SuccessorOf(pid_t old, const ProgramFolder& folder) {
  pid_t successor = 0;
  Eventually([&] {
    std::vector<pid_t> running = ProcessesRunning(folder.Executable());
    running.erase(std::remove(running.begin(), running.end(), old), running.end());
    successor = running.size() == 1 ? running.front() : 0;
    return successor != 0;
  });
  return successor;
}

TEST(DrivenPreferences, ExitPressedWithoutSkinChange_SavesTwelveKeysBesideTheExecutableAndKeepsRunning) {
  ProgramFolder folder;
  ScratchDir elsewhere;
  folder.Write("orvo.prefs", "repeat = 1\ncycle_time = 25\nlast_one = /gone/list.m3u\n");
  // Started from the desktop entry, the working folder holds unrelated files.
  const std::string unrelated = "[player]\r\nwindowx=1\r\n";
  WriteBytes(elsewhere.file("orvo.ini"), unrelated);
  RunningProgram program(folder.Executable(), {}, elsewhere.path(), {kAccessibleWidgets});
  ASSERT_TRUE(program.WaitForLine("Ready ... starting ....", milliseconds(20000)))
      << program.Output();

  WidgetDriver driver(program.Pid());
  ASSERT_TRUE(driver.Click(kPlayer, "Preferences")) << driver.LastError();
  ASSERT_TRUE(driver.Click(kPreferences, "Random Play")) << driver.LastError();
  ASSERT_TRUE(driver.Click(kPreferences, "exit")) << driver.LastError();

  const std::string expected =
      "repeat = 1\ninstantplay = 0\nstart_with_last_playlist = 0\nstart_minimized = 0\n"
      "randomplay = 1\ncycle_title = 1\ncycle_time = 10\nask_on_exit = 0\nstay_top = 0\n"
      "stay_bottom = 0\nuse_wm_decorations = 0\nuse_last_skin = \n";
  EXPECT_TRUE(Eventually([&] { return ReadWhole(folder.File("orvo.prefs")) == expected; }))
      << ReadWhole(folder.File("orvo.prefs"));
  EXPECT_EQ(ReadWhole(elsewhere.file("orvo.prefs")), "") << "written into the working folder";

  // Still running and answering: the window opens again, and the driver
  // reports a button that is not there.
  ASSERT_TRUE(driver.Click(kPlayer, "Preferences")) << driver.LastError();
  ASSERT_TRUE(driver.WaitForWindow(kPreferences)) << driver.LastError();
  WidgetDriver impatient(program.Pid(), milliseconds(500));
  EXPECT_FALSE(impatient.Click(kPreferences, "No Such Button"));
  EXPECT_NE(impatient.LastError().find("No Such Button"), std::string::npos)
      << impatient.LastError();
  ASSERT_TRUE(driver.Click(kPreferences, "exit")) << driver.LastError();

  const XWindowId window = program.FindWindow(kPlayer);
  ASSERT_NE(window, 0u);
  ASSERT_TRUE(SendDeleteWindow(window));
  EXPECT_EQ(program.WaitForExit(milliseconds(15000)), std::optional<int>(0)) << program.Output();
  // Without a playlist file the shutdown adds no last_one.
  EXPECT_EQ(ReadWhole(folder.File("orvo.prefs")), expected);
  // The list named the skin by its bare name; the position still goes
  // beside the executable.
  const std::string skin = ReadWhole(folder.File("orvo.ini"));
  EXPECT_NE(skin.find("[player]\nwindowx = "), std::string::npos) << skin;
  EXPECT_EQ(skin.find("\n\n"), std::string::npos) << "not rewritten normalised";
  EXPECT_EQ(ReadWhole(elsewhere.file("orvo.ini")), unrelated);
}

// Playback started while the window is open runs inside the window's own
// event loop; pressing "exit" must still close the window at once instead
// of when that playback ends (with "Repeat playlist", never).
TEST(DrivenPreferences, ExitPressedWhileRepeatingPlaybackRunsInside_ClosesAndSavesAtOnce) {
  ProgramFolder folder;
  const std::string tone = folder.File("tone.wav");
  RunningProgram sox("/usr/bin/sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", tone, "synth",
                                      "1", "sine", "660", "vol", "0.5"});
  ASSERT_EQ(sox.WaitForExit(), std::optional<int>(0)) << sox.Output();
  folder.Write("tone.m3u", tone + "\n");
  NotificationLog log;
  RunningProgram program(folder.Executable(), {"tone.m3u"}, folder.Path(), {kAccessibleWidgets});
  // The start-up pass is over, so the main loop runs the window's loop.
  ASSERT_TRUE(log.WaitFor([](const NotificationRecord& record) {
    return record.body == "the current Playlist is finished....";
  }, milliseconds(20000))) << program.Output();

  WidgetDriver driver(program.Pid());
  ASSERT_TRUE(driver.Click(kPlayer, "Preferences")) << driver.LastError();
  ASSERT_TRUE(driver.Click(kPreferences, "Repeat playlist")) << driver.LastError();
  ASSERT_TRUE(driver.Click(kPlayer, "Play")) << driver.LastError();
  ASSERT_TRUE(Eventually([&] {
    const std::string output = program.Output();
    const size_t first = output.find("0 *** " + tone);
    return first != std::string::npos &&
           output.find("0 *** " + tone, first + 1) != std::string::npos;
  })) << program.Output();
  ASSERT_TRUE(driver.Click(kPreferences, "exit")) << driver.LastError();

  EXPECT_TRUE(Eventually([&] { return program.Windows(kPreferences).empty(); }));
  EXPECT_TRUE(Eventually([&] {
    return ReadWhole(folder.File("orvo.prefs")).find("repeat = 1\n") == 0;
  })) << ReadWhole(folder.File("orvo.prefs"));
  // The player, restored, still closes normally while the songs repeat.
  const XWindowId window = program.FindWindow(kPlayer);
  ASSERT_NE(window, 0u);
  ASSERT_TRUE(SendDeleteWindow(window));
  EXPECT_EQ(program.WaitForExit(milliseconds(15000)), std::optional<int>(0)) << program.Output();
}

TEST(DrivenPreferences, OtherSkinChosen_RestartsInProgramFolderWithAbsolutePlaylistAndSkin) {
  ProgramFolder folder;
  ScratchDir elsewhere;
  // Named relative to the working folder, which the restart leaves.
  const std::string playlist = elsewhere.file("my list.m3u");
  WriteBytes(playlist, folder.File("demo/01 Morning Arpeggio.mp3") + "\n" +
                           folder.File("demo/02 Minor Steps.mp3") + "\n");
  RunningProgram program(folder.Executable(), {"./my list.m3u"}, elsewhere.path(),
                         {kAccessibleWidgets});
  ASSERT_TRUE(program.WaitForLine("Playlist: ./my list.m3u", milliseconds(20000)))
      << program.Output();
  ASSERT_TRUE(program.WaitForLine("Ready ... starting ....")) << program.Output();

  WidgetDriver driver(program.Pid());
  ASSERT_TRUE(driver.Click(kPlayer, "Preferences")) << driver.LastError();
  ASSERT_TRUE(driver.Select(kPreferences, "vertical.ini")) << driver.LastError();
  ASSERT_TRUE(driver.Click(kPreferences, "exit")) << driver.LastError();
  EXPECT_EQ(program.WaitForExit(milliseconds(15000)), std::optional<int>(0)) << program.Output();

  EXPECT_EQ(KeysOf(ReadWhole(folder.File("orvo.prefs"))),
            (std::vector<std::string>{"repeat", "instantplay", "start_with_last_playlist",
                                      "start_minimized", "randomplay", "cycle_title", "cycle_time",
                                      "ask_on_exit", "stay_top", "stay_bottom",
                                      "use_wm_decorations", "use_last_skin"}));

  // The new process inherited the old one's output, which this test still
  // reads, and stays in its process group, so the program's end takes it
  // along if the test fails half-way.
  const pid_t successor = SuccessorOf(program.Pid(), folder);
  ASSERT_NE(successor, 0) << program.Output();
  EXPECT_EQ(CommandLineOf(successor),
            (std::vector<std::string>{folder.Executable(), playlist, "vertical.ini"}));
  EXPECT_EQ(WorkingFolderOf(successor), folder.Path());
  EXPECT_TRUE(program.WaitForLine("Inifile : " + folder.File("vertical.ini"), milliseconds(20000)))
      << program.Output();
  EXPECT_TRUE(program.WaitForLine("Playlist: " + playlist)) << program.Output();

  XWindowId window = 0;
  ASSERT_TRUE(Eventually([&] {
    const std::vector<XWindowId> windows = WindowsOfProcess(successor, kPlayer);
    window = windows.empty() ? 0 : windows.front();
    return window != 0;
  })) << program.Output();
  const std::optional<WindowSize> skin = PngImageSize(folder.File("vertical.png"));
  ASSERT_TRUE(skin.has_value());
  EXPECT_TRUE(Eventually([&] { return SizeOfWindow(window) == skin; }))
      << SizeOfWindow(window).value_or(WindowSize{}).width << " x "
      << SizeOfWindow(window).value_or(WindowSize{}).height;

  // A normal end of the new process records the playlist it was given as
  // one path.
  ASSERT_TRUE(SendDeleteWindow(window));
  EXPECT_TRUE(Eventually([&] { return !ProcessAlive(successor); })) << program.Output();
  const std::string prefs = ReadWhole(folder.File("orvo.prefs"));
  EXPECT_NE(prefs.find("\nlast_one = " + playlist + "\n"), std::string::npos) << prefs;
  EXPECT_TRUE(ProcessesRunning(folder.Executable()).empty());
}

TEST(DrivenDisplay, DemoPlaylistPlaying_DisplayLabelScrollsTheSongDescription) {
  ProgramFolder folder;
  RunningProgram program(folder.Executable(), {"demo.m3u"}, folder.Path(), {kAccessibleWidgets});
  ASSERT_TRUE(program.WaitForLine("0 *** demo/01 Morning Arpeggio.mp3", milliseconds(20000)))
      << program.Output();
  WidgetDriver driver(program.Pid());
  // The display rotates its text one character per tick, so the title is
  // whole in the text joined to itself, and two such readings differ once
  // the text has moved on.
  auto showsSong = [](const std::string& text) {
    return (text + text).find("Morning Arpeggio") != std::string::npos;
  };
  std::string first;
  ASSERT_TRUE(Eventually([&] {
    first = driver.Label(kPlayer, 0).value_or("");
    return showsSong(first);
  })) << first << driver.LastError();
  std::string later;
  EXPECT_TRUE(Eventually([&] {
    later = driver.Label(kPlayer, 0).value_or("");
    return showsSong(later) && later != first;
  })) << first << " / " << later;
}

}  // namespace
}  // namespace orvo::test
