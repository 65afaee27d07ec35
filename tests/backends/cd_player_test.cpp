#include "backends/cd_player.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/message_dialogs.h"
#include "core/settings.h"
#include "playback/play_audio_cd.h"
#include "tests/playback/recording_doubles.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

// Writes a BIN/CUE pair with one second (75 sectors) of tone per track,
// `kinds` giving each track's kind ('A' audio, 'D' a MODE1/2352 data track),
// numbered from `firstNumber`, and returns the CUE file's path.
std::string MakeDiscImage(const std::string& folder, const std::string& name,
                          const std::string& kinds, int firstNumber = 1) {
  const std::string bin = folder + "/" + name + ".bin";
  const std::string cue = folder + "/" + name + ".cue";
  std::string command = "sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw '" + bin +
                        "' synth " + std::to_string(kinds.size()) + " sine 440 vol 0.3";
  if (std::system(command.c_str()) != 0) return std::string();
  std::ofstream out(cue);
  out << "FILE \"" << name << ".bin\" BINARY\n";
  for (std::size_t t = 0; t < kinds.size(); ++t) {
    char line[80];
    std::snprintf(line, sizeof line, "  TRACK %02d %s\n    INDEX 01 00:%02d:00\n",
                  firstNumber + static_cast<int>(t), kinds[t] == 'D' ? "MODE1/2352" : "AUDIO",
                  static_cast<int>(t));
    out << line;
  }
  return cue;
}

TEST(CdPlayer, DiscImage_TrackCountFromItsTableOfContents) {
  test::ScratchDir folder;
  const std::string three = MakeDiscImage(folder.path(), "three", "AAA");
  const std::string twelve = MakeDiscImage(folder.path(), "twelve", std::string(12, 'A'));
  ASSERT_FALSE(three.empty());
  ASSERT_FALSE(twelve.empty());

  CdPlayer cd;
  ASSERT_EQ(cd.OpenSources({three, twelve}), 2);
  EXPECT_EQ(cd.DriveName(), three);
  EXPECT_EQ(cd.TrackCount(), 3);
  cd.SelectDrive(1);
  EXPECT_EQ(cd.DriveName(), twelve);
  EXPECT_EQ(cd.TrackCount(), 12);
  cd.SelectDrive(2);  // out of range: drive 1 stays current
  EXPECT_EQ(cd.DriveName(), twelve);
  EXPECT_EQ(cd.TrackCount(), 12);
  // An image cannot play audio by itself; asking it to must stay harmless.
  cd.PlayTracks(1, 12);
  cd.PlayTracks(5, 40);
}

// Only audio tracks count and play, found by their numbers in the table of
// contents: a data track before or after them, or a first number above 1,
// must not leave the disc silent.
TEST(CdPlayer, MixedDiscs_AudioTracksOnlyNumberedFromTheTableOfContents) {
  test::ScratchDir folder;
  const struct {
    std::string kinds;
    int firstNumber;
    int audioTracks;
    std::pair<int, int> whole, last;  // sectors of PlayTracks(1, n) and (n, n)
  } discs[] = {
      {"AAA", 1, 3, {0, 225}, {150, 225}},  {"DAA", 1, 2, {75, 225}, {150, 225}},
      {"AAD", 1, 2, {0, 150}, {75, 150}},   {"DAAD", 1, 2, {75, 225}, {150, 225}},
      {"AA", 3, 2, {0, 150}, {75, 150}},
  };
  for (const auto& disc : discs) {
    SCOPED_TRACE(disc.kinds + " from " + std::to_string(disc.firstNumber));
    CdPlayer cd;
    ASSERT_EQ(cd.OpenSources({MakeDiscImage(folder.path(), "disc", disc.kinds, disc.firstNumber)}), 1);
    ASSERT_EQ(cd.TrackCount(), disc.audioTracks);
    EXPECT_EQ(cd.AudioSpan(1, disc.audioTracks), disc.whole);
    EXPECT_EQ(cd.AudioSpan(disc.audioTracks, disc.audioTracks), disc.last);
    EXPECT_EQ(cd.AudioSpan(1, disc.audioTracks + 1), std::nullopt);
  }
  // Data only: no audio track, so the player warns instead of playing.
  CdPlayer data;
  ASSERT_EQ(data.OpenSources({MakeDiscImage(folder.path(), "data", "D")}), 1);
  EXPECT_EQ(data.TrackCount(), 0);
  EXPECT_EQ(data.AudioSpan(1, 1), std::nullopt);
}

TEST(CdPlayer, MissingDiscOrNoDrive_CountsNoTrack) {
  CdPlayer cd;
  EXPECT_EQ(cd.OpenSources({"/nonexistent/disc.cue"}), 1);
  EXPECT_EQ(cd.TrackCount(), 0);
  EXPECT_EQ(cd.OpenSources({}), 0);
  EXPECT_EQ(cd.TrackCount(), 0);
  EXPECT_EQ(cd.DriveName(), "");
}

class FakeDrives : public CdDrives {
 public:
  std::vector<int> tracksPerDrive;
  int current = 0;
  std::vector<std::pair<int, int>> played;  // (drive, first track) of each PlayTracks
  int lastPlayed = 0;                       // last track of the latest PlayTracks

  int DriveCount() const override { return static_cast<int>(tracksPerDrive.size()); }
  void SelectDrive(int i) override {
    if (i >= 0 && i < static_cast<int>(tracksPerDrive.size())) current = i;
  }
  std::string DriveName() const override { return "/dev/sr" + std::to_string(current); }
  int TrackCount() const override { return tracksPerDrive[static_cast<size_t>(current)]; }
  void PlayTracks(int first, int last) override {
    played.emplace_back(current, first);
    lastPlayed = last;
  }
};

// The whole disc of the chosen drive plays only with instantplay; an empty
// disc is reported whatever instantplay says.
TEST(PlayAudioCd, DrivesAndInstantPlay_PlayWholeDiscOrWarn) {
  const struct {
    std::vector<int> tracksPerDrive;
    int drive;
    int instantplay;
    int lastTrack;  // 0: nothing played
    bool warned;
  } cases[] = {
      {{12}, 0, 1, 12, false}, {{12}, 0, 0, 0, false}, {{0}, 0, 1, 0, true},
      {{0}, 0, 0, 0, true},    {{0, 7}, 1, 1, 7, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "drive " << c.drive << " instantplay " << c.instantplay);
    FakeDrives cd;
    cd.tracksPerDrive = c.tracksPerDrive;
    Settings settings;
    settings.instantplay = c.instantplay;
    test::RecordingDialogs dialogs;
    const bool played = PlayAudioCd(c.drive, cd, settings, dialogs);
    if (c.lastTrack > 0) {
      EXPECT_TRUE(played);
      EXPECT_EQ(cd.played, (std::vector<std::pair<int, int>>{{c.drive, 1}}));
      EXPECT_EQ(cd.lastPlayed, c.lastTrack);
    } else {
      EXPECT_TRUE(cd.played.empty());
    }
    ASSERT_EQ(dialogs.shown.size(), c.warned ? 1u : 0u);
    if (c.warned) {
      EXPECT_EQ(dialogs.shown[0].message, "Found no Audio Track on this CD!");
      EXPECT_EQ(dialogs.shown[0].type, kMessageWarning);
      EXPECT_EQ(dialogs.shown[0].buttons, kButtonsOk);
    }
  }
}

}  // namespace
}  // namespace orvo
