#include "mediainfo/id3v2_tag.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "mediainfo/byte_source.h"
#include "mediainfo/song_info.h"

namespace orvo {
namespace {

struct FrameField {
  const char* id;
  std::string SongInfo::*field;
};

constexpr FrameField kFields[] = {
    {"TIT2", &SongInfo::title}, {"TPE1", &SongInfo::artist}, {"TALB", &SongInfo::album}};
constexpr FrameField kFieldsV2[] = {
    {"TT2", &SongInfo::title}, {"TP1", &SongInfo::artist}, {"TAL", &SongInfo::album}};

// Walks of layouts 3 and 4 stop before a position that a signed 32-bit
// offset could not hold.
constexpr uint64_t kLastPosition = INT32_MAX;

// An identifier holding a zero byte is shorter as text than every
// recognised one, so comparing all its bytes gives the same answer as
// comparing its text.
template <size_t N>
std::string* FieldFor(const FrameField (&table)[N], const uint8_t* id, size_t idLength,
                      SongInfo& info) {
  for (const FrameField& entry : table) {
    if (std::memcmp(entry.id, id, idLength) == 0) return &(info.*entry.field);
  }
  return nullptr;
}

// Artist, title and album are one line of the display each; a crafted frame
// of up to 4 GiB without a zero byte must not make the player hold a whole
// file in memory. No real tag comes near this length.
constexpr uint64_t kMaxTextBytes = 64 * 1024;

// The text of a frame whose content of `size` (> 0) bytes starts at
// `content`: after the encoding byte, up to the first zero byte, at most
// size - 1 bytes (and at most kMaxTextBytes). The content may run past the
// end of the file, where the text ends as at a zero byte.
std::string FrameText(ByteSource& source, uint64_t content, uint64_t size) {
  std::string text;
  const uint64_t limit = std::min<uint64_t>(size - 1, kMaxTextBytes);
  uint64_t position = content + 1;
  uint8_t chunk[512];
  while (text.size() < limit) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(sizeof chunk, limit - text.size()));
    const size_t got = source.ReadAt(position, chunk, want);
    const void* zero = std::memchr(chunk, 0, got);
    const size_t keep = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - chunk) : got;
    text.append(reinterpret_cast<const char*>(chunk), keep);
    if (zero || got < want) break;
    position += got;
  }
  return text;
}

uint32_t BigEndian(const uint8_t* bytes, size_t count) {
  uint32_t value = 0;
  for (size_t i = 0; i < count; ++i) value = (value << 8) | bytes[i];
  return value;
}

uint32_t Synchsafe(const uint8_t* bytes) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = (value << 7) | (bytes[i] & 0x7Fu);
  return value;
}

void WalkFrames(ByteSource& source, SongInfo& info, uint64_t position, bool synchsafeSizes) {
  for (;;) {
    uint8_t header[10];
    source.ReadPadded(position, header, sizeof header);
    const uint32_t size = synchsafeSizes ? Synchsafe(header + 4) : BigEndian(header + 4, 4);
    if (size > 0) {
      if (std::string* field = FieldFor(kFields, header, 4, info)) {
        *field = FrameText(source, position + 10, size);
      }
    }
    const uint64_t next = position + 10 + size;
    const bool noFrame = header[0] == 0 && header[1] == 0 && header[2] == 0 && header[3] == 0;
    const bool footer = std::memcmp(header, "3DI", 3) == 0;
    if (noFrame || footer || next > kLastPosition) return;
    position = next;
  }
}

// Layout 2 ends only at a frame of size 0; past the end of the file every
// size reads as 0, and each frame moves the position forward.
void WalkFramesV2(ByteSource& source, SongInfo& info) {
  uint64_t position = 10;
  for (;;) {
    uint8_t header[6];
    source.ReadPadded(position, header, sizeof header);
    const uint32_t size = BigEndian(header + 3, 3);
    if (size == 0) return;
    if (std::string* field = FieldFor(kFieldsV2, header, 3, info)) {
      *field = FrameText(source, position + 6, size);
    }
    position += 6 + size;
  }
}

}  // namespace

void ReadId3v2(ByteSource& source, SongInfo& info) {
  uint8_t header[10];
  source.ReadPadded(0, header, sizeof header);
  const uint8_t majorVersion = header[3];
  const bool extendedStart = (header[5] & 0x20) != 0;
  switch (majorVersion) {
    case 2:
      WalkFramesV2(source, info);
      break;
    case 3:
    case 4:
      WalkFrames(source, info, extendedStart ? 16 : 10, majorVersion == 4);
      break;
    default:
      break;
  }
}

size_t Id3v2TagSize(const uint8_t* data, size_t size) {
  constexpr size_t kHeaderSize = 10;
  if (size < kHeaderSize || std::memcmp(data, "ID3", 3) != 0) return 0;
  for (int i = 6; i < 10; ++i) {
    if (data[i] & 0x80) return 0;
  }
  const size_t body = (size_t{data[6]} << 21) | (size_t{data[7]} << 14) |
                      (size_t{data[8]} << 7) | size_t{data[9]};
  const size_t footer = (data[5] & 0x10) ? kHeaderSize : 0;
  return kHeaderSize + body + footer;
}

}  // namespace orvo
