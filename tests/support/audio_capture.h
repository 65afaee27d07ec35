#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace orvo::test {

// Records what plays into the test sound server's null sink (ORVO_TEST_SINK,
// "null" when unset) through its monitor, as 44100 Hz stereo 16-bit samples.
// While recording, a silent stream keeps the sink running: an idle null sink
// hands its monitor nothing, and the start of a song played into it can be
// missing from the recording.
class AudioCapture {
 public:
  static constexpr int kRate = 44100;

  AudioCapture() = default;
  ~AudioCapture();
  AudioCapture(const AudioCapture&) = delete;
  AudioCapture& operator=(const AudioCapture&) = delete;

  // Starts `parec` and the silent stream and waits until samples arrive;
  // false when that does not happen.
  bool Start();
  // Ends the recording; the samples stay available.
  void Stop();
  // Left channel of the recording, scaled to -1..1; call after Stop.
  std::vector<float> Left() const;

 private:
  void ReadLoop(int fd);

  pid_t recorder_ = -1;
  pid_t keeper_ = -1;
  std::thread reader_;
  std::vector<int16_t> interleaved_;
  std::atomic<size_t> received_{0};  // frames, counted by the reading thread
  bool stopped_ = true;
};

}  // namespace orvo::test
