#include "tests/backends/sv7_tone.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orvo::test {

// The decoder's synthesis delay must end in the last frame: 1152 - 481 samples.
constexpr uint32_t kLastFrame = 671;

long Sv7ToneSamples(double seconds) {
  return std::lround(std::max(0.0, seconds * 44100 - kLastFrame) / 1152) * 1152 + kLastFrame;
}

std::string MakeSv7Tone(double hertz, double seconds) {
  std::string out("MP+\x07", 4);  // then bits, most significant first, in little-endian 32-bit words
  uint64_t pending = 0;
  int bits = 0;
  auto put = [&](uint32_t value, int count) {
    for (pending = pending << count | (value & ((1ULL << count) - 1)), bits += count; bits >= 32; bits -= 32) {
      for (int i = 0; i < 4; ++i) out += static_cast<char>(pending >> (bits - 32 + 8 * i));
    }
  };
  const uint32_t frames = static_cast<uint32_t>(Sv7ToneSamples(seconds) / 1152 + 1);
  // Frames; no intensity or mid/side stereo, subbands 0 and 1, profile 10,
  // 44100 Hz, no gains, true gapless with its last frame's length, encoder 1.15.
  for (auto [value, count] : {std::pair{frames, 32}, {0u, 2}, {1u, 6}, {10u, 4}, {0u, 84}, {1u, 1}, {kLastFrame, 11},
                              {0u, 20}, {115u, 8}}) {
    for (; count > 32; count -= 32) put(0, 32);
    put(value, count);
  }
  for (uint32_t f = 0; f < frames; ++f) {
    put(8 + 2 * 13 + 4 + 2 * 10 + 2 * 36 * 14, 20);  // the frame's bits
    put(0xff, 8);      // subband 0 at resolution 15: raw samples
    put(0x0ba0, 13);   // subband 1, escaped to resolution 0, left...
    put(0x0ba0, 13);   // ...and right
    put(0, 4);         // one scale factor per channel, escaped to index 0
    put(0x300, 10);
    put(0x300, 10);
    for (int sample = 0; sample < 2 * 36; ++sample) {
      const double n = f * 36.0 + sample % 36;
      put(static_cast<uint32_t>(std::lround(3412 * std::sin(2 * M_PI * hertz * n / (44100.0 / 32))) + 8191), 14);
    }
    if (f + 1 == frames) put(kLastFrame, 11);
  }
  put(0, 31);
  return out;
}

}  // namespace orvo::test
