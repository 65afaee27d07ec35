#include "core/message_dialogs.h"

namespace orvo {

std::string FormatDialogText(const std::string& message, const std::string& first,
                             const std::string& second) {
  const std::string* arguments[] = {&first, &second};
  std::size_t nextArgument = 0;
  std::string text;
  text.reserve(message.size() + first.size() + second.size());
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '%' && i + 1 < message.size()) {
      if (message[i + 1] == 's') {
        if (nextArgument < 2) text += *arguments[nextArgument++];
        ++i;
        continue;
      }
      if (message[i + 1] == '%') {
        text += '%';
        ++i;
        continue;
      }
    }
    text += message[i];
  }
  return text;
}

}  // namespace orvo
