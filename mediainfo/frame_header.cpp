#include "mediainfo/frame_header.h"

#include <cstring>

#include "mediainfo/byte_source.h"

namespace orvo {

std::optional<uint64_t> FindFrameStart(ByteSource& source) {
  uint8_t chunk[4096];
  uint64_t offset = 0;
  for (;;) {
    const size_t got = source.ReadAt(offset, chunk, sizeof chunk);
    if (got == 0) return std::nullopt;
    const void* hit = std::memchr(chunk, 255, got);
    if (hit) return offset + static_cast<uint64_t>(static_cast<const uint8_t*>(hit) - chunk);
    offset += got;
  }
}

bool HasReservedSampleRate(const uint8_t header[4]) {
  constexpr unsigned kReservedVersion = 1;
  const unsigned version = (header[1] >> 3) & 3u;
  const unsigned sampleRateIndex = (header[2] >> 2) & 3u;
  return version != kReservedVersion && sampleRateIndex == 3;
}

}  // namespace orvo
