#pragma once

// Builders for made-up music files.

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace orvo::test {

using Bytes = std::vector<uint8_t>;

inline Bytes B(std::string_view text) { return Bytes(text.begin(), text.end()); }
inline Bytes Zeros(size_t n) { return Bytes(n, 0); }
inline Bytes operator+(Bytes a, const Bytes& b) { return a.insert(a.end(), b.begin(), b.end()), a; }
inline Bytes BigEndian(uint64_t value, int count) {
  Bytes out;
  for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
  return out;
}

// A valid MPEG-1 frame header and zero bytes, where an ID3v2 walk that reaches it stops.
inline Bytes Audio() { return Bytes{255, 251, 144, 100} + Zeros(60); }
inline Bytes Id3v2Header(uint8_t major, uint8_t flags = 0) { return B("ID3") + Bytes{major, 0, flags, 0, 0, 127, 127}; }
// Frames whose size counts the encoding byte and `text`.
inline Bytes FrameV3(std::string_view id, std::string_view text, uint8_t encoding = 0) {
  return B(id) + BigEndian(text.size() + 1, 4) + Bytes{0, 0, encoding} + B(text);
}
inline Bytes FrameV2(std::string_view id, std::string_view text) { return B(id) + BigEndian(text.size() + 1, 3) + Bytes{0} + B(text); }
// 128 bytes: "TAG", three 30-byte fields, year, comment and genre.
inline Bytes Id3v1(std::string_view title, std::string_view artist, std::string_view album, uint8_t genre = 255) {
  Bytes tag = B("TAG");
  for (std::string_view field : {title, artist, album}) tag = tag + B(field) + Zeros(30 - field.size());
  return tag + B("1999Comment") + Zeros(23) + Bytes{genre};
}

// A file of `size` bytes, sparse where `pieces` leave it zero; false where none can be made.
inline bool WriteSparse(const std::string& path, uint64_t size, const std::map<uint64_t, Bytes>& pieces) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  bool written = ftruncate(fd, off_t(size)) == 0;  // the pieces go in after it
  for (const auto& [at, bytes] : pieces) written = written && pwrite(fd, bytes.data(), bytes.size(), off_t(at)) == ssize_t(bytes.size());
  return close(fd) == 0 && written;
}

}  // namespace orvo::test
