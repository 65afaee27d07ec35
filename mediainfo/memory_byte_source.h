#pragma once

#include <cstddef>
#include <cstdint>

#include "mediainfo/byte_source.h"

namespace orvo {

// A file already held in memory; the bytes are borrowed and must outlive
// the source.
class MemoryByteSource final : public ByteSource {
 public:
  MemoryByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override;

 private:
  const uint8_t* data_;
  size_t size_;
};

}  // namespace orvo
