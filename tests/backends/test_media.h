#pragma once

#include <string>

#include "tests/support/scratch_dir.h"

namespace orvo::test {

// A private folder of songs: sine tones at amplitude 0.5, 44100 Hz stereo.
class TestMedia {
 public:
  const std::string& Folder() const { return dir_.path(); }
  // "<name>.<format>" (wav, mp3, ogg, mpc, or sv7 for an SV7 "<name>.mpc")
  // holding `seconds` of a `hertz` tone; empty when that fails.
  std::string Make(const std::string& name, const std::string& format, int hertz, double seconds);
  std::string Write(const std::string& name, const std::string& bytes) {
    WriteBytes(dir_.file(name), bytes);
    return dir_.file(name);
  }

 private:
  ScratchDir dir_;
};

}  // namespace orvo::test
