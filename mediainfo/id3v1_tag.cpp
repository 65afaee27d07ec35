#include "mediainfo/id3v1_tag.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "mediainfo/byte_source.h"
#include "mediainfo/song_info.h"

namespace orvo {
namespace {

constexpr size_t kTagSize = 128;
constexpr size_t kFieldSize = 30;

// A field ends at its first zero byte or after 30 bytes; spaces stay.
std::string Field(const uint8_t* tag, size_t offset) {
  const uint8_t* start = tag + offset;
  const void* zero = std::memchr(start, 0, kFieldSize);
  const size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - start) : kFieldSize;
  return std::string(reinterpret_cast<const char*>(start), length);
}

}  // namespace

void ReadId3v1(ByteSource& source, SongInfo& info) {
  if (source.Size() < kTagSize) return;
  uint8_t tag[kTagSize];
  source.ReadPadded(source.Size() - kTagSize, tag, kTagSize);
  if (std::memcmp(tag, "TAG", 3) != 0) return;
  info.title = Field(tag, 3);
  info.artist = Field(tag, 33);
  info.album = Field(tag, 63);
}

}  // namespace orvo
