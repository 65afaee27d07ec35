#pragma once

#include <string>

namespace orvo::test {

// A Musepack SV7 file of a `hertz` tone (below 600 Hz) at amplitude 0.5,
// 44100 Hz stereo, about `seconds` long. No encoder here writes SV7 any more:
// only the lowest subband carries sound, its samples stored raw at 14 bits.
std::string MakeSv7Tone(double hertz, double seconds);
// The samples per channel it decodes to.
long Sv7ToneSamples(double seconds);

}  // namespace orvo::test
