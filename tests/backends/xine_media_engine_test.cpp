#include "backends/xine_media_engine.h"

#include <gtest/gtest.h>

#include <thread>

#include "backends/background_engine.h"
#include "backends/mpc_decoder.h"
#include "base/temporary_file.h"
#include "tests/backends/test_media.h"
#include "tests/support/audio_capture.h"
#include "tests/support/signal_analysis.h"

namespace orvo {
namespace {

// Files played one after another by the engine started on a thread of its own, as the player
// plays them: a song reaches the sink as its own tone at full level for its whole length, also
// when released at once at Status 0; any other file fails to load, keeps its object, is silent.
TEST(XineMediaEngine, Play_EachFile_SoundsItsWholeToneOrNothing) {
  test::TestMedia media;
  const std::string sv8 = test::ReadBytes(media.Make("sv8", "mpc", 784, 3));
  const std::pair<std::string, int> rows[] = {
      {media.Make("it's a \"song\" #2 50%20", "wav", 440, 3), 440},  // no MRL syntax in names
      {media.Make("mp3", "mp3", 523, 3), 523},
      {media.Make("ogg", "ogg", 659, 3), 659},
      {media.Folder() + "/sv8.mpc", 784},
      {media.Make("sv7", "sv7", 330, 3), 330},
      {media.Write("sv8.mp3", sv8), 784},  // Musepack by its content
      {media.Write("tagged.ogg", std::string("ID3\x04\0\0\0\0\0\x03tag", 13) + sv8), 784},
      {media.Folder() + "/missing.mp3", 0},
      {media.Folder(), 0},
      {media.Write("text.mp3", "This is a text file, not a song.\n"), 0},
      {media.Write("noise.mpc", std::string(4096, 'Z')), 0},
  };
  TemporaryFile wav;  // an SV6 stream, which is not decoded, and so fails instead of giving nothing
  const auto* sv6 = reinterpret_cast<const uint8_t*>("MP+\x06 an SV6 stream");
  EXPECT_FALSE(wav.Create() && MpcDecoder::DecodeToWav(sv6, 20, wav.Descriptor()));
  BackgroundEngine engine(std::make_unique<XineMediaEngine>());
  engine.Initialise();
  for (const auto& [path, hertz] : rows) {
    test::AudioCapture capture;
    ASSERT_TRUE(capture.Start());
    EXPECT_EQ(engine.Load(path), hertz != 0) << path;
    engine.Play(nullptr);
    EXPECT_EQ(engine.IsLoaded() * 10 + engine.Status(), hertz != 0 ? 11 : 10) << path;
    for (int waited = 0; engine.Status() != 0; waited += 2) {  // polled as the player does
      ASSERT_LT(waited, 20000) << "hangs";
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    engine.Release();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    capture.Stop();
    const std::vector<float> left = capture.Left();
    const double seconds = test::SignalAnalysis::SoundingSeconds(left, capture.kRate);
    EXPECT_TRUE(hertz ? seconds > 2.85 && seconds < 3.4 : seconds == 0) << path << seconds;
    EXPECT_NEAR(test::SignalAnalysis::SoundingRms(left, capture.kRate), hertz ? 0.354 : 0, 0.06);
    EXPECT_NEAR(test::SignalAnalysis::ToneFrequency(left, capture.kRate), hertz, hertz * 0.02);
  }
}

}  // namespace
}  // namespace orvo
