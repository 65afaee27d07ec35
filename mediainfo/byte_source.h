#pragma once

#include <cstddef>
#include <cstdint>

namespace orvo {

// Random access to the bytes of one music file. The tag readers treat every
// byte past the end as zero, so a source reports only the bytes that exist.
class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // Length of the file in bytes.
  virtual uint64_t Size() const = 0;

  // Copies the existing bytes of [offset, offset + count) to `out` and
  // returns their number: `count`, fewer at the end of the file, 0 at or
  // past it. A read error counts as the end of the file.
  virtual size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) = 0;

  // As ReadAt, with the bytes that do not exist set to zero.
  void ReadPadded(uint64_t offset, uint8_t* out, size_t count);
};

}  // namespace orvo
