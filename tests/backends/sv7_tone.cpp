#include "tests/backends/sv7_tone.h"

#include <cmath>
#include <cstdint>

namespace orvo::test {

// The decoder's synthesis delay must end in the last frame: 1152 - 481 samples.
constexpr uint32_t kLastFrame = 671;

std::string MakeSv7Tone(double hertz, double seconds) {
  std::string out("MP+\x07", 4);  // then bits, high first, in little-endian 32-bit words
  uint64_t pending = 0;
  int used = 0;
  auto put = [&](uint32_t value, int count) {
    pending = pending << count | (value & ((1ULL << count) - 1));
    for (used += count; used >= 32; used -= 32) {
      for (int i = 0; i < 4; ++i) out += static_cast<char>(pending >> (used - 32 + 8 * i));
    }
  };
  const auto frames = static_cast<uint32_t>(std::lround((seconds * 44100 - kLastFrame) / 1152) + 1);
  // Frames, no intensity or mid/side stereo, subbands 0 and 1, profile 10, 44100 Hz, no
  // gains or peaks, true gapless with the last frame's length, encoder 1.15.
  const uint32_t header[][2] = {{frames, 32}, {0, 2}, {1, 6},           {10, 4}, {0, 20}, {0, 32},
                                {0, 32},      {1, 1}, {kLastFrame, 11}, {0, 20}, {115, 8}};
  for (const auto& field : header) put(field[0], static_cast<int>(field[1]));
  for (uint32_t f = 0; f < frames; ++f) {
    // Its length in bits; subbands 0 at resolution 15 (raw) and 1 escaped to 0 in both channels;
    // one scale factor per channel, escaped to index 0; then 36 samples per channel.
    const uint32_t bits = 8 + 26 + 4 + 20 + 72 * 14;
    const uint32_t fields[][2] = {{bits, 20}, {0xff, 8},   {0x0ba0, 13}, {0x0ba0, 13},
                                  {0, 4},     {0x300, 10}, {0x300, 10}};
    for (const auto& field : fields) put(field[0], static_cast<int>(field[1]));
    for (int sample = 0; sample < 72; ++sample) {
      const double n = 2 * M_PI * hertz * (f * 36.0 + sample % 36) / (44100.0 / 32);
      put(static_cast<uint32_t>(std::lround(3412 * std::sin(n)) + 8191), 14);
    }
    if (f + 1 == frames) put(kLastFrame, 11);
  }
  put(0, 31);
  return out;
}

}  // namespace orvo::test
