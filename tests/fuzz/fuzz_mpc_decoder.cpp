// Arbitrary bytes as a .mpc file for the Musepack decoder, decoding into a scratch file.
#include <cstdio>
#include <unistd.h>

#include "backends/mpc_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FILE* output = std::tmpfile();
  if (output == nullptr || ftruncate(fileno(output), 0) != 0) return 0;
  orvo::MpcDecoder::StreamVersion(data, size);
  orvo::MpcDecoder::DecodeToWav(data, size, fileno(output));
  return 0;
}
