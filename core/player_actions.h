#pragma once

#include <string>

namespace orvo {

// What the player window's buttons, menus and status icon lead to. The
// application object implements it by forwarding to the code that owns each
// action, so the window itself holds no playback or file state.
class PlayerActions {
 public:
  virtual ~PlayerActions() = default;
  virtual void StartPlayback() = 0;              // play button, "Play"
  virtual void PlaySong(const std::string& path) = 0;  // the four cursor buttons
  virtual void TogglePause() = 0;                // pause button, "Pause"
  virtual void AddFiles() = 0;                   // "File(s)"
  virtual void AddFolder() = 0;                  // "Folder"
  virtual void LoadPlaylist() = 0;               // "Playlist"
  virtual void PlayAudioCd(int drive) = 0;       // one entry per CD drive
  virtual void OpenPlaylistManager() = 0;
  virtual void OpenPreferences() = 0;
  virtual void ShowPlaylistWindow() = 0;
  virtual void Quit() = 0;                       // never returns in the real player
};

}  // namespace orvo
