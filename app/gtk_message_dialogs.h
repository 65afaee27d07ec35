#pragma once

#include "app/message_dialog.h"

namespace orvo {

// The message dialog as a modal GtkMessageDialog without a parent window.
// It runs a nested main loop, so timers and playback go on while it is open.
class GtkMessageDialogs : public MessageDialogs {
 public:
  int ShowMessageDialog(const std::string& message, int messageType, int buttons,
                        const std::string& first, const std::string& second) override;
};

}  // namespace orvo
