#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvo {

// Decodes Musepack (stream versions 7 and 8) with libmpcdec into 16-bit PCM,
// piece by piece. The player hands the result to libxine as a WAV file,
// because libxine opens no SV8 file and drops the end of SV7 files.
class MpcDecoder {
 public:
  MpcDecoder();
  ~MpcDecoder();
  MpcDecoder(const MpcDecoder&) = delete;
  MpcDecoder& operator=(const MpcDecoder&) = delete;

  // 7 or 8 when the bytes start with a Musepack SV7 ("MP+") or SV8 ("MPCK")
  // header, possibly behind an ID3v2 tag; 0 otherwise.
  static int StreamVersion(const uint8_t* data, size_t size);
  // Whether the player treats the regular file open as `fd` as Musepack: by
  // its content, or by its `path` ending in ".mpc", ".mp+" or ".mpp" (any
  // case). Reads with pread, so the descriptor's offset stays.
  static bool IsMusepackFile(int fd, const std::string& path);

  // 44-byte header of a PCM WAV file with 16-bit samples.
  static std::vector<uint8_t> WavHeader(uint32_t sampleRate, uint32_t channels,
                                        uint64_t frames);

  // Decodes a whole Musepack stream held in memory and writes it as a WAV
  // file to the descriptor `fd` (which must be seekable; the header is
  // completed once the length is known). False when libmpcdec cannot read
  // the stream, it holds no sound, or writing fails.
  static bool DecodeToWav(const uint8_t* data, size_t size, int fd);

  // Prepares decoding of the stream held in `data` (which must outlive the
  // decoder), or of the regular file open as `fd` (read with pread; it must
  // stay open). False when libmpcdec finds no stream header it can decode
  // into at most two channels.
  bool Open(const uint8_t* data, size_t size);
  bool Open(int fd);
  uint32_t SampleRate() const;
  uint32_t Channels() const;
  // Frames (samples per channel) the stream header announces, at most as
  // many as a WAV file holds.
  uint64_t AnnouncedFrames() const;
  // Decodes at least `frames` more frames, or up to the end, and appends
  // them to `pcm` as interleaved little-endian 16-bit samples. Returns the
  // frames added: 0 once the stream has ended, is damaged, or has filled a
  // WAV file.
  size_t Decode(size_t frames, std::vector<uint8_t>& pcm);

 private:
  struct Stream;
  bool Start();

  std::unique_ptr<Stream> stream_;
};

}  // namespace orvo
