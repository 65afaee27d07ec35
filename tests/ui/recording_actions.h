#pragma once

#include <string>
#include <vector>

#include "core/cd_drives.h"
#include "core/player_actions.h"

namespace orvo {

// Records every action the player window leads to, in order, as
// "Name" or "Name argument".
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

// Drives with fixed names; records which drive was selected last.
class FakeDrives : public CdDrives {
 public:
  explicit FakeDrives(std::vector<std::string> names) : names_(std::move(names)) {}
  int DriveCount() const override { return static_cast<int>(names_.size()); }
  void SelectDrive(int i) override {
    selections.push_back(i);
    current_ = static_cast<size_t>(i);
  }
  std::string DriveName() const override { return names_.at(current_); }
  int TrackCount() const override { return 0; }
  void PlayTracks(int, int) override {}

  std::vector<int> selections;

 private:
  std::vector<std::string> names_;
  size_t current_ = 0;
};

}  // namespace orvo
