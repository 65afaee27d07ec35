#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace orvo {

class CurrentPlaylist;
class MediaEngine;
class MessageDialogs;
class Notifier;
struct Settings;

// What quitting works on. The window and the process are the caller's: it
// destroys the player window and ends the process after RunShutdownSteps.
struct ShutdownParts {
  CurrentPlaylist& playlist;
  Settings& settings;
  std::string programDirectory;
  std::string skinFile;  // a bare name lies in programDirectory
  MessageDialogs& dialogs;
  Notifier& notifier;
  MediaEngine& engine;
  // Asks for the name to save an unsaved playlist under; nullopt on cancel.
  std::function<std::optional<std::string>(const std::string& startFolder)> askSaveName;
  // The player window's position on the screen.
  std::function<std::pair<int, int>()> windowPosition;
};

// Offers to save an unsaved playlist, remembers the playlist as the last
// one, stops playback and stores the window position in the skin
// description, in that order. No failure stops it.
void RunShutdownSteps(ShutdownParts& parts);

}  // namespace orvo
