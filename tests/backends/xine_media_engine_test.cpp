#include "backends/xine_media_engine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

#include "backends/background_engine.h"
#include "backends/cd_player.h"
#include "backends/mpc_decoder.h"
#include "base/temporary_file.h"
#include "tests/backends/sv7_tone.h"
#include "tests/backends/test_media.h"
#include "tests/support/audio_capture.h"
#include "tests/support/signal_analysis.h"

namespace orvo {
namespace {

using std::chrono::milliseconds;

// Seconds from the first to the last sounding sample: longer than the sounding time by any
// pause inside the song.
double Span(const std::vector<float>& left) {
  auto loud = [](float v) { return std::fabs(v) >= 0.01f; };
  const auto first = std::find_if(left.begin(), left.end(), loud);
  const auto last = std::find_if(left.rbegin(), left.rend(), loud).base();
  return first < last ? static_cast<double>(last - first) / test::AudioCapture::kRate : 0;
}

// Files played one after another by the engine started on a thread of its own, as the player
// plays them: a song reaches the sink as its own tone at full level for its whole length, also
// when released at once at Status 0, with no pause, also when saved a moment ago; any other
// file, pipes and devices too, fails to load at once, keeps its object, is silent.
TEST(XineMediaEngine, Play_EachFile_SoundsItsWholeToneOrNothing) {
  test::TestMedia media;
  const std::string sv8 = test::ReadBytes(media.Make("sv8", "mpc", 784, 3));
  const std::string fresh = media.Make("fresh", "ogg", 587, 3);
  std::filesystem::last_write_time(fresh, std::filesystem::file_time_type::clock::now());
  for (const char* pipe : {"/pipe.mp3", "/pipe.mpc"}) mkfifo((media.Folder() + pipe).c_str(), 0600);
  // A tag longer than a first look into the file.
  const std::string tag = std::string("ID3\x04\0\0\0\x01\x40\0", 10) + std::string(0x6000, 'x');
  const std::pair<std::string, int> rows[] = {
      {media.Make("it's a \"song\" #2 50%20", "wav", 440, 3), 440},  // no MRL syntax in names
      {media.Make("mp3", "mp3", 523, 3), 523},
      {media.Make("ogg", "ogg", 659, 3), 659},
      {media.Folder() + "/sv8.mpc", 784},
      {media.Make("sv7", "sv7", 330, 3), 330},
      {media.Write("sv8.mp3", sv8), 784},  // Musepack by its content
      {media.Write("tagged.ogg", tag + sv8), 784},
      {fresh, 587},
      {media.Folder() + "/missing.mp3", 0},
      {media.Folder(), 0},
      {media.Write("text.mp3", "This is a text file, not a song.\n"), 0},
      {media.Write("noise.mpc", std::string(4096, 'Z')), 0},
      {media.Write("bad.mpc", "MPCK and then nothing useful"), 0},
      {media.Write("tagged.mp3", tag + "OggS"), 0},
      {media.Folder() + "/pipe.mp3", 0},
      {media.Folder() + "/pipe.mpc", 0},
      {"/dev/zero", 0},
  };
  TemporaryFile wav;  // an SV6 stream, which is not decoded, and so fails instead of giving nothing
  const auto* sv6 = reinterpret_cast<const uint8_t*>("MP+\x06 an SV6 stream");
  EXPECT_FALSE(wav.Create() && MpcDecoder::DecodeToWav(sv6, 20, wav.Descriptor()));
  BackgroundEngine engine(std::make_unique<XineMediaEngine>());
  engine.Initialise();
  std::atomic<int> ends{0};  // told once a song has played out, so that the player need not poll
  engine.SetEndListener([&ends] { ++ends; });
  for (const auto& [path, hertz] : rows) {
    ends = 0;
    test::AudioCapture capture;
    ASSERT_TRUE(capture.Start());
    EXPECT_EQ(engine.Load(path), hertz != 0) << path;
    engine.Play(nullptr);
    EXPECT_EQ(engine.IsLoaded() * 10 + engine.Status(), hertz != 0 ? 11 : 10) << path;
    for (int waited = 0; engine.Status() != 0; waited += 2) {  // polled as the player does
      ASSERT_LT(waited, 20000) << "hangs";
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    engine.Release();  // which waits for the listener thread
    EXPECT_EQ(ends, hertz != 0) << path;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    capture.Stop();
    const std::vector<float> left = capture.Left();
    const double seconds = test::SignalAnalysis::SoundingSeconds(left, capture.kRate);
    EXPECT_TRUE(hertz ? seconds > 2.85 && seconds < 3.4 : seconds == 0) << path << seconds;
    EXPECT_LT(Span(left) - seconds, 0.1) << path << " paused";
    EXPECT_NEAR(test::SignalAnalysis::SoundingRms(left, capture.kRate), hertz ? 0.354 : 0, 0.06);
    EXPECT_NEAR(test::SignalAnalysis::ToneFrequency(left, capture.kRate), hertz, hertz * 0.02);
  }
}

// An hour of Musepack is decoded while it plays, into a file nobody else sees, so that a killed
// player leaves nothing; Stop keeps the song, which plays on, Release drops it.
TEST(XineMediaEngine, HourOfMusepack_DecodedWhilePlayingStoppedReplayedReleased) {
  test::TestMedia media;
  const std::string song = media.Write("hour.mpc", test::MakeSv7Tone(330, 3600));
  const std::string tmp = media.Folder() + "/tmp";
  test::AudioCapture capture;
  ASSERT_TRUE(capture.Start());
  ASSERT_EQ(mkdir(tmp.c_str(), 0700), 0);
  setenv("TMPDIR", tmp.c_str(), 1);
  XineMediaEngine engine;
  engine.Initialise();
  ASSERT_TRUE(engine.Load(song));
  engine.Play(nullptr);
  uintmax_t decoded = 0;  // the open, unnamed files in the temporary folder
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    if (std::filesystem::read_symlink(fd, error).string().rfind(tmp, 0) == 0) {
      decoded += std::filesystem::file_size(fd.path(), error) + 1;
    }
  }
  EXPECT_GT(decoded, 0u);
  EXPECT_LT(decoded, 3600u * 44100 * 4 / 2) << "Play waited for the whole hour to be decoded";
  EXPECT_TRUE(std::filesystem::is_empty(tmp));
  std::this_thread::sleep_for(milliseconds(800));
  engine.Stop();
  EXPECT_EQ(engine.IsLoaded() * 10 + engine.Status(), 10);
  engine.Play(nullptr);
  EXPECT_EQ(engine.Status(), 1);
  std::this_thread::sleep_for(milliseconds(800));
  engine.Release();
  EXPECT_EQ(engine.IsLoaded() * 10 + engine.Status(), 0);
  std::this_thread::sleep_for(milliseconds(300));
  capture.Stop();
  EXPECT_TRUE(std::filesystem::is_empty(tmp));
  const std::vector<float> left = capture.Left();
  EXPECT_NEAR(test::SignalAnalysis::ToneFrequency(left, capture.kRate), 330, 330 * 0.05);
  EXPECT_GT(test::SignalAnalysis::SoundingSeconds(left, capture.kRate), 0.5);
}

// Disc images of one second (75 sectors) per track, kinds 'A' (audio) or 'D' (data) numbered
// from `first`: only audio tracks count and play, found by their numbers in the table of
// contents, so data before or after them does not leave the disc silent.
TEST(CdPlayer, DiscImages_AudioTracksOnlyFromTheTableOfContents) {
  const struct {
    std::string kinds;
    int first, tracks;
    std::pair<int, int> whole, last;  // sectors of PlayTracks(1, tracks) and (tracks, tracks)
  } discs[] = {
      {"AAA", 1, 3, {0, 225}, {150, 225}},  {"DAA", 1, 2, {75, 225}, {150, 225}},
      {"AAD", 1, 2, {0, 150}, {75, 150}},   {"DAAD", 1, 2, {75, 225}, {150, 225}},
      {"AA", 3, 2, {0, 150}, {75, 150}},    {"D", 1, 0, {}, {}},
  };
  test::ScratchDir dir;
  for (const auto& disc : discs) {
    SCOPED_TRACE(disc.kinds + " from " + std::to_string(disc.first));
    ASSERT_EQ(std::system(("sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw " + dir.file("d.bin") +
                           " synth " + std::to_string(disc.kinds.size()) + " sine 440").c_str()), 0);
    std::ofstream cue(dir.file("d.cue"));
    cue << "FILE \"d.bin\" BINARY\n";
    for (size_t t = 0; t < disc.kinds.size(); ++t) {
      cue << "TRACK " << disc.first + t << (disc.kinds[t] == 'D' ? " MODE1/2352" : " AUDIO")
          << "\nINDEX 01 00:0" << t << ":00\n";
    }
    cue.close();
    CdPlayer cd;
    ASSERT_EQ(cd.OpenSources({dir.file("d.cue")}), 1);
    ASSERT_EQ(cd.TrackCount(), disc.tracks);
    const auto none = std::optional<std::pair<int, int>>();
    EXPECT_EQ(cd.AudioSpan(1, disc.tracks), disc.tracks ? disc.whole : none);
    EXPECT_EQ(cd.AudioSpan(disc.tracks, disc.tracks), disc.tracks ? disc.last : none);
    EXPECT_EQ(cd.AudioSpan(1, disc.tracks + 1), none);
  }
  CdPlayer missing;
  EXPECT_EQ(missing.OpenSources({dir.file("none.cue")}) * 10 + missing.TrackCount(), 10);
}

}  // namespace
}  // namespace orvo
