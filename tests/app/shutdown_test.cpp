#include "app/shutdown.h"

#include <gtest/gtest.h>

#include "core/message_dialogs.h"
#include "core/settings.h"
#include "core/notifier.h"
#include "core/media_engine.h"
#include "playlist/path_list.h"
#include "tests/playback/recording_doubles.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

using test::Exists;
using test::ReadBytes;
using test::WriteBytes;

class CountingEngine : public MediaEngine {
 public:
  bool loaded = false;
  int stops = 0;
  void Initialise() override {}
  bool IsLoaded() const override { return loaded; }
  void Release() override { loaded = false; }
  bool Load(const std::string&) override { return loaded = true; }
  void SetVideoArea(int, int, int, int) override {}
  void Play(GtkWidget*) override {}
  int Status() override { return loaded ? 1 : 0; }
  void SetEndListener(std::function<void()>) override {}
  void Pause() override {}
  void Resume() override {}
  void Stop() override { ++stops; }
  void Shutdown() override {}
};

class ShutdownTest : public ::testing::Test {
 protected:
  void SetUp() override { dialogs_.answer = kResponseYes; }

  ShutdownParts Parts(std::optional<std::string> saveName) {
    askedFolder_.clear();
    return ShutdownParts{playlist_, settings_, dir_, skin_, dialogs_, notifier_, engine_,
                         [this, saveName](const std::string& folder) {
                           askedFolder_ = folder;
                           return saveName;
                         },
                         [] { return std::make_pair(123, 45); }};
  }

  test::ScratchDir scratch_;
  std::string dir_ = scratch_.path() + "/", skin_ = dir_ + "orvo.ini", askedFolder_;
  CurrentPlaylist playlist_;
  Settings settings_;
  test::RecordingDialogs dialogs_;
  test::RecordingNotifier notifier_;
  CountingEngine engine_;
};

TEST_F(ShutdownTest, UnsavedPlaylistYes_SavesAppendsExtensionAndRemembersIt) {
  WriteBytes(dir_ + "orvo.prefs", "repeat = 0\n");
  settings_.ask_on_exit = 1;
  for (const char* song : {"/m/a.mp3", "/m/b.ogg", "/m/c.wav"}) playlist_.add(song);
  ShutdownParts parts = Parts(dir_ + "party");
  RunShutdownSteps(parts);

  EXPECT_EQ(askedFolder_, dir_);
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].message, "Unsaved Playlist... would you like to save it now?");
  EXPECT_EQ(ReadBytes(dir_ + "party.m3u"), "/m/a.mp3\n/m/b.ogg\n/m/c.wav\n");
  ASSERT_EQ(notifier_.shown.size(), 1u);
  EXPECT_EQ(notifier_.shown[0].summary, "Saved");
  EXPECT_EQ(notifier_.shown[0].body, "there were 3 files saved in the Playlist");
  EXPECT_EQ(ReadBytes(dir_ + "orvo.prefs"), "repeat = 0\nlast_one = " + dir_ + "party.m3u\n");
}

TEST_F(ShutdownTest, ChosenNameEndingInUpperCaseM3u_IsKeptAsItIs) {
  settings_.ask_on_exit = 1;
  playlist_.add("/m/a.mp3");
  ShutdownParts parts = Parts(dir_ + "Party.M3U");
  RunShutdownSteps(parts);
  EXPECT_EQ(playlist_.filePath, dir_ + "Party.M3U");
  EXPECT_EQ(ReadBytes(dir_ + "Party.M3U"), "/m/a.mp3\n");
  EXPECT_FALSE(Exists(dir_ + "Party.M3U.m3u"));
}

TEST_F(ShutdownTest, SaveThatCannotBeCreated_ReportsAndStillRemembersTheName) {
  WriteBytes(dir_ + "orvo.prefs", "");
  settings_.ask_on_exit = 1;
  playlist_.add("/m/a.mp3");
  ShutdownParts parts = Parts(dir_ + "missing/folder/list");
  RunShutdownSteps(parts);
  ASSERT_EQ(dialogs_.shown.size(), 2u);
  EXPECT_EQ(dialogs_.shown[1].message, "Failed to create the Playlist %s");
  EXPECT_EQ(dialogs_.shown[1].first, dir_ + "missing/folder/list.m3u");
  EXPECT_TRUE(notifier_.shown.empty());
  EXPECT_EQ(ReadBytes(dir_ + "orvo.prefs"), "last_one = " + dir_ + "missing/folder/list.m3u\n");
}

TEST_F(ShutdownTest, AnswerNoOrCancelledChooser_LeavesEverythingUnsaved) {
  WriteBytes(dir_ + "orvo.prefs", "last_one = /old.m3u\n");
  settings_.ask_on_exit = 1;
  playlist_.add("/m/a.mp3");
  dialogs_.answer = kResponseNo;
  ShutdownParts no = Parts(dir_ + "x");
  RunShutdownSteps(no);
  EXPECT_TRUE(askedFolder_.empty());
  dialogs_.answer = kResponseYes;
  ShutdownParts cancelled = Parts(std::nullopt);
  RunShutdownSteps(cancelled);
  EXPECT_TRUE(playlist_.filePath.empty());
  EXPECT_EQ(ReadBytes(dir_ + "orvo.prefs"), "last_one = /old.m3u\n");
}

TEST_F(ShutdownTest, NoQuestion_ForLoadedEmptyOrNotAskedPlaylists) {
  WriteBytes(dir_ + "orvo.prefs", "last_one = /old.m3u\n");
  settings_.ask_on_exit = 1;
  ShutdownParts empty = Parts(dir_ + "x");
  RunShutdownSteps(empty);  // empty and without a file
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_EQ(ReadBytes(dir_ + "orvo.prefs"), "last_one = /old.m3u\n");

  settings_.ask_on_exit = 0;
  playlist_.add("/m/a.mp3");
  RunShutdownSteps(empty);  // not asked: the unsaved playlist is lost
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_EQ(ReadBytes(dir_ + "orvo.prefs"), "last_one = /old.m3u\n");

  settings_.ask_on_exit = 1;
  playlist_.filePath = "/music/loaded.m3u";
  RunShutdownSteps(empty);  // loaded from a file: no question, remembered
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_EQ(ReadBytes(dir_ + "orvo.prefs"), "last_one = /music/loaded.m3u\n");
}

TEST_F(ShutdownTest, PlayingSong_IsStoppedAndReleased_NoPreferencesFileCreated) {
  engine_.loaded = true;
  playlist_.filePath = "/music/loaded.m3u";
  ShutdownParts parts = Parts(std::nullopt);
  RunShutdownSteps(parts);
  EXPECT_EQ(engine_.stops, 1);
  EXPECT_FALSE(engine_.loaded);
  EXPECT_FALSE(Exists(dir_ + "orvo.prefs"));
}

TEST_F(ShutdownTest, WindowPosition_GoesIntoTheSkinDescriptionNormalised) {
  WriteBytes(skin_, "[display]\r\n  displayx=100\r\n\r\n[player]\nglue = 0\n[control]\nwidth=300\n");
  ShutdownParts parts = Parts(std::nullopt);
  RunShutdownSteps(parts);
  EXPECT_EQ(ReadBytes(skin_),
            "[display]\ndisplayx = 100\n[player]\nglue = 0\nwindowx = 123\nwindowy = 45\n"
            "[control]\nwidth = 300\n");
}

TEST_F(ShutdownTest, SkinWithoutPlayerGroup_GetsItAppended_MissingSkinStaysMissing) {
  WriteBytes(skin_, "[display]\ndisplayx = 100\n");
  ShutdownParts parts = Parts(std::nullopt);
  RunShutdownSteps(parts);
  EXPECT_EQ(ReadBytes(skin_), "[display]\ndisplayx = 100\n[player]\nwindowx = 123\nwindowy = 45\n");

  skin_ = dir_ + "gone.ini";
  ShutdownParts missing = Parts(std::nullopt);
  RunShutdownSteps(missing);
  EXPECT_FALSE(Exists(skin_));
}

}  // namespace
}  // namespace orvo
