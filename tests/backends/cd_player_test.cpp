#include "backends/cd_player.h"

#include <gtest/gtest.h>

#include "backends/background_drives.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

// libcdio opens a BIN/CUE disc image like a drive. Each drive answers from
// its own table of contents, read again whenever it is selected, and the
// drives opened on a thread of their own answer the same once that is done.
TEST(CdPlayer, DiscImages_NameAndTrackCountOfTheSelectedDrive) {
  test::ScratchDir dir;
  std::vector<std::string> sources = {dir.file("1.cue"), dir.file("2.cue"), "/nonexistent/3.cue"};
  for (int disc = 1; disc <= 2; ++disc) {
    std::string cue = "FILE \"" + std::to_string(disc) + ".bin\" BINARY\n";
    for (int track = 0; track < disc * 6; ++track) cue += "TRACK " + std::to_string(track + 1) + " AUDIO\nINDEX 01 00:" + std::to_string(track) + ":00\n";
    test::WriteBytes(sources[disc - 1], cue);
    ASSERT_EQ(std::system(("sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw " + dir.file(std::to_string(disc)) +
                           ".bin synth " + std::to_string(disc * 6) + " sine 440").c_str()), 0);
  }
  CdPlayer direct;
  EXPECT_EQ(direct.OpenSources(sources), 3);
  BackgroundDrives background;
  background.OpenSources(sources);
  for (CdDrives* drives : std::initializer_list<CdDrives*>{&background, &direct}) {
    std::string seen = std::to_string(drives->TrackCount()) + std::to_string(drives->DriveCount());
    for (int drive : {1, 3, -1, 2, 0}) {  // out of range: the drive stays
      drives->SelectDrive(drive);
      seen += " " + drives->DriveName().substr(drives->DriveName().size() - 5) + ":" + std::to_string(drives->TrackCount());
      drives->PlayTracks(1, 40);  // an image cannot play audio: harmless
    }
    EXPECT_EQ(seen, "63 2.cue:12 2.cue:12 2.cue:12 3.cue:0 1.cue:6");
  }
}

}  // namespace
}  // namespace orvo
