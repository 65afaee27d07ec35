#include "tests/backends/test_media.h"

#include <filesystem>

#include "tests/backends/sv7_tone.h"

namespace orvo::test {

std::string TestMedia::Make(const std::string& name, const std::string& format, int hertz,
                            double seconds) {
  const std::string wav = dir_.file("tone.wav"), made = dir_.file("made." + format);
  const std::string encode = format == "mp3"   ? "lame --quiet " + wav + " " + made
                             : format == "ogg" ? "oggenc -Q -o " + made + " " + wav
                             : format == "mpc" ? "mpcenc --silent " + wav + " " + made
                                               : "mv " + wav + " " + made;
  if (format == "sv7") {
    WriteBytes(made, MakeSv7Tone(hertz, seconds));
  } else if (std::system(("sox -n -r 44100 -c 2 -b 16 " + wav + " synth " +
                          std::to_string(seconds) + " sine " + std::to_string(hertz) +
                          " vol 0.5 && " + encode + " 2>/dev/null")
                             .c_str()) != 0) {
    return std::string();
  }
  const std::string song = dir_.file(name + (format == "sv7" ? ".mpc" : "." + format));
  std::filesystem::rename(made, song);
  // libxine waits at the end of a file changed lately, taking it for one being written.
  std::filesystem::last_write_time(
      song, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  return song;
}

}  // namespace orvo::test
