#include "backends/xine_media_engine.h"

#include <gtest/gtest.h>

#include <thread>

#include "backends/background_engine.h"
#include "tests/backends/test_media.h"
#include "tests/support/audio_capture.h"
#include "tests/support/signal_analysis.h"

namespace orvo {
namespace {

using Analysis = test::SignalAnalysis;

// Polls Status as the player does until it reads 0; false on a hang.
bool WaitForEnd(MediaEngine& engine) {
  for (int waited = 0; engine.Status() != 0; waited += 2) {
    if (waited > 20000) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// Files played one after another by the engine started on a thread of its
// own, as the player plays them: a song reaches the sink as its own tone at
// full level for its whole length, also when released at once at Status 0;
// any other file fails to load, keeps a song object and stays silent.
TEST(XineMediaEngine, Play_EachFile_SoundsItsWholeToneOrNothing) {
  test::TestMedia media;
  const std::string sv8 = test::ReadBytes(media.Make("sv8", "mpc", 784, 3));
  const std::pair<std::string, int> rows[] = {  // a file, the tone it sounds (0: none)
      {media.Make("it's a \"song\" #2 50%20", "wav", 440, 3), 440},  // no MRL syntax in names
      {media.Make("mp3", "mp3", 523, 3), 523},
      {media.Make("ogg", "ogg", 659, 3), 659},
      {media.Folder() + "/sv8.mpc", 784},
      {media.Make("sv7", "sv7", 330, 3), 330},
      {media.Write("sv8.mp3", sv8), 784},  // Musepack by content
      {media.Write("tagged.ogg", std::string("ID3\x04\0\0\0\0\0\x03tag", 13) + sv8), 784},
      {media.Folder() + "/missing.mp3", 0},
      {media.Folder(), 0},
      {media.Write("text.mp3", "This is a text file, not a song.\n"), 0},
      {media.Write("noise.mpc", std::string(4096, 'Z')), 0},
  };
  BackgroundEngine engine(std::make_unique<XineMediaEngine>());
  engine.Initialise();
  for (const auto& [path, hertz] : rows) {
    SCOPED_TRACE(path);
    test::AudioCapture capture;
    ASSERT_TRUE(capture.Start());
    EXPECT_EQ(engine.Load(path), hertz != 0);
    engine.Play(nullptr);
    EXPECT_EQ(engine.IsLoaded() * 10 + engine.Status(), hertz != 0 ? 11 : 10);
    ASSERT_TRUE(WaitForEnd(engine));
    engine.Release();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    capture.Stop();
    const std::vector<float> left = capture.Left();
    const double seconds = Analysis::SoundingSeconds(left, capture.kRate);
    EXPECT_TRUE(hertz ? seconds > 2.85 && seconds < 3.4 : seconds == 0) << seconds << " s";
    EXPECT_NEAR(Analysis::SoundingRms(left, capture.kRate), hertz ? 0.354 : 0, 0.06);
    EXPECT_NEAR(Analysis::ToneFrequency(left, capture.kRate), hertz, hertz * 0.02);
  }
}

// Paused, a song holds, also past its end; ended, Resume does not revive it,
// but Play starts it again; stopped, it stays loaded until released.
TEST(XineMediaEngine, PauseResumeStopRelease_StatusFollows) {
  test::TestMedia media;
  XineMediaEngine engine;
  ASSERT_TRUE(engine.Load(media.Make("tone", "ogg", 440, 1)));
  std::vector<int> status = {engine.Status()};
  engine.Play(nullptr);
  engine.Pause();
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  status.push_back(engine.Status());
  engine.Resume();
  status.push_back(engine.Status());
  ASSERT_TRUE(WaitForEnd(engine));
  engine.Resume();
  status.push_back(engine.Status());
  engine.Play(nullptr);
  status.push_back(engine.Status());
  engine.Stop();
  status.push_back(engine.Status() + 10 * engine.IsLoaded());
  engine.Release();
  status.push_back(engine.Status() + 10 * engine.IsLoaded());
  EXPECT_EQ(status, (std::vector<int>{0, -1, 1, 0, 1, 10, 0}));
}

}  // namespace
}  // namespace orvo
