#pragma once

#include <string>

namespace orvo {

// GtkMessageType and GtkButtonsType values the player uses.
enum MessageType { kMessageWarning = 1, kMessageQuestion = 2, kMessageError = 3 };
enum ButtonsType { kButtonsOk = 1, kButtonsYesNo = 4, kButtonsOkCancel = 5 };
// GtkResponseType values the player tests for.
enum { kResponseOk = -5, kResponseYes = -8 };

// The modal message dialog for questions, warnings and errors. `message` is a
// printf-style format whose "%s" take `first` and `second` in order; the
// arguments are only ever substituted as text, never read as formats.
class MessageDialogs {
 public:
  virtual ~MessageDialogs() = default;
  virtual int ShowMessageDialog(const std::string& message, int messageType, int buttons,
                                const std::string& first = std::string(),
                                const std::string& second = std::string()) = 0;
};

// The dialog text: `message` with its "%s" replaced by the two arguments and
// "%%" by "%"; any other "%" sequence is kept as written.
std::string FormatDialogText(const std::string& message, const std::string& first,
                             const std::string& second);

}  // namespace orvo
