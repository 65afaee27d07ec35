#pragma once

#include <string>
#include <vector>

#include "core/player_actions.h"

namespace orvo {

// Records every action the player leads to, in order: "Name" or "Name argument".
class RecordingActions : public PlayerActions {
 public:
  void StartPlayback() override { calls.push_back("StartPlayback"); }
  void PlaySong(const std::string& path) override { calls.push_back("PlaySong " + path); }
  void TogglePause() override { calls.push_back("TogglePause"); }
  void AddFiles() override { calls.push_back("AddFiles"); }
  void AddFolder() override { calls.push_back("AddFolder"); }
  void LoadPlaylist() override { calls.push_back("LoadPlaylist"); }
  void PlayAudioCd(int drive) override { calls.push_back("PlayAudioCd " + std::to_string(drive)); }
  void OpenPlaylistManager() override { calls.push_back("OpenPlaylistManager"); }
  void OpenPreferences() override { calls.push_back("OpenPreferences"); }
  void ShowPlaylistWindow() override { calls.push_back("ShowPlaylistWindow"); }
  void Quit() override { calls.push_back("Quit"); }

  std::vector<std::string> calls;
};

}  // namespace orvo
