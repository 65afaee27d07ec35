#pragma once

#include <string>

namespace orvo {

struct SongInfo;

// The three column texts of a song in the playlist window.
struct PlaylistRow {
  std::string title;
  std::string artist;
  std::string path;
};

// Title, artist and path from already read fields; a song without a title
// shows its path in the title column and nothing else.
PlaylistRow MakePlaylistRow(const std::string& path, const SongInfo& info);
// Empties `record`, analyses the file into it and builds the row.
PlaylistRow ListSong(const std::string& path, SongInfo& record);

}  // namespace orvo
