#pragma once

#include <string>
#include <string_view>

namespace orvo {

// Converts the program's 8-bit ISO-8859-1 text to UTF-8 for GTK and libnotify.
// Every byte is one Latin-1 code point, so any input converts (there is no
// invalid sequence); bytes from 0x80 up become two bytes.
std::string ToUtf8(std::string_view latin1);

// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF), as D-Bus and GTK demand.
bool IsValidUtf8(std::string_view text);

}  // namespace orvo
