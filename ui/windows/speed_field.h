#pragma once

#include <string_view>

namespace orvo {

// The number typed into the title-speed field: leading blanks and tabs are
// skipped, one sign is taken, "$" introduces base 16 and "%" base 2, anything
// else is base 10; reading stops at the first character that does not fit
// the base, and a text without digits gives 0. Values beyond the int range
// saturate. No range check: the settings file clamps to 1..10 when written.
int ParseSpeedField(std::string_view text);

}  // namespace orvo
