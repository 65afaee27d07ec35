#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "mediainfo/byte_source.h"

namespace orvo {

// A regular file read through two cached blocks, so that the frame search,
// the ID3v1 tag at the end and the ID3v2 walk at the start of a typical
// song cost one read each instead of one system call per byte or field.
class FileByteSource final : public ByteSource {
 public:
  static constexpr size_t kBlockSize = 16 * 1024;

  FileByteSource() = default;
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  // False when `path` cannot be opened for reading or is not a regular file
  // (a FIFO or a device would block or never end).
  bool Open(const std::string& path);

  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override;

  // Number of read system calls so far; lets callers see the cost.
  uint64_t ReadCalls() const { return readCalls_; }

 private:
  struct Block {
    uint64_t start = 0;
    size_t length = 0;
    uint64_t lastUse = 0;  // 0: never filled
    std::array<uint8_t, kBlockSize> bytes;
  };

  // Reads [offset, offset + count) straight from the file.
  size_t ReadFile(uint64_t offset, uint8_t* out, size_t count);
  Block& BlockFor(uint64_t offset);

  int fd_ = -1;
  uint64_t size_ = 0;
  uint64_t useCounter_ = 0;
  uint64_t readCalls_ = 0;
  std::array<Block, 2> blocks_;
};

}  // namespace orvo
