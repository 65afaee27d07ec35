// Start-up of the player window alone, without playback, notifications or
// settings: what the window build itself costs. Usage:
//   player_window_start PROGRAM_FOLDER/ SKIN.ini
// (a bare skin name is taken from PROGRAM_FOLDER, which ends with "/").
#include <gtk/gtk.h>

#include "core/cd_drives.h"
#include "core/player_actions.h"
#include "core/settings.h"
#include "playlist/path_list.h"
#include "ui/optional_symbols.h"
#include "ui/player_window.h"

namespace {

class NoActions : public orvo::PlayerActions {
 public:
  void StartPlayback() override {}
  void PlaySong(const std::string&) override {}
  void TogglePause() override {}
  void AddFiles() override {}
  void AddFolder() override {}
  void LoadPlaylist() override {}
  void PlayAudioCd(int) override {}
  void OpenPlaylistManager() override {}
  void OpenPreferences() override {}
  void ShowPlaylistWindow() override {}
  void Quit() override { gtk_main_quit(); }
};

class NoDrives : public orvo::CdDrives {
 public:
  int DriveCount() const override { return 0; }
  void SelectDrive(int) override {}
  std::string DriveName() const override { return std::string(); }
  int TrackCount() const override { return 0; }
  void PlayTracks(int, int) override {}
};

}  // namespace

int main(int argc, char** argv) {
  gtk_init(nullptr, nullptr);
  if (argc < 3) return 2;
  const std::string folder = argv[1];
  std::string skin = argv[2];
  if (skin.find('/') == std::string::npos) skin = folder + skin;
  orvo::OptionalSymbols symbols;
  symbols.Resolve(std::string());
  orvo::Settings settings;
  NoActions actions;
  NoDrives drives;
  orvo::CurrentPlaylist playlist;
  orvo::PlayerWindow window(actions, drives, playlist, settings, symbols, folder);
  window.Build(skin);
  gtk_main();
  return 0;
}
