#pragma once

#include <vector>

namespace orvo::test {

// Measurements of a recorded mono signal (samples in -1..1).
struct SignalAnalysis {
  // Windows of 10 ms whose peak stays below this count as silence.
  static constexpr float kSilence = 0.01f;

  // Root mean square over the sounding windows; 0 for a silent signal.
  static double SoundingRms(const std::vector<float>& samples, int rate);
  // Total length of the sounding windows.
  static double SoundingSeconds(const std::vector<float>& samples, int rate);
  // Frequency of a steady tone in the sounding windows, from the number of
  // rising zero crossings (with a small hysteresis against noise).
  static double ToneFrequency(const std::vector<float>& samples, int rate);
};

}  // namespace orvo::test
