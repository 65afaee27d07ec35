#include "app/application.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "app/command_line.h"
#include "app/shutdown.h"
#include "backends/background_engine.h"
#include "backends/mpris_service.h"
#include "backends/shared_library_lookup.h"
#include "backends/xine_media_engine.h"
#include "base/file_name.h"
#include "base/program_restart.h"
#include "mediainfo/description.h"
#include "playback/now_playing.h"
#include "playback/play_audio_cd.h"
#include "playback/playback.h"
#include "playlist/m3u.h"
#include "playlist/show_playlist_count.h"
#include "playlist/song_adder.h"
#include "ui/dialogs/file_chooser.h"
#include "ui/dialogs/save_chooser.h"
#include "ui/player_window.h"
#include "ui/windows/playlist_manager_window.h"
#include "ui/windows/playlist_window.h"
#include "ui/windows/preferences_window.h"

namespace orvo {

namespace {

// Seeded once per process from the wall clock in milliseconds.
std::mt19937::result_type ClockSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<std::mt19937::result_type>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace

Application::Application()
    : random_(ClockSeed()),
      engine_(std::make_unique<BackgroundEngine>(std::make_unique<XineMediaEngine>())) {}

Application::~Application() = default;

int Application::Run(int argc, char** argv) {
  // The diagnostics are read line by line by whoever started the player.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);

  StartSlowInitialisations();
  // Toolkit options on the command line are not the toolkit's: they are
  // ordinary arguments below.
  gtk_init(nullptr, nullptr);
  gdk_init(nullptr, nullptr);
  std::cout << "INIT complete\n----\n" << std::flush;

  ResolveOptionalSymbols();
  settings_.Load(paths_.programDirectory + kPreferencesFileName);

  const CommandLine commandLine =
      InterpretCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  if (commandLine.showUsage) {
    for (const std::string& line : UsageLines()) std::cout << line << '\n';
    std::cout << std::flush;
    std::exit(0);
  }
  if (argc > 1) ApplyMusicFiles(commandLine, settings_, playlist_);
  const SkinChoice skin = ChooseSkin(commandLine, settings_, paths_.programDirectory);
  skinFile_ = skin.skinFile;
  skinRemembered_ = skin.skinRemembered;

  std::cout << "starting main\n" << std::flush;
  BuildPlayer();
  // The bus answers while the window comes up; the name and the calls are
  // handled once the main loop runs.
  mediaControls_ = std::make_unique<MprisService>(*this, std::cout);
  nowPlaying_->SetObserver(mediaControls_.get());
  mediaControls_->Start();
  // The window is on the screen now, not when the main loop next runs.
  gdk_flush();
  // The engine is first needed when the startup timer starts playback, and
  // its start overlaps the wait for that timer. Not earlier: libxine loads
  // its plugins then (every one of them when its plugin cache is missing),
  // which takes a processor for tens of milliseconds and holds the dynamic
  // loader's lock that the window's own library loading waits for.
  engine_->Initialise();
  std::cout << "main finished \n" << std::flush;

  LoadStartupPlaylist(commandLine);
  if (!playlist_.empty()) ShowPlaylistCount(notifications_, playlist_, 5, nullptr);
  std::cout << "Ready ... starting ....\n" << std::flush;
  ArmStartupTimer();
  gtk_main();
  EndProcess();
}

void Application::StartSlowInitialisations() {
  // Nothing of this needs the toolkit or shows anything, so the slow parts
  // (the font configuration, the CD drives, loading libnotify) run on
  // threads of their own from the first moment, overlapping the toolkit's
  // start and the window's construction; each is waited for where its result
  // is first needed (the display label, the add menu or a CD, the first
  // bubble).
  PlayerWindow::PrepareFonts();
  cd_.OpenDrives();
  paths_ = ProgramPaths::FromRunningProgram();
  notifications_.InitNotifications(paths_.programPath);
}

void Application::ResolveOptionalSymbols() {
  symbols_.Resolve(FindLibraryFile("/usr/lib/libgdk_pixbuf-2.0.so"));
}

void Application::BuildPlayer() {
  window_ = std::make_unique<PlayerWindow>(*this, cd_, playlist_, settings_, symbols_,
                                           paths_.programDirectory);
  window_->Build(skinFile_);
  nowPlaying_ = std::make_unique<NowPlaying>(
      playlist_, settings_, *engine_, loop_, *window_, notifications_,
      [this](const std::string& path) { return DescribeSong(path, songInfo_); });
  playback_ = std::make_unique<Playback>(playlist_, settings_, *engine_, loop_, *window_,
                                         notifications_, dialogs_, *nowPlaying_, random_,
                                         std::cout);
  adder_ = std::make_unique<SongAdder>(
      playlist_, foundFiles_, settings_, notifications_, *window_, RunFileChooser, paths_.programDirectory,
      [this] { return engine_->IsLoaded(); }, [this] { StartPlayback(); });
  windowContext_ = std::make_unique<WindowContext>(WindowContext{
      window_->window(), [this] { return window_->iconified(); }, settings_, playlist_,
      foundFiles_, skinFile_, skinRemembered_, paths_, dialogs_, notifications_, songInfo_});
  // One preferences window for the run: a second request brings it forward.
  preferences_ = std::make_unique<PreferencesWindow>(
      *windowContext_, [this](const std::vector<std::string>& arguments, const std::string& folder) {
        return RestartProcess(paths_.programPath, arguments, folder);
      });
}

void Application::LoadStartupPlaylist(const CommandLine& commandLine) {
  const std::string path = ChoosePlaylistPath(commandLine, settings_, paths_.programDirectory);
  std::cout << "Playlist: " << path << '\n' << std::flush;
  if (path.empty() || LowerExtension(path) != "m3u") return;
  playlist_.clear();
  (void)ReadM3u(path, playlist_);  // an unreadable file leaves the list empty
  playlist_.filePath = path;
}

void Application::ArmStartupTimer() {
  const unsigned delay = settings_.instantplay && !playlist_.empty() ? 500 : 100;
  g_timeout_add(delay, &Application::OnStartupTimer, this);
}

gboolean Application::OnStartupTimer(gpointer self) {
  // Playback may run inside this call for as long as songs play.
  static_cast<Application*>(self)->StartPlayback();
  return FALSE;
}

void Application::StartPlayback() { playback_->StartPlayback(); }

void Application::PlaySong(const std::string& path) { playback_->PlaySong(path); }

void Application::TogglePause() { nowPlaying_->TogglePause(); }

void Application::AddFiles() { adder_->AddFiles(); }

void Application::AddFolder() { adder_->SearchMusicFolder(SongAdder::SearchMode::kAdd); }

void Application::LoadPlaylist() { adder_->LoadPlaylist(); }

void Application::PlayAudioCd(int drive) { orvo::PlayAudioCd(drive, cd_, settings_, dialogs_); }

void Application::OpenPlaylistManager() {
  PlaylistManagerWindow(*windowContext_, [this] {
    return adder_->SearchMusicFolder(SongAdder::SearchMode::kSearchOnly);
  }).Open();
}

void Application::OpenPreferences() { preferences_->Open(); }

void Application::ShowPlaylistWindow() { PlaylistWindow(*windowContext_).Open(); }

void Application::Quit() {
  ShutdownParts parts{playlist_,
                      settings_,
                      paths_.programDirectory,
                      skinFile_,
                      dialogs_,
                      notifications_,
                      *engine_,
                      [](const std::string& folder) { return AskSavePlaylistName(nullptr, folder); },
                      [this] {
                        gint x = 0;
                        gint y = 0;
                        gtk_window_get_position(GTK_WINDOW(window_->window()), &x, &y);
                        return std::make_pair(int{x}, int{y});
                      }};
  RunShutdownSteps(parts);
  gtk_widget_destroy(window_->window());
  gtk_main_quit();
  EndProcess();
}

void Application::PressPlay() { StartPlayback(); }

void Application::PressPause() { TogglePause(); }

void Application::PressNext() { window_->cursor().PlayNextSong(); }

void Application::PressPrevious() { window_->cursor().PlayPreviousSong(); }

void Application::Stop() { playback_->Stop(); }

// A music file handed over by the desktop replaces the playlist the way a
// music file on the command line does: the same extension test, instant play
// on and the last playlist forgotten in memory. The list is unsaved now, and
// the count is announced as after any other refill.
bool Application::TakeMusicFile(const std::string& path) {
  const CommandLine asArgument = InterpretCommandLine({path});
  if (asArgument.musicFiles.empty()) return false;
  ApplyMusicFiles(asArgument, settings_, playlist_);
  playlist_.filePath.clear();
  ShowPlaylistCount(notifications_, playlist_, 3, window_->NotificationAnchor());
  return true;
}

void Application::Raise() { gtk_window_present(GTK_WINDOW(window_->window())); }

PlaybackStatus Application::Status() {
  if (!engine_->IsLoaded()) return PlaybackStatus::kStopped;
  const int status = engine_->Status();
  if (status > 0) return PlaybackStatus::kPlaying;
  return status < 0 ? PlaybackStatus::kPaused : PlaybackStatus::kStopped;
}

bool Application::HasSong() { return engine_->IsLoaded(); }

// A song without a title tag goes by its file name, which a panel has room
// for where the whole path would not fit.
TrackDescription Application::Describe(const std::string& path) {
  SongInfo info;
  ReadSongInfo(path, info);
  TrackDescription track;
  track.title = info.title.empty() ? FileNamePart(path) : info.title;
  if (info.artist != kNoInformation) {
    track.artist = info.artist;
    track.album = info.album;
  }
  track.lengthUs = 1000LL * engine_->LengthMs();
  return track;
}

void Application::EndProcess() {
  engine_->Shutdown();
  std::cout << std::flush;
  std::exit(0);
}

}  // namespace orvo
