#pragma once

#include <functional>
#include <string>

#include "core/event_loop.h"
#include "core/media_controls.h"
#include "core/notifier.h"

namespace orvo {

class CurrentPlaylist;
class MediaEngine;
class PlayerView;
struct Settings;

inline constexpr const char* kPlayerTitle = "Orvo M - Orvo Media Player";
inline constexpr const char* kPausedMarker = "-- PAUSED --";

// What the player's display, the "Now playing" bubble and the status icon
// tooltip show over a song's life, and the periodic title timer that scrolls
// the display and notices the end of the playlist.
//
// The timer cannot tell the end of a song inside a running pass from the end
// of the last song by looking at the engine alone (it also ticks inside
// nested windows and dialogs while the waiting song is not in control), so
// the sequencer reports when playback starts and when its outermost pass has
// really ended; only then is an ended song the end of the playlist.
class NowPlaying {
 public:
  // Builds the 8-bit description text of a song from its path (artist,
  // title and album lines each ending with a blank, or the path).
  using Describer = std::function<std::string(const std::string& path)>;

  // Every reference must outlive this object. Settings are read at each use.
  NowPlaying(const CurrentPlaylist& playlist, const Settings& settings, MediaEngine& engine,
             EventLoop& loop, PlayerView& view, Notifier& notifier, Describer describe);
  ~NowPlaying();
  NowPlaying(const NowPlaying&) = delete;
  NowPlaying& operator=(const NowPlaying&) = delete;

  // Announces the song that has just started at the playlist's cursor:
  // display, bubble, tooltip. Returns the bubble, which the caller closes
  // when the next song starts.
  NotificationHandle PresentSong(const std::string& path);

  // The pause button: pauses a playing song behind "-- PAUSED --" or resumes
  // a paused one with the display text it had when it was paused.
  void TogglePause();

  // Installs the title timer (period cycle_time tenths of a second) unless
  // one is active.
  void EnsureTitleTimer();
  bool TitleTimerActive() const { return timerActive_; }
  // One tick of the title timer; false when it has removed itself.
  bool TitleTimer();

  // Called by the sequencer when its first pass begins and when its
  // outermost pass has ended and no further song of it will start.
  void PlaybackStarted();
  void PlaybackEnded();

  const std::string& pausedText() const { return pausedText_; }

  // Who hears of each song start and each change of its state (nullptr:
  // nobody). It must outlive this object or be replaced first.
  void SetObserver(PlaybackObserver* observer) { observer_ = observer; }
  // Tells the observer that the song ended, was let go or stopped; for the
  // sequencer, which sees those where this object does not.
  void ReportPlaybackChange();

 private:
  void ShowFileName();
  void AnnouncePlaylistEnd();

  const CurrentPlaylist& playlist_;
  const Settings& settings_;
  MediaEngine& engine_;
  EventLoop& loop_;
  PlayerView& view_;
  Notifier& notifier_;
  Describer describe_;
  PlaybackObserver* observer_ = nullptr;

  std::string pausedText_;
  EventLoop::TimerId timer_ = 0;
  bool timerActive_ = false;
  bool playbackEnded_ = false;
};

// `text` with every line break replaced by " - ", followed by " - ": the
// one-line form of a description or file name.
std::string DisplayLine(const std::string& text);
// The text after the last "/" (the whole path when there is none).
std::string FileNamePart(const std::string& path);
// Moves the first character of a UTF-8 text to its end. A character is a
// lead byte with its continuation bytes; stray bytes move on their own.
std::string RotateFirstCharacter(const std::string& utf8);
// The timer period for a cycle_time setting, forced into 1 to 10 tenths.
int TitleTimerPeriodMs(int cycleTime);

}  // namespace orvo
