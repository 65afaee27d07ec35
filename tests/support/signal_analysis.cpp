#include "tests/support/signal_analysis.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orvo::test {
namespace {

using Run = std::pair<size_t, size_t>;  // [first, end) in samples

// The stretches of sound, in whole 10 ms windows. A player that runs short
// of data under load leaves a gap but loses nothing, so measurements add up
// the stretches instead of spanning from the first sound to the last.
std::vector<Run> SoundingRuns(const std::vector<float>& samples, int rate) {
  const size_t window = static_cast<size_t>(rate / 100);
  std::vector<Run> runs;
  for (size_t start = 0; start < samples.size(); start += window) {
    size_t stop = std::min(samples.size(), start + window);
    float peak = 0;
    for (size_t i = start; i < stop; ++i) peak = std::max(peak, std::fabs(samples[i]));
    if (peak < SignalAnalysis::kSilence) continue;
    if (!runs.empty() && runs.back().second == start) {
      runs.back().second = stop;
    } else {
      runs.emplace_back(start, stop);
    }
  }
  return runs;
}

}  // namespace

double SignalAnalysis::SoundingRms(const std::vector<float>& samples, int rate) {
  double sum = 0;
  size_t count = 0;
  for (auto [first, end] : SoundingRuns(samples, rate)) {
    for (size_t i = first; i < end; ++i) sum += double{samples[i]} * samples[i];
    count += end - first;
  }
  return count == 0 ? 0 : std::sqrt(sum / static_cast<double>(count));
}

double SignalAnalysis::SoundingSeconds(const std::vector<float>& samples, int rate) {
  size_t count = 0;
  for (auto [first, end] : SoundingRuns(samples, rate)) count += end - first;
  return static_cast<double>(count) / rate;
}

double SignalAnalysis::ToneFrequency(const std::vector<float>& samples, int rate) {
  const float hysteresis = kSilence / 2;
  size_t periods = 0;  // whole periods between the first and last rising crossing of each run
  size_t span = 0;     // samples those periods cover
  for (auto [first, end] : SoundingRuns(samples, rate)) {
    size_t crossings = 0;
    size_t firstCrossing = 0;
    size_t lastCrossing = 0;
    bool below = samples[first] < 0;
    for (size_t i = first; i < end; ++i) {
      if (below && samples[i] > hysteresis) {
        below = false;
        if (crossings == 0) firstCrossing = i;
        lastCrossing = i;
        ++crossings;
      } else if (!below && samples[i] < -hysteresis) {
        below = true;
      }
    }
    if (crossings >= 2) {
      periods += crossings - 1;
      span += lastCrossing - firstCrossing;
    }
  }
  return span == 0 ? 0 : static_cast<double>(periods) * rate / static_cast<double>(span);
}

}  // namespace orvo::test
