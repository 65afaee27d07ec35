#pragma once

#include <cstdint>
#include <optional>

namespace orvo {

class ByteSource;

// Offset of the first byte of value 255 in the file, taken as the start of
// the first MPEG audio frame (tag bytes are not skipped); nullopt when the
// file holds no such byte.
std::optional<uint64_t> FindFrameStart(ByteSource& source);

// True for the one header fault the player reports: sample-rate index 3
// (bits 3-2 of byte 2) under MPEG version 1, 2 or 2.5 (bits 4-3 of byte 1
// other than 01). The reserved version passes with any index.
bool HasReservedSampleRate(const uint8_t header[4]);

}  // namespace orvo
