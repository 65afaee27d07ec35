#pragma once

#include <filesystem>
#include <string>

#include "tests/support/scratch_dir.h"

namespace orvo::test {

// A private copy of the built program folder (ORVO_BIN_DIR: Orvo_M and the
// files beside it), so a test can put its own orvo.prefs, skins and
// playlists beside the executable and let the program write there without
// touching the build. Other executables of that folder (test and benchmark
// programs) are left out.
class ProgramFolder {
 public:
  ProgramFolder();
  explicit ProgramFolder(const std::string& binDir);

  // The folder, without a trailing "/".
  const std::string& Path() const { return dir_.path(); }
  // Path() + "/" + relative.
  std::string File(const std::string& relative) const { return dir_.file(relative); }
  std::string Executable() const { return File("Orvo_M"); }
  // Writes or replaces File(relative).
  // Writes `bytes` to File(relative), making the folders on the way.
  std::string Write(const std::string& relative, const std::string& bytes) const {
    const std::string path = File(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteBytes(path, bytes);
    return path;
  }

 private:
  ScratchDir dir_;
};

}  // namespace orvo::test
