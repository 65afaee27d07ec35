#pragma once

// Builders for made-up music files and a scratch folder to write them into.

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "mediainfo/byte_source.h"
#include "tests/support/scratch_dir.h"

namespace orvo::test {

using Bytes = std::vector<uint8_t>;

inline Bytes B(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline Bytes Zeros(size_t n) { return Bytes(n, 0); }

// A valid MPEG-1 frame header followed by zero bytes, so that an ID3v2 walk
// reaching it stops within it.
inline Bytes Audio() { return Bytes{255, 251, 144, 100} + Zeros(60); }

inline Bytes Id3v2Header(uint8_t major, uint8_t flags = 0) {
  return B("ID3") + Bytes{major, 0, flags, 0, 0, 0x7F, 0x7F};
}

inline Bytes BigEndian(uint32_t value, int count) {
  Bytes out;
  for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
  return out;
}

inline Bytes Synchsafe(uint32_t value) {
  return {uint8_t(value >> 21 & 0x7F), uint8_t(value >> 14 & 0x7F), uint8_t(value >> 7 & 0x7F),
          uint8_t(value & 0x7F)};
}

// A frame whose size counts the encoding byte and `text`.
inline Bytes FrameV3(std::string_view id, std::string_view text, uint8_t encoding = 0) {
  return B(id) + BigEndian(uint32_t(text.size() + 1), 4) + Bytes{0, 0, encoding} + B(text);
}
inline Bytes FrameV4(std::string_view id, std::string_view text) {
  return B(id) + Synchsafe(uint32_t(text.size() + 1)) + Bytes{0, 0, 0} + B(text);
}
inline Bytes FrameV2(std::string_view id, std::string_view text) {
  return B(id) + BigEndian(uint32_t(text.size() + 1), 3) + Bytes{0} + B(text);
}

// 128 bytes: "TAG", three 30-byte fields, then year, comment and genre.
inline Bytes Id3v1(std::string_view title, std::string_view artist, std::string_view album) {
  Bytes tag = B("TAG");
  for (std::string_view field : {title, artist, album}) tag = tag + B(field) + Zeros(30 - field.size());
  return tag + B("1999Comment") + Zeros(23) + Bytes{255};
}

// A scratch folder, removed with everything in it.
struct TempFolder : ScratchDir {
  std::string Write(const std::string& name, const Bytes& bytes) const {
    WriteBytes(file(name), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return file(name);
  }
};

// A file of any length holding the given pieces at their offsets and zero
// bytes elsewhere; counts the reads it serves.
class SparseSource final : public ByteSource {
 public:
  explicit SparseSource(uint64_t size) : size_(size) {}
  void Put(uint64_t offset, const Bytes& bytes) { pieces_[offset] = bytes; }

  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override {
    ++reads;
    if (offset >= size_) return 0;
    if (count > size_ - offset) count = size_t(size_ - offset);
    std::memset(out, 0, count);
    for (const auto& [start, bytes] : pieces_) {
      for (size_t i = 0; i < bytes.size(); ++i) {
        if (start + i >= offset && start + i < offset + count) out[start + i - offset] = bytes[i];
      }
    }
    return count;
  }

  uint64_t reads = 0;

 private:
  uint64_t size_;
  std::map<uint64_t, Bytes> pieces_;
};

}  // namespace orvo::test
