#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/message_dialogs.h"
#include "core/settings.h"
#include "core/notifier.h"
#include "core/event_loop.h"
#include "core/media_engine.h"
#include "playback/now_playing.h"
#include "playlist/path_list.h"
#include "playback/playback.h"
#include "core/player_view.h"
#include "tests/playback/recording_doubles.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {

// A main loop in virtual milliseconds. Iterate dispatches the earliest timer
// that falls due within the allowed wait, or lets the wait pass; like GLib it
// never re-enters a timer whose callback is running.
class VirtualLoop : public EventLoop {
 public:
  long now() const { return now_; }
  void Iterate(int maxWaitMs) override;
  // Virtual time has no other thread: an engine's end is a timer of its own.
  void Wake() override {}
  TimerId AddTimer(int periodMs, std::function<bool()> tick) override;
  void RemoveTimer(TimerId id) override;

  // A handler the user triggers once at virtual time `at`.
  void At(long at, std::function<void()> action);
  // Runs the loop the way a nested window or modal dialog does until `until`.
  void RunUntil(long until);

  std::size_t activeTimers() const { return timers_.size(); }
  int iterations() const { return iterations_; }
  int nonBlockingIterations() const { return nonBlocking_; }
  // Periods of every periodic timer ever added, in order.
  const std::vector<int>& periodsAdded() const { return periods_; }

 private:
  struct Timer {
    long due;
    int period;
    bool oneShot;
    std::function<bool()> tick;
    bool running = false;
    bool removed = false;
  };
  void Dispatch(TimerId id);

  long now_ = 0;
  TimerId nextId_ = 1;
  std::map<TimerId, Timer> timers_;
  int iterations_ = 0;
  int nonBlocking_ = 0;
  std::vector<int> periods_;
};

// Songs of given lengths in the loop's virtual time; pauses stop the clock.
// With an end listener, each started song's end is a timer of the loop that
// tells it, as the real engine's thread does.
class ScriptedEngine : public MediaEngine {
 public:
  static constexpr long kDefaultLengthMs = 1000;
  explicit ScriptedEngine(VirtualLoop& clock) : clock_(clock) {}

  void SetLength(const std::string& path, long lengthMs) { lengths_[path] = lengthMs; }
  void FailLoad(const std::string& path) { failing_[path] = true; }

  void Initialise() override {}
  bool IsLoaded() const override { return loaded_; }
  void Release() override;
  bool Load(const std::string& path) override;
  void SetVideoArea(int x, int y, int width, int height) override;
  void Play(GtkWidget* parentWindow) override;
  int Status() override;
  void SetEndListener(std::function<void()> ended) override { ended_ = std::move(ended); }
  void Pause() override;
  void Resume() override;
  void Stop() override;
  void Shutdown() override { Release(); }

  std::vector<std::string> calls;   // every operation but Status and IsLoaded
  std::vector<std::string> played;  // paths handed to Play, in order
  // Virtual time at which the current song's sound ends (pauses included).
  long EndTime() const;

 private:
  void ArmEnd();

  VirtualLoop& clock_;
  std::function<void()> ended_;
  int started_ = 0;  // starts and resumes so far: an end armed before is void
  std::map<std::string, long> lengths_;
  std::map<std::string, bool> failing_;
  bool loaded_ = false;
  bool playing_ = false;
  bool stopped_ = false;
  std::string path_;
  long startedAt_ = 0;
  long pausedAt_ = -1;
  long pausedTotal_ = 0;
};

class RecordingView : public PlayerView {
 public:
  void SetDisplayText(const std::string& utf8) override;
  std::string DisplayText() const override { return display; }
  void SetTooltip(const std::string& latin1) override { tooltip = latin1; }
  GtkWidget* WindowWidget() override { return reinterpret_cast<GtkWidget*>(&widget_); }
  GtkWidget* NotificationAnchor() override { return nullptr; }

  std::string display;
  std::vector<std::string> displayHistory;
  std::string tooltip;

 private:
  int widget_ = 0;
};

// Folder of real files for the stat checks, removed with everything in it.
struct TempFolder : ScratchDir {
  std::string File(const std::string& name, const std::string& content = "sound") {
    WriteBytes(file(name), content);
    return file(name);
  }
  std::string Folder(const std::string& name) {
    mkdir(file(name).c_str(), 0700);
    return file(name);
  }
  std::string Path(const std::string& name) const { return file(name); }
};

inline constexpr const char* kPlaylistFinished = "the current Playlist is finished....";

// Playback and the now-playing display wired to the doubles above.
struct PlaybackHarness {
  explicit PlaybackHarness(std::uint32_t seed = 1);
  // Creates `count` non-empty song files of `lengthMs` each, in list order.
  std::vector<std::string> MakeSongs(int count, long lengthMs = ScriptedEngine::kDefaultLengthMs);
  void Fill(const std::vector<std::string>& paths);
  int Announcements() const { return notifier.CountBody(kPlaylistFinished); }
  // Lets the loop run at top level (after a pass has returned).
  void RunFor(long ms) { loop.RunUntil(loop.now() + ms); }

  TempFolder folder;
  VirtualLoop loop;
  ScriptedEngine engine{loop};
  RecordingView view;
  RecordingNotifier notifier;
  RecordingDialogs dialogs;
  CurrentPlaylist playlist;
  Settings settings;
  std::mt19937 random;
  std::ostringstream diagnostics;
  std::map<std::string, std::string> descriptions;  // path -> 8-bit description
  NowPlaying nowPlaying;
  Playback playback;
};

}  // namespace orvo::test
