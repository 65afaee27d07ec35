#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/message_dialogs.h"
#include "core/notifier.h"

namespace orvo::test {

struct Bubble {
  std::string summary;
  std::string body;
  int seconds;
  int urgency;
  void* attach;
  std::string icon;
  NotificationHandle handle;
};

// Keeps every bubble it is asked to show and every one it is asked to close.
class RecordingNotifier : public Notifier {
 public:
  NotificationHandle ShowNotification(const std::string& summary, const std::string& body, int seconds,
                                      int urgency, GtkWidget* attachWidget, const std::string& icon) override {
    auto* handle = reinterpret_cast<NotificationHandle>(static_cast<std::uintptr_t>(shown.size() + 1));
    shown.push_back({summary, body, seconds, urgency, attachWidget, icon, handle});
    return handle;
  }
  void CloseNotification(NotificationHandle handle) override { closed.push_back(handle); }
  int CountBody(const std::string& body) const {
    return static_cast<int>(
        std::count_if(shown.begin(), shown.end(), [&](const Bubble& b) { return b.body == body; }));
  }

  std::vector<Bubble> shown;
  std::vector<NotificationHandle> closed;
};

// Keeps every message dialog and gives `answer`.
class RecordingDialogs : public MessageDialogs {
 public:
  struct Shown {
    std::string message;
    int type;
    int buttons;
    std::string first;
  };
  MessageResponse ShowMessageDialog(const std::string& message, MessageType messageType,
                                    ButtonsType buttons, const std::string& first,
                                    const std::string&) override {
    shown.push_back({message, messageType, buttons, first});
    if (whileOpen) whileOpen();
    return answer;
  }

  std::vector<Shown> shown;
  MessageResponse answer = kResponseOk;
  // Runs while the dialog is "open", nested like a modal dialog's loop.
  std::function<void()> whileOpen;
};

}  // namespace orvo::test
