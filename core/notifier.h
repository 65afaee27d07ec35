#pragma once

#include <string>

typedef struct _GtkWidget GtkWidget;

namespace orvo {

// A shown desktop notification, owned by the notification library; callers
// keep it only to close the bubble later. nullptr means "none".
using NotificationHandle = void*;

inline constexpr const char* kNotificationIcon =
    "/usr/share/icons/gnome/scalable/mimetypes/audio-x-generic.svg";

// Desktop notification bubbles. Texts are 8-bit ISO-8859-1 and converted to
// UTF-8 by the implementation. Every operation does nothing when no
// notification library is available.
class Notifier {
 public:
  virtual ~Notifier() = default;
  // `attachWidget` is the widget the bubble points at, nullptr for a
  // free-standing bubble.
  virtual NotificationHandle ShowNotification(const std::string& summary, const std::string& body,
                                              int seconds, int urgency, GtkWidget* attachWidget,
                                              const std::string& icon) = 0;
  virtual void CloseNotification(NotificationHandle handle) = 0;
};

}  // namespace orvo
