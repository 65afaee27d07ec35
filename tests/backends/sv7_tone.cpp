#include "tests/backends/sv7_tone.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace orvo::test {
namespace {

constexpr int kFrameSamples = 1152;
constexpr int kSubbandSamples = 36;  // per frame and subband
// The decoder's synthesis delay must end inside the last frame, so that frame
// holds at most 1152 - 481 valid samples.
constexpr uint32_t kLastFrameSamples = 671;
constexpr int kSampleBits = 14;     // resolution 15 stores raw 14-bit samples
constexpr int kSampleOffset = 8191;
// Subband amplitude giving a peak of 0.5 after synthesis at scale factor 0.
constexpr double kSubbandAmplitude = 3412;

// SV7 is a stream of bits, most significant first, packed into 32-bit words
// stored little-endian.
class BitWriter {
 public:
  void Put(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      word_ = (word_ << 1) | ((value >> i) & 1u);
      if (++used_ == 32) Flush();
    }
  }
  std::string Finish() {
    if (used_ > 0) {
      word_ <<= 32 - used_;
      Flush();
    }
    std::string out;
    for (uint32_t word : words_) {
      for (int i = 0; i < 4; ++i) out += static_cast<char>(word >> (8 * i));
    }
    return out;
  }

 private:
  void Flush() {
    words_.push_back(word_);
    word_ = 0;
    used_ = 0;
  }
  std::vector<uint32_t> words_;
  uint32_t word_ = 0;
  int used_ = 0;
};

uint32_t FrameCount(double seconds) {
  double samples = seconds * 44100 - kLastFrameSamples;
  return static_cast<uint32_t>(std::lround(std::max(0.0, samples) / kFrameSamples)) + 1;
}

}  // namespace

long Sv7ToneSamples(double seconds) {
  return static_cast<long>(FrameCount(seconds) - 1) * kFrameSamples + kLastFrameSamples;
}

std::string MakeSv7Tone(double hertz, double seconds) {
  const uint32_t frames = FrameCount(seconds);
  BitWriter w;
  // Stream header after "MP+" and the version byte.
  w.Put(frames, 32);
  w.Put(0, 1);   // intensity stereo
  w.Put(0, 1);   // mid/side stereo
  w.Put(1, 6);   // highest subband coded: 1
  w.Put(10, 4);  // profile "Standard"
  w.Put(0, 2);   // link
  w.Put(0, 2);   // 44100 Hz
  w.Put(0, 16);  // peak level estimate
  w.Put(0, 32);  // title gain and peak
  w.Put(0, 32);  // album gain and peak
  w.Put(1, 1);   // true gapless
  w.Put(kLastFrameSamples, 11);
  w.Put(0, 1);   // fast seeking
  w.Put(0, 19);
  w.Put(115, 8);  // encoder version 1.15

  const uint32_t frameBits = 8 + 2 * 13 + 2 * 2 + 2 * 10 + 2 * kSubbandSamples * kSampleBits;
  for (uint32_t f = 0; f < frames; ++f) {
    w.Put(frameBits, 20);
    w.Put(15, 4);  // resolution of subband 0, left and right
    w.Put(15, 4);
    for (int channel = 0; channel < 2; ++channel) {
      w.Put(0x0ba, 9);  // subband 1: escape to an absolute resolution...
      w.Put(0, 4);      // ...of 0
    }
    w.Put(0, 2);  // one scale factor for the whole frame, left
    w.Put(0, 2);  // and right
    for (int channel = 0; channel < 2; ++channel) {
      w.Put(0xc, 4);  // escape to an absolute scale factor index...
      w.Put(0, 6);    // ...of 0
    }
    for (int channel = 0; channel < 2; ++channel) {
      for (int k = 0; k < kSubbandSamples; ++k) {
        double n = static_cast<double>(f) * kSubbandSamples + k;
        long q = std::lround(kSubbandAmplitude * std::sin(2 * M_PI * hertz * n / (44100.0 / 32)));
        w.Put(static_cast<uint32_t>(q + kSampleOffset), kSampleBits);
      }
    }
    if (f + 1 == frames) w.Put(kLastFrameSamples, 11);
  }
  return std::string("MP+\x07", 4) + w.Finish();
}

}  // namespace orvo::test
