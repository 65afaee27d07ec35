#include "playback/playlist_cursor.h"

#include <gtest/gtest.h>

#include "core/player_actions.h"
#include "playlist/path_list.h"

namespace orvo {
namespace {

class SongsPlayed : public PlayerActions {
 public:
  void PlaySong(const std::string& path) override { played += path + "|"; }
  void StartPlayback() override {}
  void TogglePause() override {}
  void AddFiles() override {}
  void AddFolder() override {}
  void LoadPlaylist() override {}
  void PlayAudioCd(int) override {}
  void OpenPlaylistManager() override {}
  void OpenPreferences() override {}
  void ShowPlaylistWindow() override {}
  void Quit() override {}
  std::string played;
};

// Presses F first, P previous, N next, L last. An empty list plays nothing; previous without a
// cursor does nothing and on the first entry plays it again; next without a cursor plays the
// first and on the last plays it again; emptied entries take the cursor but play nothing.
TEST(PlaylistCursor, Presses_PlayTheSongUnderTheMovedCursor) {
  const struct {
    std::vector<const char*> entries;
    int cursor;  // -1: none, before and after
    const char *keys, *played;
    int after;
  } rows[] = {
      {{}, -1, "FPNL", "", -1},          {{"a", "b", "c"}, -1, "LF", "c|a|", 0},
      {{"a", "b"}, -1, "P", "", -1},     {{"a", "b"}, 1, "PP", "a|a|", 0},
      {{"a", "b"}, -1, "NNN", "a|b|b|", 1}, {{"", "b", ""}, -1, "F", "", 0},
      {{"", "b", ""}, -1, "FN", "b|", 1}, {{"", "b", ""}, -1, "L", "", 2},
      {{"", "b", ""}, 2, "NPP", "b|", 0},
  };
  for (const auto& r : rows) {
    CurrentPlaylist playlist;
    for (const char* path : r.entries) playlist.append(path);
    if (r.cursor >= 0) playlist.select(size_t(r.cursor));
    SongsPlayed actions;
    PlaylistCursor cursor(playlist, actions);
    for (const char* key = r.keys; *key; ++key) {
      switch (*key) {
        case 'F': cursor.PlayFirstSong(); break;
        case 'P': cursor.PlayPreviousSong(); break;
        case 'N': cursor.PlayNextSong(); break;
        default: cursor.PlayLastSong(); break;
      }
    }
    EXPECT_EQ(actions.played, r.played) << r.keys << " from " << r.cursor;
    EXPECT_EQ(playlist.index(), r.after) << r.keys << " from " << r.cursor;
  }
}

}  // namespace
}  // namespace orvo
