#include "tests/support/audio_capture.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvo::test {
namespace {

std::string SinkName() {
  const char* sink = std::getenv("ORVO_TEST_SINK");
  return (sink != nullptr && *sink != '\0') ? sink : "null";
}

// Runs `argv` with its standard input from `in` and output to `out` (-1:
// /dev/null).
pid_t Spawn(const std::vector<std::string>& args, int in, int out) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  int devnull = open("/dev/null", O_RDWR);
  dup2(in >= 0 ? in : devnull, 0);
  dup2(out >= 0 ? out : devnull, 1);
  dup2(devnull, 2);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

void EndChild(pid_t& pid, int signal) {
  if (pid <= 0) return;
  kill(pid, signal);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  pid = -1;
}

}  // namespace

AudioCapture::~AudioCapture() { Stop(); }

bool AudioCapture::Start() {
  Stop();
  interleaved_.clear();
  received_ = 0;
  const std::string format[] = {"--format=s16le", "--rate=44100", "--channels=2",
                                "--latency-msec=20"};
  int zeros = open("/dev/zero", O_RDONLY | O_CLOEXEC);
  if (zeros < 0) return false;
  keeper_ = Spawn({"pacat", "--playback", "--raw", "--device=" + SinkName(), format[0], format[1],
                   format[2], format[3]},
                  zeros, -1);
  close(zeros);
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  recorder_ = Spawn({"parec", "--raw", "--device=" + SinkName() + ".monitor", format[0], format[1],
                     format[2], format[3]},
                    -1, pipeFds[1]);
  close(pipeFds[1]);
  if (keeper_ < 0 || recorder_ < 0) {
    close(pipeFds[0]);
    return false;
  }
  stopped_ = false;
  reader_ = std::thread(&AudioCapture::ReadLoop, this, pipeFds[0]);
  // The recording is live once samples arrive; that can take most of a
  // second on a busy machine.
  for (int waited = 0; received_ < kRate / 10 && waited < 5000; waited += 10) usleep(10 * 1000);
  int status = 0;
  if (waitpid(keeper_, &status, WNOHANG) != 0) keeper_ = -1;
  if (waitpid(recorder_, &status, WNOHANG) != 0) recorder_ = -1;
  if (keeper_ < 0 || recorder_ < 0 || received_ < kRate / 10) {
    Stop();
    return false;
  }
  return true;
}

void AudioCapture::ReadLoop(int fd) {
  std::vector<int16_t> buffer(4096);
  size_t pending = 0;  // bytes of a partial sample left from the last read
  auto* bytes = reinterpret_cast<char*>(buffer.data());
  for (;;) {
    ssize_t n = read(fd, bytes + pending, buffer.size() * sizeof(int16_t) - pending);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    size_t total = pending + static_cast<size_t>(n);
    size_t whole = total / sizeof(int16_t);
    interleaved_.insert(interleaved_.end(), buffer.begin(), buffer.begin() + static_cast<long>(whole));
    received_ += whole / 2;
    pending = total % sizeof(int16_t);
    if (pending != 0) bytes[0] = bytes[whole * sizeof(int16_t)];
  }
  close(fd);
}

void AudioCapture::Stop() {
  if (stopped_) return;
  // parec flushes what it holds on SIGINT, then closes the pipe.
  EndChild(recorder_, SIGINT);
  if (reader_.joinable()) reader_.join();
  EndChild(keeper_, SIGTERM);
  stopped_ = true;
}

std::vector<float> AudioCapture::Left() const {
  std::vector<float> left;
  left.reserve(interleaved_.size() / 2);
  for (size_t i = 0; i + 1 < interleaved_.size(); i += 2) {
    left.push_back(static_cast<float>(interleaved_[i]) / 32768.0f);
  }
  return left;
}

}  // namespace orvo::test
