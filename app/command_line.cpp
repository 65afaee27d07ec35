#include "app/command_line.h"

#include <algorithm>

#include "base/file_name.h"
#include "core/program_paths.h"
#include "core/settings.h"
#include "playlist/path_list.h"

namespace orvo {

namespace {

const char* const kHelpSwitches[] = {"-?", "--help", "/?", "help", "-h", "/h"};


std::string TrimBlanks(const std::string& text) {
  const auto begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return std::string();
  const auto end = text.find_last_not_of(' ');
  return text.substr(begin, end - begin + 1);
}

}  // namespace

CommandLine InterpretCommandLine(const std::vector<std::string>& args) {
  CommandLine result;
  if (args.empty()) return result;
  // Only the first argument is tested for a help switch.
  if (std::find(std::begin(kHelpSwitches), std::end(kHelpSwitches), args.front()) !=
      std::end(kHelpSwitches)) {
    result.showUsage = true;
    return result;
  }
  for (const std::string& arg : args) {
    // Playlists and skin descriptions are recognised case-sensitively,
    // music files in any letter case.
    const std::string extension = Extension(arg);
    if (extension == "m3u") {
      result.playlistPath = arg;
      result.playlistNamedOnCommandLine = true;
    } else if (extension == "ini") {
      result.skinFile = arg;
    }
  }
  for (const std::string& arg : args) {
    const std::string extension = LowerExtension(arg);
    if (extension == "mp3" || extension == "mpc" || extension == "wav" || extension == "ogg") {
      result.musicFiles.push_back(arg);
      result.playlistPath.clear();
    }
  }
  return result;
}

const std::vector<std::string>& UsageLines() {
  static const std::string hyphens(52, '-');
  static const std::vector<std::string> lines = {
      " ",
      hyphens,
      "Orvo M - Orvo Media Player",
      "Usage: Orvo_M [playlist.m3u [ini-file.ini [music-file(s)]]] ",
      "Use playlist, inifile and music-files in any combination",
      "and order ",
      "Specify a path if they are not in the same directory",
      "as the executable ",
      hyphens,
      "if you specify music-tracks (mp3, mpc, wav, ogg)",
      "a given playlist is ignored!",
      hyphens,
      " ",
  };
  return lines;
}

void ApplyMusicFiles(const CommandLine& commandLine, Settings& settings,
                     CurrentPlaylist& playlist) {
  if (commandLine.showUsage) return;
  playlist.clear();
  for (const std::string& path : commandLine.musicFiles) {
    playlist.add(path);
    settings.last_one.clear();
    settings.instantplay = true;
  }
}

SkinChoice ChooseSkin(const CommandLine& commandLine, const Settings& settings,
                      const std::string& programDirectory) {
  SkinChoice choice;
  choice.skinRemembered = !settings.use_last_skin.empty();
  if (!commandLine.skinFile.empty()) {
    choice.skinFile = commandLine.skinFile;
  } else if (choice.skinRemembered) {
    choice.skinFile = settings.use_last_skin;
  } else {
    choice.skinFile = "orvo.ini";
  }
  choice.skinFile = ResolveProgramFile(choice.skinFile, programDirectory);
  return choice;
}

std::string ChoosePlaylistPath(const CommandLine& commandLine, const Settings& settings,
                               const std::string& programDirectory) {
  std::string path = TrimBlanks(commandLine.playlistPath);
  if (commandLine.playlistNamedOnCommandLine) {
    path = ResolveProgramFile(path, programDirectory);
  } else if (settings.start_with_last_playlist) {
    path = settings.last_one;
  }
  return path;
}

}  // namespace orvo
