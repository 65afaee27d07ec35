#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <random>
#include <string>

#include "backends/background_drives.h"
#include "backends/background_notifier.h"
#include "backends/glib_event_loop.h"
#include "core/media_controls.h"
#include "core/player_actions.h"
#include "core/program_paths.h"
#include "core/settings.h"
#include "mediainfo/song_info.h"
#include "playlist/path_list.h"
#include "ui/dialogs/gtk_message_dialogs.h"
#include "ui/optional_symbols.h"
#include "ui/windows/window_context.h"

namespace orvo {

struct CommandLine;
class MediaEngine;
class MprisService;
class NowPlaying;
class Playback;
class PlayerWindow;
class PreferencesWindow;
class SongAdder;

// Owns every process-wide record of the player, runs start-up, and carries
// out what the player window's buttons and menus ask for, and what the
// desktop's media controls ask for in their terms.
class Application : public PlayerActions, public MediaControls {
 public:
  Application();
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Runs start-up and the main loop. The process ends in Quit() (or after a
  // skin change), always with status 0; the only return is after the usage
  // text.
  int Run(int argc, char** argv);

  // PlayerActions
  void StartPlayback() override;
  void PlaySong(const std::string& path) override;
  void TogglePause() override;
  void AddFiles() override;
  void AddFolder() override;
  void LoadPlaylist() override;
  void PlayAudioCd(int drive) override;
  void OpenPlaylistManager() override;
  void OpenPreferences() override;
  void ShowPlaylistWindow() override;
  // The quit button, for PlayerActions and MediaControls alike.
  void Quit() override;

  // MediaControls
  void PressPlay() override;
  void PressPause() override;
  void PressNext() override;
  void PressPrevious() override;
  void Stop() override;
  bool TakeMusicFile(const std::string& path) override;
  void Raise() override;
  PlaybackStatus Status() override;
  bool HasSong() override;
  TrackDescription Describe(const std::string& path) override;

 private:
  void StartSlowInitialisations();
  void ResolveOptionalSymbols();
  void BuildPlayer();
  void LoadStartupPlaylist(const CommandLine& commandLine);
  void ArmStartupTimer();
  static gboolean OnStartupTimer(gpointer self);
  [[noreturn]] void EndProcess();

  ProgramPaths paths_;
  Settings settings_;
  CurrentPlaylist playlist_;
  PathList foundFiles_;
  SongInfo songInfo_;
  std::string skinFile_;
  bool skinRemembered_ = false;
  std::mt19937 random_;

  std::unique_ptr<MediaEngine> engine_;
  BackgroundDrives cd_;
  OptionalSymbols symbols_;
  BackgroundNotifier notifications_;
  GtkMessageDialogs dialogs_;
  GlibEventLoop loop_;
  std::unique_ptr<PlayerWindow> window_;
  std::unique_ptr<NowPlaying> nowPlaying_;
  std::unique_ptr<Playback> playback_;
  std::unique_ptr<SongAdder> adder_;
  std::unique_ptr<WindowContext> windowContext_;
  std::unique_ptr<PreferencesWindow> preferences_;
  std::unique_ptr<MprisService> mediaControls_;
};

}  // namespace orvo
