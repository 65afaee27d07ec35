#pragma once

#include <sys/types.h>

#include <vector>

#include "tests/support/scratch_dir.h"

namespace orvo::test {

// Records what plays into the test sound server's sink ($ORVO_TEST_SINK)
// through its monitor, 44100 Hz stereo 16-bit. A silent stream keeps the sink
// running meanwhile: an idle null sink gives its monitor nothing, and the
// start of a song played into it would be lost.
class AudioCapture {
 public:
  static constexpr int kRate = 44100;
  ~AudioCapture() { Stop(); }
  // False when no samples arrive.
  bool Start();
  void Stop();
  // The left channel so far, scaled to -1..1.
  std::vector<float> Left() const;

 private:
  ScratchDir dir_;
  pid_t recorder_ = -1, keeper_ = -1;
};

}  // namespace orvo::test
