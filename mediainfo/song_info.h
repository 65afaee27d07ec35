#pragma once

#include <string>

namespace orvo {

inline constexpr const char* kNoInformation = "<<|none|<<";

// Artist, title and album of one music file, 8-bit text exactly as read.
struct SongInfo {
  std::string artist;
  std::string title;
  std::string album;
  void clear() { artist.clear(); title.clear(); album.clear(); }
};

// Checks the file's first frame header and reads its ID3v1 and ID3v2 tags
// into `info` (which the caller has emptied). False when the file cannot be
// opened or its header is invalid.
bool ReadSongInfo(const std::string& path, SongInfo& info);

}  // namespace orvo
