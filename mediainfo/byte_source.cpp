#include "mediainfo/byte_source.h"

#include <cstring>

namespace orvo {

void ByteSource::ReadPadded(uint64_t offset, uint8_t* out, size_t count) {
  const size_t got = ReadAt(offset, out, count);
  std::memset(out + got, 0, count - got);
}

}  // namespace orvo
