#include "playlist/cd_player.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/message_dialog.h"
#include "app/settings.h"
#include "playlist/play_audio_cd.h"

namespace orvo {
namespace {

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/orvo-cd-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempFolder() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Writes a BIN/CUE pair of `tracks` audio tracks (one second of tone each)
// and returns the CUE file's path.
std::string MakeDiscImage(const std::string& folder, const std::string& name, int tracks) {
  const std::string bin = folder + "/" + name + ".bin";
  const std::string cue = folder + "/" + name + ".cue";
  std::string command = "sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw '" + bin +
                        "' synth " + std::to_string(tracks) + " sine 440 vol 0.3";
  if (std::system(command.c_str()) != 0) return std::string();
  std::ofstream out(cue);
  out << "FILE \"" << name << ".bin\" BINARY\n";
  for (int t = 1; t <= tracks; ++t) {
    char line[64];
    std::snprintf(line, sizeof line, "  TRACK %02d AUDIO\n    INDEX 01 00:%02d:00\n", t, t - 1);
    out << line;
  }
  return cue;
}

TEST(CdPlayer, DiscImage_TrackCountFromItsTableOfContents) {
  TempFolder folder;
  const std::string three = MakeDiscImage(folder.path(), "three", 3);
  const std::string twelve = MakeDiscImage(folder.path(), "twelve", 12);
  ASSERT_FALSE(three.empty());
  ASSERT_FALSE(twelve.empty());

  CdPlayer cd;
  ASSERT_EQ(cd.OpenSources({three, twelve}), 2);
  EXPECT_EQ(cd.DriveName(), three);
  EXPECT_EQ(cd.TrackCount(), 3);
  EXPECT_EQ(cd.SelectAndName(1), twelve);
  EXPECT_EQ(cd.TrackCount(), 12);
  cd.SelectDrive(2);  // out of range: drive 1 stays current
  EXPECT_EQ(cd.DriveName(), twelve);
  EXPECT_EQ(cd.TrackCount(), 12);
  // An image cannot play audio by itself; asking it to must stay harmless.
  cd.PlayTracks(1, 12);
  cd.PlayTracks(5, 40);
}

TEST(CdPlayer, MissingDiscOrNoDrive_CountsNoTrack) {
  CdPlayer cd;
  EXPECT_EQ(cd.OpenSources({"/nonexistent/disc.cue"}), 1);
  EXPECT_EQ(cd.TrackCount(), 0);
  EXPECT_EQ(cd.OpenSources({}), 0);
  EXPECT_EQ(cd.TrackCount(), 0);
  EXPECT_EQ(cd.DriveName(), "");
}

class FakeDrives : public CdDrive {
 public:
  std::vector<int> tracksPerDrive;
  int current = 0;
  std::vector<std::pair<int, int>> played;  // (drive, first track) of each PlayTracks
  int lastPlayed = 0;                       // last track of the latest PlayTracks

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

class RecordingDialogs : public MessageDialogs {
 public:
  std::vector<std::string> shown;
  int ShowMessageDialog(const std::string& message, int type, int buttons, const std::string&,
                        const std::string&) override {
    shown.push_back(message);
    EXPECT_EQ(type, kMessageWarning);
    EXPECT_EQ(buttons, kButtonsOk);
    return kResponseOk;
  }
};

TEST(PlayAudioCd, TwelveTracksWithInstantPlay_PlaysTheWholeDisc) {
  FakeDrives cd;
  cd.tracksPerDrive = {12};
  Settings settings;
  settings.instantplay = 1;
  RecordingDialogs dialogs;
  EXPECT_TRUE(PlayAudioCd(0, cd, settings, dialogs));
  ASSERT_EQ(cd.played.size(), 1u);
  EXPECT_EQ(cd.played[0], std::make_pair(0, 1));
  EXPECT_EQ(cd.lastPlayed, 12);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST(PlayAudioCd, InstantPlayOff_DoesNothingVisible) {
  FakeDrives cd;
  cd.tracksPerDrive = {12};
  Settings settings;
  RecordingDialogs dialogs;
  PlayAudioCd(0, cd, settings, dialogs);
  EXPECT_TRUE(cd.played.empty());
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST(PlayAudioCd, EmptyDrive_WarnsWhateverInstantPlaySays) {
  for (int instant : {0, 1}) {
    FakeDrives cd;
    cd.tracksPerDrive = {0};
    Settings settings;
    settings.instantplay = instant;
    RecordingDialogs dialogs;
    PlayAudioCd(0, cd, settings, dialogs);
    EXPECT_TRUE(cd.played.empty());
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"Found no Audio Track on this CD!"});
  }
}

TEST(PlayAudioCd, SecondDrive_PlaysTheDiscInTheSecondDrive) {
  FakeDrives cd;
  cd.tracksPerDrive = {0, 7};
  Settings settings;
  settings.instantplay = 1;
  RecordingDialogs dialogs;
  PlayAudioCd(1, cd, settings, dialogs);
  ASSERT_EQ(cd.played.size(), 1u);
  EXPECT_EQ(cd.played[0].first, 1);
  EXPECT_EQ(cd.lastPlayed, 7);
  EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace orvo
