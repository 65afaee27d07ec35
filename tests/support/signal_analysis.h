#pragma once

#include <vector>

namespace orvo::test {

// A recorded signal (samples in -1..1) measured over its sounding 10 ms windows only: a player
// short of data under load leaves gaps but loses nothing. The tone from its rising zero crossings.
struct SignalAnalysis {
  static double SoundingRms(const std::vector<float>& samples, int rate);
  static double SoundingSeconds(const std::vector<float>& samples, int rate);
  static double ToneFrequency(const std::vector<float>& samples, int rate);
};

}  // namespace orvo::test
