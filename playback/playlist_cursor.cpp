#include "playback/playlist_cursor.h"

#include <string>

#include "core/player_actions.h"
#include "playlist/path_list.h"

namespace orvo {

void PlaylistCursor::PlayCurrent() {
  if (!playlist_.hasCursor()) return;
  // PlaySong may run a nested loop in which the list changes; hand it a copy.
  const std::string path = playlist_.current();
  if (!path.empty()) actions_.PlaySong(path);
}

void PlaylistCursor::PlayFirstSong() {
  if (playlist_.empty()) return;
  playlist_.first();
  PlayCurrent();
}

void PlaylistCursor::PlayPreviousSong() {
  if (playlist_.empty()) return;
  playlist_.previous();
  PlayCurrent();
}

void PlaylistCursor::PlayNextSong() {
  if (playlist_.empty()) return;
  playlist_.next();
  PlayCurrent();
}

void PlaylistCursor::PlayLastSong() {
  if (playlist_.empty()) return;
  playlist_.last();
  PlayCurrent();
}

}  // namespace orvo
