#pragma once

// Builders for made-up music files.

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvo::test {

using Bytes = std::vector<uint8_t>;

inline Bytes B(std::string_view text) { return Bytes(text.begin(), text.end()); }
inline Bytes Zeros(size_t n) { return Bytes(n, 0); }
inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A valid MPEG-1 frame header followed by zero bytes, where an ID3v2 walk that reaches it stops.
inline Bytes Audio() { return Bytes{255, 251, 144, 100} + Zeros(60); }

inline Bytes Id3v2Header(uint8_t major, uint8_t flags = 0) {
  return B("ID3") + Bytes{major, 0, flags, 0, 0, 0x7F, 0x7F};
}

inline Bytes BigEndian(uint64_t value, int count) {
  Bytes out;
  for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
  return out;
}

// Frames whose size counts the encoding byte and `text`.
inline Bytes FrameV3(std::string_view id, std::string_view text, uint8_t encoding = 0) {
  return B(id) + BigEndian(text.size() + 1, 4) + Bytes{0, 0, encoding} + B(text);
}
inline Bytes FrameV4(std::string_view id, std::string_view text) {
  const size_t n = text.size() + 1;
  return B(id) + Bytes{uint8_t(n >> 21 & 127), uint8_t(n >> 14 & 127), uint8_t(n >> 7 & 127),
                       uint8_t(n & 127), 0, 0, 0} + B(text);
}
inline Bytes FrameV2(std::string_view id, std::string_view text) {
  return B(id) + BigEndian(text.size() + 1, 3) + Bytes{0} + B(text);
}

// 128 bytes: "TAG", three 30-byte fields, year, comment and genre.
inline Bytes Id3v1(std::string_view title, std::string_view artist, std::string_view album,
                   uint8_t genre = 255) {
  Bytes tag = B("TAG");
  for (std::string_view field : {title, artist, album}) tag = tag + B(field) + Zeros(30 - field.size());
  return tag + B("1999Comment") + Zeros(23) + Bytes{genre};
}

}  // namespace orvo::test
