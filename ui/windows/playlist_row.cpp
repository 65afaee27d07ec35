#include "ui/windows/playlist_row.h"

#include "mediainfo/song_info.h"

namespace orvo {

PlaylistRow MakePlaylistRow(const std::string& path, const SongInfo& info) {
  if (!info.title.empty()) return {info.title, info.artist, path};
  return {path, std::string(), std::string()};
}

PlaylistRow ListSong(const std::string& path, SongInfo& record) {
  record.clear();
  ReadSongInfo(path, record);
  return MakePlaylistRow(path, record);
}

}  // namespace orvo
