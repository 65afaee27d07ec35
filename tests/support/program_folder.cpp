#include "tests/support/program_folder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace orvo::test {

ProgramFolder::ProgramFolder() : ProgramFolder(ORVO_BIN_DIR) {}

ProgramFolder::ProgramFolder(const std::string& binDir) {
  namespace fs = std::filesystem;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(binDir, error)) {
    const fs::path name = entry.path().filename();
    const bool executable = (entry.symlink_status().permissions() & fs::perms::owner_exec) != fs::perms::none;
    if (entry.is_regular_file() && !entry.is_symlink() && executable && name != "Orvo_M") continue;
    // Files keep their permission bits, links stay links.
    fs::copy(entry.path(), dir_.file(name), fs::copy_options::recursive | fs::copy_options::copy_symlinks,
             error);
    if (error) break;
  }
  if (error) {
    std::fprintf(stderr, "cannot copy the program folder %s: %s\n", binDir.c_str(),
                 error.message().c_str());
    std::abort();
  }
}

}  // namespace orvo::test
