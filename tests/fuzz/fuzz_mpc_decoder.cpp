// Feeds arbitrary bytes to the Musepack decoder as if they were a .mpc file;
// the decoded WAV goes to an anonymous temporary file.
#include <cstdint>
#include <cstdio>
#include <unistd.h>

#include "backends/mpc_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FILE* output = std::tmpfile();
  if (output == nullptr) return 0;
  int fd = fileno(output);
  if (ftruncate(fd, 0) != 0) return 0;
  orvo::MpcDecoder::StreamVersion(data, size);
  orvo::MpcDecoder::DecodeToWav(data, size, fd);
  return 0;
}
