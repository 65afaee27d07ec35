// The four cursor buttons on first, last and emptied entries.
#include "playback/playlist_cursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/path_list.h"
#include "tests/ui/recording_actions.h"

namespace orvo {
namespace {

struct Presses {
  std::vector<const char*> entries;
  int cursor;         // -1: none
  const char* keys;   // F first, P previous, N next, L last
  std::vector<std::string> played;
  int index;          // the cursor afterwards, -1: none
};

TEST(PlaylistCursor, Presses_PlayTheSongUnderTheMovedCursor) {
  const Presses cases[] = {
      {{}, -1, "FPNL", {}, -1},  // an empty list plays nothing
      {{"a.mp3", "b.mp3", "c.mp3"}, -1, "LF", {"PlaySong c.mp3", "PlaySong a.mp3"}, 0},
      // Previous without a cursor does nothing, on the first entry replays it.
      {{"a.mp3", "b.mp3"}, -1, "P", {}, -1},
      {{"a.mp3", "b.mp3"}, 1, "PP", {"PlaySong a.mp3", "PlaySong a.mp3"}, 0},
      // Next without a cursor plays the first, on the last replays it.
      {{"a.mp3", "b.mp3"}, -1, "NNN", {"PlaySong a.mp3", "PlaySong b.mp3", "PlaySong b.mp3"}, 1},
      // Emptied entries take the cursor but play nothing.
      {{"", "b.mp3", ""}, -1, "F", {}, 0},
      {{"", "b.mp3", ""}, -1, "FN", {"PlaySong b.mp3"}, 1},
      {{"", "b.mp3", ""}, -1, "L", {}, 2},
      {{"", "b.mp3", ""}, 2, "NPP", {"PlaySong b.mp3"}, 0},
  };
  for (const Presses& c : cases) {
    CurrentPlaylist playlist;
    for (const char* path : c.entries) playlist.append(path);
    if (c.cursor >= 0) playlist.select(c.cursor);
    RecordingActions actions;
    PlaylistCursor cursor(playlist, actions);
    for (const char* key = c.keys; *key != '\0'; ++key) {
      switch (*key) {
        case 'F': cursor.PlayFirstSong(); break;
        case 'P': cursor.PlayPreviousSong(); break;
        case 'N': cursor.PlayNextSong(); break;
        default: cursor.PlayLastSong(); break;
      }
    }
    SCOPED_TRACE(std::string(c.keys) + " from " + std::to_string(c.cursor));
    EXPECT_EQ(actions.calls, c.played);
    EXPECT_EQ(playlist.hasCursor() ? playlist.index() : -1, c.index);
  }
}

}  // namespace
}  // namespace orvo
