#pragma once

#include <vector>

namespace orvo::test {

// Measurements of a recorded signal (samples in -1..1) over its sounding
// 10 ms windows only (a peak of 0.01 or more): a player that runs short of
// data under load leaves a gap but loses nothing.
struct SignalAnalysis {
  static double SoundingRms(const std::vector<float>& samples, int rate);
  static double SoundingSeconds(const std::vector<float>& samples, int rate);
  // From the rising zero crossings of a steady tone.
  static double ToneFrequency(const std::vector<float>& samples, int rate);
};

}  // namespace orvo::test
