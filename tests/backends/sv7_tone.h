#pragma once

#include <string>

namespace orvo::test {

// The bytes of a Musepack SV7 file holding a steady tone of `hertz` (below
// 600 Hz) at amplitude 0.5 in both channels, 44100 Hz, about `seconds` long.
// No encoder on this system writes SV7 any more, so the tests build one: only
// the lowest subband carries sound, its samples stored raw at 14 bits.
std::string MakeSv7Tone(double hertz, double seconds);

// Samples per channel that libmpcdec decodes from such a file.
long Sv7ToneSamples(double seconds);

}  // namespace orvo::test
