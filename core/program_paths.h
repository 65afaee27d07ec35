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

// The file a name given to the program stands for. A name without a folder
// (no "/") always lies in `programDirectory`, whatever the working folder
// is: a skin picked in the preferences, the default "orvo.ini" and bare
// names from the command line mean the files beside the executable, when
// they are read at start-up as when the window position is stored at
// shutdown. A path with a folder is used as it is; an empty name stays
// empty (there is no file to find).
std::string ResolveProgramFile(const std::string& name, const std::string& programDirectory);

}  // namespace orvo
