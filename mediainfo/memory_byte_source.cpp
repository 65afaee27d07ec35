#include "mediainfo/memory_byte_source.h"

#include <algorithm>
#include <cstring>

namespace orvo {

size_t MemoryByteSource::ReadAt(uint64_t offset, uint8_t* out, size_t count) {
  if (offset >= size_) return 0;
  const size_t n = static_cast<size_t>(std::min<uint64_t>(count, size_ - offset));
  if (n > 0) std::memcpy(out, data_ + offset, n);
  return n;
}

}  // namespace orvo
