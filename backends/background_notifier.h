#pragma once

#include <string>
#include <vector>

#include "backends/notification_service.h"
#include "base/background_task.h"
#include "core/notifier.h"

namespace orvo {

// Notifications whose library is loaded and initialised on a thread of its
// own, so that loading libnotify overlaps the start of the toolkit. Showing
// or closing a bubble first waits for that initialisation; both run on the
// caller's thread.
class BackgroundNotifier final : public Notifier {
 public:
  BackgroundNotifier() = default;
  explicit BackgroundNotifier(std::vector<std::string> libraryNames);
  ~BackgroundNotifier() override = default;
  BackgroundNotifier(const BackgroundNotifier&) = delete;
  BackgroundNotifier& operator=(const BackgroundNotifier&) = delete;

  // Starts NotificationService::InitNotifications with `appName`.
  void InitNotifications(std::string appName);

  NotificationHandle ShowNotification(const std::string& summary, const std::string& body,
                                      int seconds, int urgency, GtkWidget* attachWidget,
                                      const std::string& icon) override;
  void CloseNotification(NotificationHandle handle) override;

 private:
  NotificationService& Ready();

  // The task is declared after the service, so that it is destroyed first:
  // its destructor waits for the initialisation before the service goes.
  NotificationService service_;
  BackgroundTask initialising_;
};

}  // namespace orvo
