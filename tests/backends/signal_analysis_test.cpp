#include "tests/support/signal_analysis.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvo::test {
namespace {

// The measuring tools of the playback tests, checked on a known signal:
// half a second of silence, one second of 1 kHz at amplitude 0.5 with a
// little noise and a gap of 0.2 s in its middle, half a second of silence.
TEST(SignalAnalysisTest, Measures_KnownTone_LengthLevelAndFrequency) {
  const int rate = 44100;
  std::vector<float> samples(rate * 2, 0.0f);
  unsigned noise = 1;
  for (int i = 0; i < rate; ++i) {
    noise = noise * 1103515245u + 12345u;
    float jitter = (static_cast<float>(noise >> 16 & 0xff) - 128.0f) / 128.0f * 0.002f;
    samples[rate / 2 + i + (i >= rate / 2 ? rate / 5 : 0)] =
        0.5f * std::sin(2 * M_PI * 1000.0 * i / rate) + jitter;
  }
  EXPECT_NEAR(SignalAnalysis::SoundingSeconds(samples, rate), 1.0, 0.02);
  EXPECT_NEAR(SignalAnalysis::SoundingRms(samples, rate), 0.354, 0.01);
  EXPECT_NEAR(SignalAnalysis::ToneFrequency(samples, rate), 1000.0, 5.0);

  std::vector<float> silence(rate, 0.001f);
  EXPECT_EQ(SignalAnalysis::SoundingSeconds(silence, rate), 0.0);
  EXPECT_EQ(SignalAnalysis::SoundingRms(silence, rate), 0.0);
  EXPECT_EQ(SignalAnalysis::ToneFrequency(silence, rate), 0.0);
}

}  // namespace
}  // namespace orvo::test
