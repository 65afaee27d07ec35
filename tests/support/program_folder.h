#pragma once

#include <string>

#include "tests/support/temp_dir.h"

namespace orvo::test {

// A private copy of the built program folder (ORVO_BIN_DIR: Orvo_M and the
// files beside it), so a test can put its own orvo.prefs, skins and
// playlists beside the executable and let the program write there without
// touching the build. Other executables of that folder (the test programs)
// are left out.
class ProgramFolder {
 public:
  ProgramFolder();
  explicit ProgramFolder(const std::string& binDir);

  // The folder, without a trailing "/".
  const std::string& Path() const { return dir_.Path(); }
  // Path() + "/" + relative.
  std::string File(const std::string& relative) const { return dir_.File(relative); }
  std::string Executable() const { return File("Orvo_M"); }
  // True when the copied folder holds an executable Orvo_M.
  bool HasProgram() const;

  // Writes or replaces File(relative).
  std::string Write(const std::string& relative, const std::string& bytes) const {
    return dir_.Write(relative, bytes);
  }

 private:
  TempDir dir_{"orvo-program"};
};

// Copies the tree `from` into the existing folder `to`: folders, regular
// files (with their permission bits) and symbolic links (as links). Files
// for which `skip` answers true are left out. False when anything failed.
bool CopyTree(const std::string& from, const std::string& to,
              bool (*skip)(const std::string& name, bool executable) = nullptr);

}  // namespace orvo::test
