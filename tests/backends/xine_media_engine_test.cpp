#include "backends/xine_media_engine.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <ostream>
#include <thread>

#include "tests/backends/sv7_tone.h"
#include "tests/backends/test_media.h"
#include "tests/support/audio_capture.h"
#include "tests/support/signal_analysis.h"

namespace orvo {
namespace {

using std::chrono::milliseconds;
using test::AudioCapture;
using test::SignalAnalysis;

// Guards against a hang only; songs here last three seconds.
constexpr auto kHangLimit = std::chrono::seconds(20);

// Polls Status like the player does until it reads 0; false on a hang.
bool WaitForEnd(MediaEngine& engine) {
  auto start = std::chrono::steady_clock::now();
  while (engine.Status() != 0) {
    if (std::chrono::steady_clock::now() - start > kHangLimit) return false;
    std::this_thread::sleep_for(milliseconds(2));
  }
  return true;
}

// Seconds from the first to the last sample above the silence level: longer
// than the sounding time by any pause inside the song.
double SoundingSpan(const std::vector<float>& samples) {
  auto loud = [](float v) { return std::abs(v) >= SignalAnalysis::kSilence; };
  auto first = std::find_if(samples.begin(), samples.end(), loud);
  auto last = std::find_if(samples.rbegin(), samples.rend(), loud);
  if (first == samples.end()) return 0;
  return static_cast<double>(std::distance(first, last.base())) / AudioCapture::kRate;
}

struct Sound {
  double rms = 0;
  double seconds = 0;
  double hertz = 0;
  double span = 0;
};

Sound Analyse(const AudioCapture& capture) {
  std::vector<float> left = capture.Left();
  return {SignalAnalysis::SoundingRms(left, AudioCapture::kRate),
          SignalAnalysis::SoundingSeconds(left, AudioCapture::kRate),
          SignalAnalysis::ToneFrequency(left, AudioCapture::kRate), SoundingSpan(left)};
}

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    if (old != nullptr) old_ = old;
    hadOld_ = old != nullptr;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (hadOld_) {
      setenv(name_, old_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::string old_;
  bool hadOld_ = false;
};

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().string());
  }
  return names;
}

class XineMediaEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(media_.Folder().empty());
    engine_.Initialise();
  }

  test::TestMedia media_;
  XineMediaEngine engine_;
};

struct FormatCase {
  const char* format;
  int hertz;
  // Modified just before it plays, as a song saved a moment ago.
  bool justWritten = false;
};

void PrintTo(const FormatCase& c, std::ostream* out) {
  *out << c.format << " " << c.hertz << " Hz" << (c.justWritten ? ", just written" : "");
}

class XineMediaEngineFormatTest : public XineMediaEngineTest,
                                  public ::testing::WithParamInterface<FormatCase> {};

// Each format must reach the sink as its own tone, at full level, and for its
// whole length: releasing the song at Status 0 must not cut its end.
TEST_P(XineMediaEngineFormatTest, Play_ThreeSecondSong_SoundsItsToneForThreeSeconds) {
  const FormatCase& c = GetParam();
  // Blanks, quotes, "#" and "%" in the path are file name, not MRL syntax.
  std::string song = media_.Make("it's a \"song\" #2 50%20", c.format, c.hertz, 3.0);
  ASSERT_FALSE(song.empty()) << "cannot make a " << c.format << " file";
  if (c.justWritten) {
    std::filesystem::last_write_time(song, std::filesystem::file_time_type::clock::now());
  }
  AudioCapture capture;
  ASSERT_TRUE(capture.Start());
  std::atomic<int> ends{0};
  engine_.SetEndListener([&ends] { ++ends; });

  ASSERT_TRUE(engine_.Load(song));
  engine_.SetVideoArea(150, 150, 0, 0);
  engine_.Play(nullptr);
  EXPECT_EQ(engine_.Status(), 1);
  ASSERT_TRUE(WaitForEnd(engine_));
  engine_.Release();
  EXPECT_EQ(ends, 1) << "the end is told once, so that the player need not poll";
  std::this_thread::sleep_for(milliseconds(300));
  capture.Stop();

  Sound sound = Analyse(capture);
  EXPECT_NEAR(sound.rms, 0.354, 0.06);
  EXPECT_NEAR(sound.hertz, c.hertz, c.hertz * 0.02);
  EXPECT_GE(sound.seconds, 2.85);
  EXPECT_LE(sound.seconds, 3.4);
  EXPECT_LT(sound.span - sound.seconds, 0.1) << "a pause inside the song";
}

INSTANTIATE_TEST_SUITE_P(Formats, XineMediaEngineFormatTest,
                         ::testing::Values(FormatCase{"wav", 440}, FormatCase{"mp3", 523},
                                           FormatCase{"ogg", 659}, FormatCase{"mpc", 784},
                                           FormatCase{"sv7", 330}, FormatCase{"ogg", 587, true}),
                         [](const auto& test) {
                           return std::string(test.param.format) +
                                  (test.param.justWritten ? "_just_written" : "");
                         });

TEST_F(XineMediaEngineTest, Lifecycle_LoadPlayPauseResumeEndReplayRelease) {
  std::string song = media_.Make("pause", "wav", 440, 2.0);
  EXPECT_FALSE(engine_.IsLoaded());
  ASSERT_TRUE(engine_.Load(song));
  EXPECT_TRUE(engine_.IsLoaded());
  EXPECT_EQ(engine_.Status(), 0) << "loaded but not started";
  engine_.Play(nullptr);
  EXPECT_EQ(engine_.Status(), 1);
  std::this_thread::sleep_for(milliseconds(300));
  engine_.Pause();
  EXPECT_EQ(engine_.Status(), -1);
  // Longer than the rest of the song: a paused song must not run out.
  std::this_thread::sleep_for(milliseconds(2500));
  EXPECT_EQ(engine_.Status(), -1);
  engine_.Resume();
  EXPECT_EQ(engine_.Status(), 1);
  ASSERT_TRUE(WaitForEnd(engine_));
  EXPECT_TRUE(engine_.IsLoaded()) << "an ended song stays until released";
  engine_.Resume();
  EXPECT_EQ(engine_.Status(), 0) << "resuming an ended song does not revive it";
  // Playing again starts the song from its beginning.
  engine_.Play(nullptr);
  EXPECT_EQ(engine_.Status(), 1);
  engine_.Release();
  EXPECT_FALSE(engine_.IsLoaded());
  EXPECT_EQ(engine_.Status(), 0);
  ASSERT_TRUE(engine_.Load(song));
  engine_.Shutdown();
  EXPECT_FALSE(engine_.IsLoaded());
  EXPECT_EQ(engine_.Status(), 0);
}

// Songs played one after another as the player plays them sound whole, the
// later ones as much as the first.
TEST_F(XineMediaEngineTest, Play_SongsOneAfterAnother_EachSoundsWhole) {
  const std::string songs[] = {media_.Make("first", "wav", 440, 1.5), media_.Make("second", "mp3", 523, 1.5)};
  AudioCapture capture;
  ASSERT_TRUE(capture.Start());
  for (const std::string& song : songs) {
    ASSERT_TRUE(engine_.Load(song));
    engine_.Play(nullptr);
    ASSERT_TRUE(WaitForEnd(engine_));
  }
  engine_.Release();
  std::this_thread::sleep_for(milliseconds(300));
  capture.Stop();
  EXPECT_GE(Analyse(capture).seconds, 2.85);
}

// Stop keeps the song, Release discards it; both end status and sound. An
// hour of Musepack is still being decoded when Stop comes; played again, it
// decodes on until Release.
TEST_F(XineMediaEngineTest, StopOrRelease_WhilePlaying_EndStatusAndSound) {
  struct Case {
    bool release;
    const char* format;
    double seconds;
  } cases[] = {{false, "mp3", 3}, {true, "ogg", 3}, {false, "sv7", 3600}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.release ? "Release " : "Stop ") + c.format);
    std::string song = media_.Make(c.release ? "release" : "stop", c.format, 330, c.seconds);
    AudioCapture capture;
    ASSERT_TRUE(capture.Start());
    ASSERT_TRUE(engine_.Load(song));
    engine_.Play(nullptr);
    std::this_thread::sleep_for(milliseconds(800));
    c.release ? engine_.Release() : engine_.Stop();
    EXPECT_EQ(engine_.Status(), 0);
    EXPECT_EQ(engine_.IsLoaded(), !c.release);
    std::this_thread::sleep_for(milliseconds(1500));
    capture.Stop();
    EXPECT_LT(Analyse(capture).seconds, 2.0);
    engine_.Play(nullptr);
    EXPECT_EQ(engine_.Status(), c.release ? 0 : 1);
    engine_.Release();
  }
}

// A Load that blocks (the open of a pipe waits for a writer) is released by
// opening the pipe for writing, so that the test fails instead of hanging.
bool LoadWithin(MediaEngine& engine, const std::string& path, bool& loaded) {
  auto load = std::async(std::launch::async, [&engine, &path] { return engine.Load(path); });
  bool inTime = load.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  while (load.wait_for(milliseconds(100)) != std::future_status::ready) {
    int writer = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (writer >= 0) close(writer);
  }
  loaded = load.get();
  return inTime;
}

TEST_F(XineMediaEngineTest, Load_UnplayableFiles_FailButLeaveASongObject) {
  const std::string folder = media_.Folder();
  ASSERT_EQ(mkfifo((folder + "/pipe.mp3").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((folder + "/pipe.mpc").c_str(), 0600), 0);
  const std::string unplayable[] = {
      folder + "/missing.mp3",
      media_.Write("x.mp3", "This is a text file, not a song.\n"),
      media_.Write("noise.mpc", std::string(4096, '\x5a')),
      media_.Write("header.mpc", std::string("MPCK\x10SH\x01\x02", 9) + std::string(64, '\x00')),
      media_.Write("bad.mpc", "MPCK and then nothing useful"),
      folder,
      // Where a song is expected, a pipe or a device: nothing that waits for
      // a writer or never ends.
      folder + "/pipe.mp3",
      folder + "/pipe.mpc",
      "/dev/zero",
  };
  for (const std::string& path : unplayable) {
    SCOPED_TRACE(path);
    bool loaded = true;
    EXPECT_TRUE(LoadWithin(engine_, path, loaded)) << "Load blocked";
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(engine_.IsLoaded());
    engine_.Play(nullptr);
    engine_.Pause();
    engine_.Resume();
    EXPECT_EQ(engine_.Status(), 0);
  }
  engine_.Release();
  EXPECT_FALSE(engine_.IsLoaded());
}

// Reads one byte from `fd`; false when none comes within `limit`.
bool ReadByteWithin(int fd, std::chrono::milliseconds limit) {
  pollfd ready{fd, POLLIN, 0};
  char byte;
  return poll(&ready, 1, static_cast<int>(limit.count())) == 1 && read(fd, &byte, 1) == 1;
}

// In a child process: initialises an engine, writes a byte to `report`, loads
// and plays `song`, writes another byte and waits to be killed, at the latest
// with the test.
[[noreturn]] void PlayUntilKilled(const std::string& song, int report) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  XineMediaEngine engine;
  engine.Initialise();
  bool reported = write(report, "i", 1) == 1;
  if (reported && engine.Load(song)) {
    engine.Play(nullptr);
    reported = write(report, "p", 1) == 1;
  }
  for (;;) pause();
}

// A player killed in the middle of an hour-long Musepack song: the song
// sounded at once, with no pause for decoding it, and nothing of the decoding
// is left in the temporary folder. (The song is SV7 written by the test,
// which takes a fraction of a second, where mpcenc would need minutes for an
// SV8 hour; both go through the same decoding.)
TEST(XineMediaEngineProcessTest, Play_HourLongMusepackKilledMidSong_SoundsAtOnceLeavesNothing) {
  test::TestMedia media;
  const std::string song = media.Write("hour.mpc", test::MakeSv7Tone(330, 3600));
  const std::string temporary = media.Folder() + "/tmp";
  std::filesystem::create_directory(temporary);
  ScopedEnv tmpdir("TMPDIR", temporary.c_str());
  AudioCapture capture;
  ASSERT_TRUE(capture.Start());
  int report[2];
  ASSERT_EQ(pipe2(report, O_CLOEXEC), 0);
  pid_t player = fork();
  if (player == 0) PlayUntilKilled(song, report[1]);
  close(report[1]);
  ASSERT_GT(player, 0);

  EXPECT_TRUE(ReadByteWithin(report[0], std::chrono::seconds(20))) << "engine initialised";
  // Decoding the whole hour first took 3.5 s here; streaming starts in 10 ms.
  EXPECT_TRUE(ReadByteWithin(report[0], std::chrono::seconds(2))) << "Load and Play returned";
  std::this_thread::sleep_for(std::chrono::seconds(2));
  EXPECT_TRUE(FilesIn(temporary).empty()) << "while playing";
  kill(player, SIGKILL);
  waitpid(player, nullptr, 0);
  close(report[0]);
  std::this_thread::sleep_for(milliseconds(300));
  capture.Stop();

  EXPECT_TRUE(FilesIn(temporary).empty()) << "after the player was killed";
  Sound sound = Analyse(capture);
  EXPECT_NEAR(sound.hertz, 330, 330 * 0.02);
  EXPECT_GE(sound.seconds, 1.0);
}

}  // namespace
}  // namespace orvo
