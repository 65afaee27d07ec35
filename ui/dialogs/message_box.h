#pragma once

#include <string>

namespace orvo {

// A small centred box with `text` and one OK button; blocks its caller until
// the button is pressed while the toolkit keeps dispatching events. Title and
// text are 8-bit texts. The window manager is offered no close function, so
// the box can only be answered.
void MessageBox(const std::string& title, const std::string& text);

}  // namespace orvo
