#pragma once

#include <iosfwd>
#include <random>
#include <string>

#include "core/event_loop.h"
#include "core/notifier.h"

namespace orvo {

class CurrentPlaylist;
class MediaEngine;
class MessageDialogs;
class NowPlaying;
class PlayerView;
struct Settings;

inline constexpr const char* kPlaybackFailedWarning =
    "Could Not play a song (may they do Not exist)";

// Plays the current playlist, one song at a time, in order or at random,
// once or repeatedly.
//
// Playback is synchronous: PlaySong returns only when its song has ended.
// While it waits it runs the main loop itself, so every handler of the
// program (buttons, menus, timers, nested windows and dialogs) runs nested
// inside it, and a handler may start another song there: the running one is
// released, and when the nested song ends the waiting PlaySong returns too.
// The wait blocks in the main loop between events and never wakes up by
// itself: the engine's end listener wakes it when the song's sound has
// finished. Nothing is redrawn for the wait's sake; what changes while a
// song plays (the display text) redraws itself, and the toolkit repaints
// whatever the X server reports uncovered.
class Playback {
 public:
  // How many songs may wait inside each other. Each press of play or of a
  // cursor button during a song waits for its own song inside the waiting
  // one, so a key held on a focused button would grow the stack until it
  // overflows. Beyond this depth a cursor button's song replaces the
  // innermost one (which then waits for it, as it would after the nested
  // wait had ended) and the play button is ignored.
  static constexpr int kMaxNestedWaits = 32;

  // Every reference must outlive this object. `settings.repeat` may be
  // switched off in memory (a single unplayable entry must not loop).
  // `random` is seeded once per process by the owner. Diagnostics (one line
  // per song started) go to `diagnostics`. Installs the engine's end
  // listener, which this object's destruction takes away again.
  Playback(CurrentPlaylist& playlist, Settings& settings, MediaEngine& engine, EventLoop& loop,
           PlayerView& view, Notifier& notifier, MessageDialogs& dialogs, NowPlaying& nowPlaying,
           std::mt19937& random, std::ostream& diagnostics);
  ~Playback();
  Playback(const Playback&) = delete;
  Playback& operator=(const Playback&) = delete;

  // Plays passes over the playlist. True when the playlist was played to its
  // end (without repeat after one pass; with repeat it does not return while
  // playback goes on); false for an empty playlist or when the failure
  // warning stopped playback, and at once when kMaxNestedWaits songs are
  // waiting already.
  bool StartPlayback();

  // Plays `path`, which must be the path of the playlist's cursor entry, and
  // waits until it has ended (with kMaxNestedWaits songs waiting already,
  // the innermost of them waits for it). False only when the engine could
  // not load it.
  bool PlaySong(const std::string& path);

  // Ends every running pass and lets the song go, the way the end of the
  // playlist does but without its bubble: the display shows the player's
  // title and nothing plays until the next start. The passes end as soon as
  // their waiting song gets control back; a start in the meantime cancels
  // the stop.
  void Stop();

  int failedStarts() const { return failedStarts_; }
  NotificationHandle nowPlayingNotification() const { return nowPlayingNotification_; }

 private:
  enum class Pass { kEnded, kStopped };
  class PassScope;
  class WaitScope;

  Pass PlayInOrder();
  Pass PlayRandomEntry();
  // Starts the cursor entry when its file can be played and counts a failed
  // start otherwise. kStopped when playback must end.
  Pass TryEntry();
  void RefuseSong();
  void SwitchOffRepeatForSingleEntry();
  void CloseSongNotification();
  bool SongOver();
  void WaitForSongEnd();

  CurrentPlaylist& playlist_;
  Settings& settings_;
  MediaEngine& engine_;
  EventLoop& loop_;
  PlayerView& view_;
  Notifier& notifier_;
  MessageDialogs& dialogs_;
  NowPlaying& nowPlaying_;
  std::mt19937& random_;
  std::ostream& diagnostics_;

  int failedStarts_ = 0;
  NotificationHandle nowPlayingNotification_ = nullptr;
  int passDepth_ = 0;
  bool stopRequested_ = false;
  int waitDepth_ = 0;
};

// Whether `path` names an existing, non-empty file that is not a folder
// (symbolic links followed).
bool IsPlayableFile(const std::string& path);

}  // namespace orvo
