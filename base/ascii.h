#pragma once

#include <string>
#include <string_view>

namespace orvo {

// Case rules of the C locale: only the 26 ASCII letters have two cases, every
// other byte (UTF-8 and Latin-1 ones included) is compared as it is.
char AsciiLower(char c);
std::string AsciiLower(std::string text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// strcasecmp's order in the C locale (bytes compared unsigned), without its
// stop at a NUL byte.
bool LessIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace orvo
