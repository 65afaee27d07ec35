#pragma once

#include <string>
#include <vector>

namespace orvo {

struct Settings;
class CurrentPlaylist;

// What the arguments of the program ask for. Arguments are recognised by
// their extension, not by their position.
struct CommandLine {
  bool showUsage = false;
  bool playlistNamedOnCommandLine = false;
  std::string playlistPath;  // the last "*.m3u" argument; emptied by music files
  std::string skinFile;      // the last "*.ini" argument, empty when none
  std::vector<std::string> musicFiles;
};

// `args` without the program name.
CommandLine InterpretCommandLine(const std::vector<std::string>& args);

// The 13 lines printed for the help switches.
const std::vector<std::string>& UsageLines();

// Music files on the command line replace the playlist for this run: they
// become the playlist's entries, switch instant play on and forget the last
// playlist, in memory only.
void ApplyMusicFiles(const CommandLine& commandLine, Settings& settings,
                     CurrentPlaylist& playlist);

struct SkinChoice {
  std::string skinFile;
  bool skinRemembered = false;
};
// The skin description to load: the command line's, else the remembered one,
// else "orvo.ini"; a bare file name is taken from `programDirectory`.
SkinChoice ChooseSkin(const CommandLine& commandLine, const Settings& settings,
                      const std::string& programDirectory);

// The playlist file to load at start-up (possibly empty). A bare name from
// the command line is taken from `programDirectory`; an empty path never is.
std::string ChoosePlaylistPath(const CommandLine& commandLine, const Settings& settings,
                               const std::string& programDirectory);

}  // namespace orvo
