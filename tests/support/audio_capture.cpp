#include "tests/support/audio_capture.h"

#include <spawn.h>

#include <csignal>
#include <cstdint>
#include <cstring>

namespace orvo::test {
namespace {

pid_t Spawn(const std::string& command) {
  const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
  pid_t pid = -1;
  return posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) == 0 ? pid : -1;
}

void End(pid_t& pid, int signal) {
  if (pid > 0 && kill(pid, signal) == 0) waitpid(pid, nullptr, 0);
  pid = -1;
}

}  // namespace

bool AudioCapture::Start() {
  Stop();
  const char* sink = std::getenv("ORVO_TEST_SINK");
  const std::string options = " --raw --format=s16le --rate=44100 --channels=2 --latency-msec=20 -d " +
                              std::string(sink != nullptr ? sink : "null");
  keeper_ = Spawn("exec pacat" + options + " </dev/zero 2>/dev/null");
  recorder_ = Spawn("exec parec" + options + ".monitor >" + dir_.file("capture.raw") + " 2>/dev/null");
  // Samples can take most of a second to arrive on a busy machine.
  for (int waited = 0; waited < 5000 && Left().size() < kRate / 10; waited += 10) usleep(10 * 1000);
  if (Left().size() < kRate / 10) Stop();
  return recorder_ > 0;
}

void AudioCapture::Stop() {
  End(recorder_, SIGINT);  // parec writes out what it holds
  End(keeper_, SIGTERM);
}

std::vector<float> AudioCapture::Left() const {
  const std::string bytes = ReadWhole(dir_.file("capture.raw"));
  std::vector<float> left;
  for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    int16_t sample = 0;
    std::memcpy(&sample, &bytes[i], 2);
    left.push_back(sample / 32768.0f);
  }
  return left;
}

}  // namespace orvo::test
