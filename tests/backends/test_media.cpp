#include "tests/backends/test_media.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "tests/backends/sv7_tone.h"

namespace orvo::test {
namespace {

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// libxine waits at the end of a file changed in the last seconds, taking it
// for one still being recorded, and loses sound doing so; songs on a disk are
// older than that.
std::string DatedBack(const std::string& path) {
  std::error_code ignored;
  std::filesystem::last_write_time(
      path, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1), ignored);
  return path;
}

bool Run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

}  // namespace

TestMedia::TestMedia() {
  std::string base = std::filesystem::temp_directory_path().string() + "/orvo-media-XXXXXX";
  std::vector<char> name(base.begin(), base.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) != nullptr) folder_ = name.data();
}

TestMedia::~TestMedia() {
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

std::string TestMedia::Make(const std::string& name, const std::string& format, int hertz,
                            double seconds) {
  if (folder_.empty()) return {};
  if (format == "sv7") return DatedBack(Write(name + ".mpc", MakeSv7Tone(hertz, seconds)));
  const std::string wav = folder_ + "/" + name + ".source.wav";
  const std::string out = folder_ + "/" + name + "." + format;
  if (!Run("sox -n -r 44100 -c 2 -b 16 " + Quoted(wav) + " synth " + std::to_string(seconds) +
           " sine " + std::to_string(hertz) + " vol 0.5")) {
    return {};
  }
  bool made = false;
  if (format == "wav") {
    std::error_code error;
    std::filesystem::rename(wav, out, error);
    made = !error;
  } else if (format == "mp3") {
    made = Run("lame --quiet -b 128 " + Quoted(wav) + " " + Quoted(out));
  } else if (format == "ogg") {
    made = Run("oggenc -Q -o " + Quoted(out) + " " + Quoted(wav));
  } else if (format == "mpc") {
    made = Run("mpcenc --silent " + Quoted(wav) + " " + Quoted(out));
  }
  std::error_code ignored;
  std::filesystem::remove(wav, ignored);
  return made ? DatedBack(out) : std::string();
}

std::string TestMedia::Write(const std::string& name, const std::string& bytes) {
  const std::string path = folder_ + "/" + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

}  // namespace orvo::test
