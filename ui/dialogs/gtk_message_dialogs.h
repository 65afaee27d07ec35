#pragma once

#include "core/message_dialogs.h"

namespace orvo {

// The message dialog as a modal GtkMessageDialog without a parent window.
// It runs a nested main loop, so timers and playback go on while it is open.
class GtkMessageDialogs : public MessageDialogs {
 public:
  MessageResponse ShowMessageDialog(const std::string& message, MessageType type,
                                    ButtonsType buttons, const std::string& first,
                                    const std::string& second) override;
};

}  // namespace orvo
