#pragma once

#include <string>
#include <vector>

#include "core/message_dialogs.h"
#include "core/notifier.h"
#include "core/player_view.h"

namespace orvo::test {

// Doubles that keep what they are asked. Bubbles: "summary|body|seconds", "@" when attached, " odd"
// without the usual urgency and icon; a bubble's handle is its number, from 1.
class RecordingNotifier : public Notifier {
 public:
  NotificationHandle ShowNotification(const std::string& summary, const std::string& body, int seconds,
                                      int urgency, GtkWidget* attach, const std::string& icon) override {
    shown.push_back(summary + "|" + body + "|" + std::to_string(seconds) + (attach ? "@" : "") +
                    (urgency == 1 && icon == kNotificationIcon ? "" : " odd"));
    return reinterpret_cast<NotificationHandle>(shown.size());
  }
  void CloseNotification(NotificationHandle handle) override { closed.push_back(reinterpret_cast<size_t>(handle)); }
  std::vector<std::string> shown;
  std::vector<size_t> closed;
};

class RecordingDialogs : public MessageDialogs {
 public:
  struct Shown {
    std::string message;
    MessageType type;
    ButtonsType buttons;
    std::string first;
  };
  MessageResponse ShowMessageDialog(const std::string& message, MessageType type, ButtonsType buttons,
                                    const std::string& first, const std::string&) override {
    shown.push_back({message, type, buttons, first});
    return answer;
  }
  std::vector<Shown> shown;
  MessageResponse answer = kResponseOk;
};

class RecordingView : public PlayerView {
 public:
  void SetDisplayText(const std::string& utf8) override { displays.push_back(utf8); }
  std::string DisplayText() const override { return displays.empty() ? "" : displays.back(); }
  void SetTooltip(const std::string& latin1) override { tooltip = latin1; }
  GtkWidget* WindowWidget() override { return reinterpret_cast<GtkWidget*>(this); }
  GtkWidget* NotificationAnchor() override { return reinterpret_cast<GtkWidget*>(&tooltip); }
  std::vector<std::string> displays;  // every text set, the last one shown
  std::string tooltip;
};

}  // namespace orvo::test
