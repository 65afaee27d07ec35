#pragma once

#include <sys/types.h>

#include <vector>

#include "tests/support/scratch_dir.h"

namespace orvo::test {

// Records the test sound server's sink ($ORVO_TEST_SINK), 44100 Hz stereo 16-bit, while a silent
// stream keeps it running: an idle null sink gives its monitor nothing, losing a song's start.
class AudioCapture {
 public:
  static constexpr int kRate = 44100;
  ~AudioCapture() { Stop(); }
  bool Start();  // false when no samples arrive
  void Stop();
  std::vector<float> Left() const;  // the left channel so far, in -1..1

 private:
  ScratchDir dir_;
  pid_t recorder_ = -1, keeper_ = -1;
};

}  // namespace orvo::test
