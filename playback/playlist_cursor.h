#pragma once

namespace orvo {

class CurrentPlaylist;
class PlayerActions;

// The four cursor buttons of the player window: each moves the playlist
// cursor and plays the song it lands on. An entry whose path was emptied by
// playback is skipped silently (the cursor still moves onto it), and an
// empty list makes every button do nothing.
class PlaylistCursor {
 public:
  PlaylistCursor(CurrentPlaylist& playlist, PlayerActions& actions)
      : playlist_(playlist), actions_(actions) {}

  void PlayFirstSong();
  // On the first entry the first song starts again; without a cursor entry
  // nothing happens.
  void PlayPreviousSong();
  // Without a cursor entry the first song plays; on the last entry the last
  // song starts again.
  void PlayNextSong();
  void PlayLastSong();

 private:
  void PlayCurrent();

  CurrentPlaylist& playlist_;
  PlayerActions& actions_;
};

}  // namespace orvo
