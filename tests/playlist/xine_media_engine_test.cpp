#include "playlist/xine_media_engine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <thread>

#include "tests/playlist/test_media.h"
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

struct Sound {
  double rms = 0;
  double seconds = 0;
  double hertz = 0;
};

Sound Analyse(const AudioCapture& capture) {
  std::vector<float> left = capture.Left();
  return {SignalAnalysis::SoundingRms(left, AudioCapture::kRate),
          SignalAnalysis::SoundingSeconds(left, AudioCapture::kRate),
          SignalAnalysis::ToneFrequency(left, AudioCapture::kRate)};
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
};

void PrintTo(const FormatCase& c, std::ostream* out) { *out << c.format << " " << c.hertz << " Hz"; }

class XineMediaEngineFormatTest : public XineMediaEngineTest,
                                  public ::testing::WithParamInterface<FormatCase> {};

// Each format must reach the sink as its own tone, at full level, and for its
// whole length: releasing the song at Status 0 must not cut its end.
TEST_P(XineMediaEngineFormatTest, Play_ThreeSecondSong_SoundsItsToneForThreeSeconds) {
  const FormatCase& c = GetParam();
  // Blanks, quotes, "#" and "%" in the path are file name, not MRL syntax.
  std::string song = media_.Make("it's a \"song\" #2 50%20", c.format, c.hertz, 3.0);
  ASSERT_FALSE(song.empty()) << "cannot make a " << c.format << " file";
  AudioCapture capture;
  ASSERT_TRUE(capture.Start());

  ASSERT_TRUE(engine_.Load(song));
  engine_.SetVideoArea(150, 150, 0, 0);
  engine_.Play(nullptr);
  EXPECT_EQ(engine_.Status(), 1);
  ASSERT_TRUE(WaitForEnd(engine_));
  engine_.Release();
  std::this_thread::sleep_for(milliseconds(300));
  capture.Stop();

  Sound sound = Analyse(capture);
  EXPECT_NEAR(sound.rms, 0.354, 0.06);
  EXPECT_NEAR(sound.hertz, c.hertz, c.hertz * 0.02);
  EXPECT_GE(sound.seconds, 2.85);
  EXPECT_LE(sound.seconds, 3.4);
}

INSTANTIATE_TEST_SUITE_P(Formats, XineMediaEngineFormatTest,
                         ::testing::Values(FormatCase{"wav", 440}, FormatCase{"mp3", 523},
                                           FormatCase{"ogg", 659}, FormatCase{"mpc", 784},
                                           FormatCase{"sv7", 330}),
                         [](const auto& test) { return std::string(test.param.format); });

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

// Stop keeps the song, Release discards it; both end status and sound.
TEST_F(XineMediaEngineTest, StopOrRelease_WhilePlaying_EndStatusAndSound) {
  for (const bool release : {false, true}) {
    SCOPED_TRACE(release ? "Release" : "Stop");
    std::string song = media_.Make(release ? "release" : "stop", release ? "ogg" : "mp3", 523, 3.0);
    AudioCapture capture;
    ASSERT_TRUE(capture.Start());
    ASSERT_TRUE(engine_.Load(song));
    engine_.Play(nullptr);
    std::this_thread::sleep_for(milliseconds(800));
    release ? engine_.Release() : engine_.Stop();
    EXPECT_EQ(engine_.Status(), 0);
    EXPECT_EQ(engine_.IsLoaded(), !release);
    std::this_thread::sleep_for(milliseconds(1500));
    capture.Stop();
    EXPECT_LT(Analyse(capture).seconds, 2.0);
  }
}

TEST_F(XineMediaEngineTest, Load_UnplayableFiles_FailButLeaveASongObject) {
  const std::string unplayable[] = {
      media_.Folder() + "/missing.mp3",
      media_.Write("x.mp3", "This is a text file, not a song.\n"),
      media_.Write("noise.mpc", std::string(4096, '\x5a')),
      media_.Write("header.mpc", std::string("MPCK\x10SH\x01\x02", 9) + std::string(64, '\x00')),
      media_.Folder(),
  };
  for (const std::string& path : unplayable) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(engine_.Load(path));
    EXPECT_TRUE(engine_.IsLoaded());
    engine_.Play(nullptr);
    engine_.Pause();
    engine_.Resume();
    EXPECT_EQ(engine_.Status(), 0);
  }
  engine_.Release();
  EXPECT_FALSE(engine_.IsLoaded());
}

TEST_F(XineMediaEngineTest, Release_DecodedMusepack_RemovesItsPrivateTemporaryFile) {
  std::string song = media_.Make("tone", "mpc", 784, 1.0);
  std::string temporary = media_.Folder() + "/tmp";
  std::filesystem::create_directory(temporary);
  ScopedEnv tmpdir("TMPDIR", temporary.c_str());

  ASSERT_TRUE(engine_.Load(song));
  std::vector<std::string> files = FilesIn(temporary);
  ASSERT_EQ(files.size(), 1u);
  struct stat info {};
  ASSERT_EQ(stat(files[0].c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  engine_.Play(nullptr);
  engine_.Release();
  EXPECT_TRUE(FilesIn(temporary).empty());

  EXPECT_FALSE(engine_.Load(media_.Write("bad.mpc", "MPCK and then nothing useful")));
  EXPECT_TRUE(FilesIn(temporary).empty()) << "a failed decode leaves no file";
}

}  // namespace
}  // namespace orvo
