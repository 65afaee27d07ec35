#pragma once

#include <string>

namespace orvo::test {

// A Musepack SV7 file of a `hertz` tone (below 600 Hz), amplitude 0.5, 44100 Hz stereo. No
// encoder writes SV7 any more: only subband 0 sounds, its samples stored raw at 14 bits.
std::string MakeSv7Tone(double hertz, double seconds);

}  // namespace orvo::test
