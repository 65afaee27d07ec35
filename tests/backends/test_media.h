#pragma once

#include <string>

namespace orvo::test {

// A private folder of songs made for one test suite with sox, lame, oggenc
// and mpcenc: steady sine tones, 44100 Hz stereo, amplitude 0.5. Removed with
// its contents when the object goes.
class TestMedia {
 public:
  TestMedia();
  ~TestMedia();
  TestMedia(const TestMedia&) = delete;
  TestMedia& operator=(const TestMedia&) = delete;

  const std::string& Folder() const { return folder_; }
  // Makes "<name>.<format>" (format: wav, mp3, ogg or mpc; "sv7" makes an
  // SV7 "<name>.mpc", tones below 600 Hz) holding `seconds` of a `hertz` tone;
  // empty when a tool failed.
  std::string Make(const std::string& name, const std::string& format, int hertz, double seconds);
  // Writes `bytes` to a file named `name` in the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes);

 private:
  std::string folder_;
};

}  // namespace orvo::test
