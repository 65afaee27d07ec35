#include "tests/support/signal_analysis.h"

#include <algorithm>
#include <cmath>

namespace orvo::test {
namespace {

struct Sounding {
  double squares = 0, samples = 0, risingCrossings = 0;
};

Sounding Measure(const std::vector<float>& s, int rate) {
  Sounding m;
  bool below = true;  // with a little hysteresis against noise
  for (size_t start = 0, window = static_cast<size_t>(rate / 100); start < s.size(); start += window) {
    const size_t end = std::min(s.size(), start + window);
    const bool silent = std::all_of(&s[start], &s[0] + end, [](float x) { return std::fabs(x) < 0.01f; });
    below = below || silent;
    if (silent) continue;
    for (size_t i = start; i < end; ++i) {
      m.squares += double{s[i]} * s[i];
      m.risingCrossings += below && s[i] > 0.005f;
      below = below ? s[i] < 0.005f : s[i] < -0.005f;
    }
    m.samples += static_cast<double>(end - start);
  }
  return m;
}

}  // namespace

double SignalAnalysis::SoundingRms(const std::vector<float>& samples, int rate) {
  const Sounding m = Measure(samples, rate);
  return m.samples == 0 ? 0 : std::sqrt(m.squares / m.samples);
}

double SignalAnalysis::SoundingSeconds(const std::vector<float>& samples, int rate) {
  return Measure(samples, rate).samples / rate;
}

double SignalAnalysis::ToneFrequency(const std::vector<float>& samples, int rate) {
  const Sounding m = Measure(samples, rate);
  return m.samples == 0 ? 0 : m.risingCrossings * rate / m.samples;
}

}  // namespace orvo::test
