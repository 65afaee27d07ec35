#pragma once

// Doubles of the core interfaces that keep what they are asked to do.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/message_dialogs.h"
#include "core/notifier.h"
#include "core/player_view.h"

namespace orvo::test {

struct Bubble {
  std::string summary, body;
  int seconds, urgency;
  void* attach;
  std::string icon;
  NotificationHandle handle;
  // "summary|body|seconds", with "@" for an attached bubble and " odd" for one without the
  // player's normal urgency and icon.
  std::string str() const {
    return summary + "|" + body + "|" + std::to_string(seconds) + (attach ? "@" : "") +
           (urgency == 1 && icon == kNotificationIcon ? "" : " odd");
  }
};

class RecordingNotifier : public Notifier {
 public:
  NotificationHandle ShowNotification(const std::string& summary, const std::string& body,
                                      int seconds, int urgency, GtkWidget* attach,
                                      const std::string& icon) override {
    auto* handle = reinterpret_cast<NotificationHandle>(std::uintptr_t{shown.size() + 1});
    shown.push_back({summary, body, seconds, urgency, attach, icon, handle});
    return handle;
  }
  void CloseNotification(NotificationHandle handle) override { closed.push_back(handle); }
  int Count(const std::string& body) const {
    int n = 0;
    for (const Bubble& b : shown) n += b.body == body;
    return n;
  }

  std::vector<Bubble> shown;
  std::vector<NotificationHandle> closed;
};

// Keeps every message dialog and gives `answer`, after running `whileOpen` as a modal
// dialog's nested loop would.
class RecordingDialogs : public MessageDialogs {
 public:
  struct Shown {
    std::string message;
    MessageType type;
    ButtonsType buttons;
    std::string first;
  };
  MessageResponse ShowMessageDialog(const std::string& message, MessageType type,
                                    ButtonsType buttons, const std::string& first,
                                    const std::string&) override {
    shown.push_back({message, type, buttons, first});
    if (whileOpen) whileOpen();
    return answer;
  }

  std::vector<Shown> shown;
  MessageResponse answer = kResponseOk;
  std::function<void()> whileOpen;
};

class RecordingView : public PlayerView {
 public:
  void SetDisplayText(const std::string& utf8) override { displays.push_back(display = utf8); }
  std::string DisplayText() const override { return display; }
  void SetTooltip(const std::string& latin1) override { tooltip = latin1; }
  void QueueRedraw() override { ++redraws; }
  GtkWidget* WindowWidget() override { return reinterpret_cast<GtkWidget*>(&window_); }
  GtkWidget* NotificationAnchor() override { return reinterpret_cast<GtkWidget*>(&anchor_); }

  std::string display, tooltip;
  std::vector<std::string> displays;  // every text set, in order
  int redraws = 0;

 private:
  int window_ = 0, anchor_ = 0;
};

}  // namespace orvo::test
