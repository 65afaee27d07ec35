#include "mediainfo/song_info.h"

#include <cstdint>
#include <optional>

#include "mediainfo/byte_source.h"
#include "mediainfo/file_byte_source.h"
#include "mediainfo/frame_header.h"
#include "mediainfo/id3v1_tag.h"
#include "mediainfo/id3v2_tag.h"

namespace orvo {

bool ReadSongInfo(ByteSource& source, SongInfo& info) {
  // Without a byte of value 255 there is no frame to check and no reason to
  // trust anything else in the file; the caller shows the song by its path.
  const std::optional<uint64_t> frameStart = FindFrameStart(source);
  if (!frameStart) return false;
  uint8_t header[4];
  source.ReadPadded(*frameStart, header, sizeof header);
  if (HasReservedSampleRate(header)) {
    info.artist = kNoInformation;
    return false;
  }
  // ID3v2 comes second so that its frames win over the ID3v1 fields. A file
  // starting with its frame has no room for an ID3v2 tag.
  ReadId3v1(source, info);
  if (*frameStart > 0) ReadId3v2(source, info);
  return true;
}

bool ReadSongInfo(const std::string& path, SongInfo& info) {
  FileByteSource file;
  if (!file.Open(path)) return false;
  return ReadSongInfo(file, info);
}

}  // namespace orvo
