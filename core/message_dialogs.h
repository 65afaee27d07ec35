#pragma once

#include <string>

namespace orvo {

// What a message dialog is about, which buttons it offers and what the user
// answered. The toolkit layer maps them onto its own dialog types.
enum MessageType { kMessageWarning, kMessageQuestion, kMessageError };
enum ButtonsType { kButtonsOk, kButtonsYesNo, kButtonsOkCancel };
// kResponseNone: the dialog was closed without pressing a button.
enum MessageResponse { kResponseNone, kResponseOk, kResponseCancel, kResponseYes, kResponseNo };

// The modal message dialog for questions, warnings and errors. `message` is a
// printf-style format whose "%s" take `first` and `second` in order; the
// arguments are only ever substituted as text, never read as formats.
class MessageDialogs {
 public:
  virtual ~MessageDialogs() = default;
  virtual MessageResponse ShowMessageDialog(const std::string& message, MessageType type,
                                            ButtonsType buttons,
                                            const std::string& first = std::string(),
                                            const std::string& second = std::string()) = 0;
};

// The dialog text: `message` with its "%s" replaced by the two arguments and
// "%%" by "%"; any other "%" sequence is kept as written.
std::string FormatDialogText(const std::string& message, const std::string& first,
                             const std::string& second);

}  // namespace orvo
