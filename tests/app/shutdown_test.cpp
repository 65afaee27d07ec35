#include "app/shutdown.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/message_dialog.h"
#include "app/settings.h"
#include "desktop/notifier.h"
#include "playlist/media_engine.h"
#include "playlist/path_list.h"

namespace orvo {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

class ScriptedDialogs : public MessageDialogs {
 public:
  int answer = kResponseYes;
  std::vector<std::string> texts;
  int ShowMessageDialog(const std::string& message, int, int, const std::string& first,
                        const std::string& second) override {
    texts.push_back(FormatDialogText(message, first, second));
    return answer;
  }
};

class RecordingNotifier : public Notifier {
 public:
  std::vector<std::pair<std::string, std::string>> shown;
  NotificationHandle ShowNotification(const std::string& summary, const std::string& body, int,
                                      int, void*, const std::string&) override {
    shown.emplace_back(summary, body);
    return nullptr;
  }
  void CloseNotification(NotificationHandle) override {}
};

class CountingEngine : public MediaEngine {
 public:
  bool loaded = false;
  int stops = 0;
  void Initialise() override {}
  bool IsLoaded() const override { return loaded; }
  void Release() override { loaded = false; }
  bool Load(const std::string&) override { return loaded = true; }
  void SetVideoArea(int, int, int, int) override {}
  void Play(void*) override {}
  int Status() override { return loaded ? 1 : 0; }
  void Pause() override {}
  void Resume() override {}
  void Stop() override { ++stops; }
  void Shutdown() override {}
};

class ShutdownTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvo-shutdown-XXXXXX";
    dir_ = std::string(mkdtemp(pattern)) + "/";
    skin_ = dir_ + "orvo.ini";
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  ShutdownParts Parts(std::optional<std::string> saveName) {
    askedFolder_.clear();
    return ShutdownParts{playlist_, settings_, dir_, skin_, dialogs_, notifier_, engine_,
                         [this, saveName](const std::string& folder) {
                           askedFolder_ = folder;
                           return saveName;
                         },
                         [] { return std::make_pair(123, 45); }};
  }

  std::string dir_, skin_, askedFolder_;
  CurrentPlaylist playlist_;
  Settings settings_;
  ScriptedDialogs dialogs_;
  RecordingNotifier notifier_;
  CountingEngine engine_;
};

TEST_F(ShutdownTest, UnsavedPlaylistYes_SavesAppendsExtensionAndRemembersIt) {
  WriteAll(dir_ + "orvo.prefs", "repeat = 0\n");
  settings_.ask_on_exit = 1;
  for (const char* song : {"/m/a.mp3", "/m/b.ogg", "/m/c.wav"}) playlist_.add(song);
  ShutdownParts parts = Parts(dir_ + "party");
  RunShutdownSteps(parts);

  EXPECT_EQ(askedFolder_, dir_);
  ASSERT_EQ(dialogs_.texts.size(), 1u);
  EXPECT_EQ(dialogs_.texts[0], "Unsaved Playlist... would you like to save it now?");
  EXPECT_EQ(ReadAll(dir_ + "party.m3u"), "/m/a.mp3\n/m/b.ogg\n/m/c.wav\n");
  ASSERT_EQ(notifier_.shown.size(), 1u);
  EXPECT_EQ(notifier_.shown[0].first, "Saved");
  EXPECT_EQ(notifier_.shown[0].second, "there were 3 files saved in the Playlist");
  EXPECT_EQ(ReadAll(dir_ + "orvo.prefs"), "repeat = 0\nlast_one = " + dir_ + "party.m3u\n");
}

TEST_F(ShutdownTest, ChosenNameEndingInUpperCaseM3u_IsKeptAsItIs) {
  settings_.ask_on_exit = 1;
  playlist_.add("/m/a.mp3");
  ShutdownParts parts = Parts(dir_ + "Party.M3U");
  RunShutdownSteps(parts);
  EXPECT_EQ(playlist_.filePath, dir_ + "Party.M3U");
  EXPECT_EQ(ReadAll(dir_ + "Party.M3U"), "/m/a.mp3\n");
  EXPECT_FALSE(Exists(dir_ + "Party.M3U.m3u"));
}

TEST_F(ShutdownTest, SaveThatCannotBeCreated_ReportsAndStillRemembersTheName) {
  WriteAll(dir_ + "orvo.prefs", "");
  settings_.ask_on_exit = 1;
  playlist_.add("/m/a.mp3");
  ShutdownParts parts = Parts(dir_ + "missing/folder/list");
  RunShutdownSteps(parts);
  ASSERT_EQ(dialogs_.texts.size(), 2u);
  EXPECT_EQ(dialogs_.texts[1], "Failed to create the Playlist " + dir_ + "missing/folder/list.m3u");
  EXPECT_TRUE(notifier_.shown.empty());
  EXPECT_EQ(ReadAll(dir_ + "orvo.prefs"), "last_one = " + dir_ + "missing/folder/list.m3u\n");
}

TEST_F(ShutdownTest, AnswerNoOrCancelledChooser_LeavesEverythingUnsaved) {
  WriteAll(dir_ + "orvo.prefs", "last_one = /old.m3u\n");
  settings_.ask_on_exit = 1;
  playlist_.add("/m/a.mp3");
  dialogs_.answer = -9;  // No
  ShutdownParts no = Parts(dir_ + "x");
  RunShutdownSteps(no);
  EXPECT_TRUE(askedFolder_.empty());
  dialogs_.answer = kResponseYes;
  ShutdownParts cancelled = Parts(std::nullopt);
  RunShutdownSteps(cancelled);
  EXPECT_TRUE(playlist_.filePath.empty());
  EXPECT_EQ(ReadAll(dir_ + "orvo.prefs"), "last_one = /old.m3u\n");
}

TEST_F(ShutdownTest, NoQuestion_ForLoadedEmptyOrNotAskedPlaylists) {
  WriteAll(dir_ + "orvo.prefs", "last_one = /old.m3u\n");
  settings_.ask_on_exit = 1;
  ShutdownParts empty = Parts(dir_ + "x");
  RunShutdownSteps(empty);  // empty and without a file
  EXPECT_TRUE(dialogs_.texts.empty());
  EXPECT_EQ(ReadAll(dir_ + "orvo.prefs"), "last_one = /old.m3u\n");

  settings_.ask_on_exit = 0;
  playlist_.add("/m/a.mp3");
  RunShutdownSteps(empty);  // not asked: the unsaved playlist is lost
  EXPECT_TRUE(dialogs_.texts.empty());
  EXPECT_EQ(ReadAll(dir_ + "orvo.prefs"), "last_one = /old.m3u\n");

  settings_.ask_on_exit = 1;
  playlist_.filePath = "/music/loaded.m3u";
  RunShutdownSteps(empty);  // loaded from a file: no question, remembered
  EXPECT_TRUE(dialogs_.texts.empty());
  EXPECT_EQ(ReadAll(dir_ + "orvo.prefs"), "last_one = /music/loaded.m3u\n");
}

TEST_F(ShutdownTest, NoPreferencesFile_IsNeverCreated) {
  playlist_.filePath = "/music/loaded.m3u";
  ShutdownParts parts = Parts(std::nullopt);
  RunShutdownSteps(parts);
  EXPECT_FALSE(Exists(dir_ + "orvo.prefs"));
}

TEST_F(ShutdownTest, PlayingSong_IsStoppedAndReleased) {
  engine_.loaded = true;
  ShutdownParts parts = Parts(std::nullopt);
  RunShutdownSteps(parts);
  EXPECT_EQ(engine_.stops, 1);
  EXPECT_FALSE(engine_.loaded);
}

TEST_F(ShutdownTest, WindowPosition_GoesIntoTheSkinDescriptionNormalised) {
  WriteAll(skin_, "[display]\r\n  displayx=100\r\n\r\n[player]\nglue = 0\n[control]\nwidth=300\n");
  ShutdownParts parts = Parts(std::nullopt);
  RunShutdownSteps(parts);
  EXPECT_EQ(ReadAll(skin_),
            "[display]\ndisplayx = 100\n[player]\nglue = 0\nwindowx = 123\nwindowy = 45\n"
            "[control]\nwidth = 300\n");
}

TEST_F(ShutdownTest, SkinWithoutPlayerGroup_GetsItAppended_MissingSkinStaysMissing) {
  WriteAll(skin_, "[display]\ndisplayx = 100\n");
  ShutdownParts parts = Parts(std::nullopt);
  RunShutdownSteps(parts);
  EXPECT_EQ(ReadAll(skin_), "[display]\ndisplayx = 100\n[player]\nwindowx = 123\nwindowy = 45\n");

  skin_ = dir_ + "gone.ini";
  ShutdownParts missing = Parts(std::nullopt);
  RunShutdownSteps(missing);
  EXPECT_FALSE(Exists(skin_));
}

}  // namespace
}  // namespace orvo
