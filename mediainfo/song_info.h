#pragma once

#include <string>

namespace orvo {

class ByteSource;

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
// opened or is not a regular file, holds no byte of value 255 (nothing is
// read), or its header is invalid (`artist` becomes kNoInformation).
bool ReadSongInfo(const std::string& path, SongInfo& info);

// The same analysis over bytes from any source (a file in memory, a test's
// made-up file). Bytes past the end of the source read as zero.
bool ReadSongInfo(ByteSource& source, SongInfo& info);

}  // namespace orvo
