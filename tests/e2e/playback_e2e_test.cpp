// The real program playing songs named on its command line into a private
// PulseAudio null sink, with its notifications recorded over D-Bus.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/backends/test_media.h"
#include "tests/support/audio_capture.h"
#include "tests/support/notification_log.h"
#include "tests/support/program_folder.h"
#include "tests/support/running_program.h"
#include "tests/support/signal_analysis.h"

namespace orvo::test {
namespace {

using std::chrono::milliseconds;

const char* const kIcon = "/usr/share/icons/gnome/scalable/mimetypes/audio-x-generic.svg";

std::vector<NotificationRecord> Notifies(const NotificationLog& log) {
  std::vector<NotificationRecord> notifies;
  for (const NotificationRecord& record : log.Read()) {
    if (record.method == "Notify") notifies.push_back(record);
  }
  return notifies;
}

struct FormatCase {
  const char* format;
  int hertz;
};

class PlayerSoundTest : public ::testing::TestWithParam<FormatCase> {};

// Each format, played by the player itself from its command line, reaches the
// sound server as the tone that the file carries.
TEST_P(PlayerSoundTest, SongOnCommandLine_SoundsItsTone) {
  TestMedia media;
  const std::string song = media.Make("tone", GetParam().format, GetParam().hertz, 1.5);
  ASSERT_FALSE(song.empty());
  ProgramFolder folder;
  NotificationLog log;
  AudioCapture capture;
  ASSERT_TRUE(capture.Start());
  RunningProgram program(folder.Executable(), {song});
  const bool finished = log.WaitFor([](const NotificationRecord& r) {
                              return r.body == "the current Playlist is finished....";
                            },
                            milliseconds(30000))
                            .has_value();
  capture.Stop();
  program.Stop();
  ASSERT_TRUE(finished) << program.Output();
  const std::vector<float> left = capture.Left();
  EXPECT_GT(SignalAnalysis::SoundingRms(left, AudioCapture::kRate), 0.2);
  EXPECT_NEAR(SignalAnalysis::ToneFrequency(left, AudioCapture::kRate), GetParam().hertz,
              GetParam().hertz * 0.03);
}

INSTANTIATE_TEST_SUITE_P(Formats, PlayerSoundTest,
                         ::testing::Values(FormatCase{"mp3", 440}, FormatCase{"ogg", 660},
                                           FormatCase{"wav", 880}, FormatCase{"mpc", 550}),
                         [](const auto& test) { return std::string(test.param.format); });

// Two songs named on the command line: both sound, each is announced with its
// description, then the end of the playlist.
TEST(PlayerPass, Notifications_AnnounceEachSongWithItsDescriptionThenTheEnd) {
  TestMedia media;
  const std::string tagged = media.Make("tagged", "mp3", 500, 1.0);
  const std::string plain = media.Make("plain & simple", "wav", 700, 1.0);
  ASSERT_FALSE(tagged.empty());
  ASSERT_FALSE(plain.empty());
  const std::string tagging = "id3v2 -a 'Caf\xe9 Band' -t 'First Song' -A 'Album' '" + tagged + "'";
  ASSERT_EQ(std::system(tagging.c_str()), 0);
  // Tagging made the file new again; libxine would take it for one still
  // being written and wait at its end.
  std::filesystem::last_write_time(
      tagged, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));

  ProgramFolder folder;
  NotificationLog log;
  AudioCapture capture;
  ASSERT_TRUE(capture.Start());
  RunningProgram program(folder.Executable(), {tagged, plain});
  ASSERT_TRUE(log.WaitFor([](const NotificationRecord& r) {
                   return r.body == "the current Playlist is finished....";
                 },
                 milliseconds(30000))
                  .has_value())
      << program.Output();
  std::this_thread::sleep_for(milliseconds(300));
  capture.Stop();
  const std::vector<float> left = capture.Left();
  EXPECT_GT(SignalAnalysis::SoundingRms(left, AudioCapture::kRate), 0.2);
  EXPECT_GT(SignalAnalysis::SoundingSeconds(left, AudioCapture::kRate), 1.8);
  const std::vector<NotificationRecord> notes = Notifies(log);
  ASSERT_EQ(notes.size(), 4u) << program.Output();
  EXPECT_EQ(notes[0].summary, "current Playlist");
  EXPECT_EQ(notes[0].body, "there are  2 files in the current Playlist");
  EXPECT_EQ(notes[1].summary, "Now playing song 1 of 2");
  // The tag's Latin-1 byte reaches the notification server as UTF-8.
  EXPECT_EQ(notes[1].body, "Caf\xc3\xa9 Band \nFirst Song \nAlbum \n");
  EXPECT_EQ(notes[1].expireTimeout, 8000);
  EXPECT_EQ(notes[1].urgency, 1);
  EXPECT_EQ(notes[1].icon, kIcon);
  EXPECT_EQ(notes[2].summary, "Now playing song 2 of 2");
  EXPECT_EQ(notes[2].body, media.Folder() + "/plain + simple.wav\n");
  EXPECT_EQ(notes[3].summary, "current Playlist");
  EXPECT_EQ(notes[3].expireTimeout, 3000);

  // The first song's bubble was closed before the second was shown.
  bool closedFirst = false;
  for (const NotificationRecord& record : log.Read()) {
    if (record.method == "CloseNotification" && record.id == notes[1].id) closedFirst = true;
  }
  EXPECT_TRUE(closedFirst);
  const std::string output = program.Output();
  EXPECT_NE(output.find("0 *** " + tagged + "\n" + std::string(67, '-') + "\n"), std::string::npos)
      << output;
  EXPECT_NE(output.find("1 *** " + plain + "\n"), std::string::npos) << output;
  program.Stop();
}

TEST(PlayerPass, MissingFileWithRepeat_EndsWithTheWarningInsteadOfLooping) {
  ProgramFolder folder;
  folder.Write("orvo.prefs", "repeat = 1\n");
  NotificationLog log;
  RunningProgram program(folder.Executable(), {"/nowhere/gone.mp3"});
  ASSERT_NE(program.FindWindow("Orvo M ", milliseconds(20000)), 0u) << program.Output();
  // The warning is a message dialog without a title.
  bool warned = false;
  for (int i = 0; i < 100 && !warned; ++i) {
    warned = !program.Windows("").empty();
    if (!warned) std::this_thread::sleep_for(milliseconds(100));
  }
  EXPECT_TRUE(warned) << program.Output();
  EXPECT_EQ(program.Output().find(" *** "), std::string::npos);
  program.Stop();
}

}  // namespace
}  // namespace orvo::test
