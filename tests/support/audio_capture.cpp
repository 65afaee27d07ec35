#include "tests/support/audio_capture.h"

#include <spawn.h>

#include <algorithm>
#include <cmath>
#include <csignal>

#include "tests/support/signal_analysis.h"

namespace orvo::test {
namespace {

pid_t Spawn(const std::string& command) {
  const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
  pid_t pid = -1;
  return posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) ? -1
                                                                                           : pid;
}

void End(pid_t& pid, int signal) {
  if (pid > 0 && kill(pid, signal) == 0) waitpid(pid, nullptr, 0);
  pid = -1;
}

// Squares, samples, rising crossings of the 10 ms windows peaking at 0.01.
std::vector<double> Measure(const std::vector<float>& s, int rate) {
  std::vector<double> m(3, 0.0);
  bool below = true;
  for (size_t start = 0, window = rate / 100; start < s.size(); start += window) {
    const size_t end = std::min(s.size(), start + window);
    const bool silent =
        std::all_of(&s[start], &s[0] + end, [](float x) { return std::fabs(x) < 0.01f; });
    for (size_t i = start; i < end && !silent; ++i, m[1] += 1) {
      m[0] += double{s[i]} * s[i];
      m[2] += below && s[i] > 0.005f;
      below = below ? s[i] < 0.005f : s[i] < -0.005f;
    }
    below = below || silent;
  }
  return m;
}

}  // namespace

bool AudioCapture::Start() {
  Stop();
  const char* sink = std::getenv("ORVO_TEST_SINK");
  const std::string options =
      " --raw --format=s16le --rate=44100 --channels=2 --latency-msec=20 -d " +
      std::string(sink != nullptr ? sink : "null");
  keeper_ = Spawn("exec pacat" + options + " </dev/zero 2>/dev/null");
  recorder_ =
      Spawn("exec parec" + options + ".monitor >" + dir_.file("capture.raw") + " 2>/dev/null");
  // Samples can take most of a second to come on a busy machine.
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
  std::vector<float> left(bytes.size() / 4);  // little-endian 16-bit samples, left first
  for (size_t i = 0; i < left.size(); ++i)
    left[i] = int16_t(uint8_t(bytes[4 * i]) | uint8_t(bytes[4 * i + 1]) << 8) / 32768.0f;
  return left;
}

double SignalAnalysis::SoundingRms(const std::vector<float>& s, int rate) {
  const std::vector<double> m = Measure(s, rate);
  return m[1] == 0 ? 0 : std::sqrt(m[0] / m[1]);
}

double SignalAnalysis::SoundingSeconds(const std::vector<float>& s, int rate) {
  return Measure(s, rate)[1] / rate;
}

double SignalAnalysis::ToneFrequency(const std::vector<float>& s, int rate) {
  const std::vector<double> m = Measure(s, rate);
  return m[1] == 0 ? 0 : m[2] * rate / m[1];
}

}  // namespace orvo::test
