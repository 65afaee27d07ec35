#pragma once

#include <string>
#include <string_view>

namespace orvo {

// Converts an 8-bit ISO-8859-1 text to UTF-8: bytes below 0x80 are copied,
// every other byte becomes the two-byte sequence of the same code point.
std::string ToUtf8(std::string_view latin1);

}  // namespace orvo
