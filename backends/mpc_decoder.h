#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvo {

class TemporaryFile;

// Decodes Musepack (stream versions 7 and 8) with libmpcdec into 16-bit PCM.
// The player hands the result to libxine as a WAV file, because libxine opens
// no SV8 file and drops the end of SV7 files.
class MpcDecoder {
 public:
  // 7 or 8 when the bytes start with a Musepack SV7 ("MP+") or SV8 ("MPCK")
  // header, possibly behind an ID3v2 tag; 0 otherwise.
  static int StreamVersion(const uint8_t* data, size_t size);
  // Whether the player treats the file as Musepack: by its content, or by
  // the name ending in ".mpc", ".mp+" or ".mpp" (any case).
  static bool IsMusepackFile(const std::string& path);

  // 44-byte header of a PCM WAV file with 16-bit samples.
  static std::vector<uint8_t> WavHeader(uint32_t sampleRate, uint32_t channels,
                                        uint64_t frames);

  // Decodes a whole Musepack stream held in memory and writes it as a WAV
  // file to the descriptor `fd` (which must be seekable; the header is
  // completed once the length is known). False when libmpcdec cannot read
  // the stream, it holds no sound, or writing fails.
  static bool DecodeToWav(const uint8_t* data, size_t size, int fd);
  // Reads `mpcPath` and decodes it into `wav`, a newly created private
  // temporary file. False (and no file left) when that fails.
  static bool DecodeFileToTemporaryWav(const std::string& mpcPath, TemporaryFile& wav);
};

}  // namespace orvo
