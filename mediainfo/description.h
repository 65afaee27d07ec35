#pragma once

#include <string>

#include "mediainfo/song_info.h"

namespace orvo {

// The three column texts of a song in the playlist window.
struct PlaylistRow {
  std::string title;
  std::string artist;
  std::string path;
};

// The description from already read fields: three lines "artist \n title \n
// album " or, without information, the path with "&" replaced by "+".
std::string DescriptionText(const std::string& path, const SongInfo& info);
PlaylistRow MakePlaylistRow(const std::string& path, const SongInfo& info);

// Empty `record`, analyse the file into it and build the text or row.
std::string DescribeSong(const std::string& path, SongInfo& record);
PlaylistRow ListSong(const std::string& path, SongInfo& record);

}  // namespace orvo
