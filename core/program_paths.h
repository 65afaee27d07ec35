#pragma once

#include <string>

namespace orvo {

// Where the running executable lives. Preferences, the default skin
// description and bare file names from the command line are found in
// programDirectory.
struct ProgramPaths {
  std::string programPath;       // resolved target of /proc/self/exe
  std::string programDirectory;  // everything up to and including the last "/"

  static ProgramPaths FromRunningProgram();
  static ProgramPaths FromProgramPath(const std::string& path);
};

}  // namespace orvo
