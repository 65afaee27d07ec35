#pragma once

#include <cstddef>
#include <string>

namespace orvo {

// What the player is doing, as the desktop's media controls show it.
enum class PlaybackStatus { kStopped, kPlaying, kPaused };

// What the desktop's media controls show of one song. Texts are the
// program's 8-bit ISO-8859-1; an empty text is unknown.
struct TrackDescription {
  std::string title;
  std::string artist;
  std::string album;
  long long lengthUs = 0;  // 0 while the engine does not know it
};

// The player as the desktop's media controls (media keys, the panel's media
// widget, the lock screen) drive it. Each command is one of the player's own
// buttons, so a remote press is handled exactly like a click: it may run
// nested inside a playing song, and a command that starts playback returns
// only when the songs it started have ended.
class MediaControls {
 public:
  virtual ~MediaControls() = default;

  // The play button: a new pass over the playlist from its start.
  virtual void PressPlay() = 0;
  // The pause button: pauses a playing song, resumes a paused one.
  virtual void PressPause() = 0;
  // The next-song and previous-song cursor buttons.
  virtual void PressNext() = 0;
  virtual void PressPrevious() = 0;
  // Ends every running pass and lets the song go; nothing plays afterwards.
  virtual void Stop() = 0;
  // Makes the music file at `path` (8-bit, absolute) the whole playlist, as
  // a music file named on the command line does, without playing it yet.
  // False, changing nothing, when the command line would not take it as a
  // music file.
  virtual bool TakeMusicFile(const std::string& path) = 0;
  // Shows the player window and un-minimises it.
  virtual void Raise() = 0;
  // The quit button: the shutdown steps with their questions; does not
  // return in the real player.
  virtual void Quit() = 0;

  virtual PlaybackStatus Status() = 0;
  // True while a song object exists: playing, paused, or ended but not yet
  // let go.
  virtual bool HasSong() = 0;
  // Reads the song's tags, and the length of the song loaded now.
  virtual TrackDescription Describe(const std::string& path) = 0;
};

// Told by playback of every change of the song or of its state, so that
// whoever shows them elsewhere can follow without asking all the time.
class PlaybackObserver {
 public:
  virtual ~PlaybackObserver() = default;
  // The song at the 0-based playlist `position`, read from `path`, started.
  virtual void SongStarted(std::size_t position, const std::string& path) = 0;
  // The song was paused, resumed, ended or let go.
  virtual void PlaybackChanged() = 0;
};

}  // namespace orvo
