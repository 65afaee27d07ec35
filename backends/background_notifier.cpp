#include "backends/background_notifier.h"

#include <utility>

namespace orvo {

BackgroundNotifier::BackgroundNotifier(std::vector<std::string> libraryNames)
    : service_(std::move(libraryNames)) {}

void BackgroundNotifier::InitNotifications(std::string appName) {
  initialising_.Start([service = &service_, appName = std::move(appName)] {
    (void)service->InitNotifications(appName);  // without a library every bubble is skipped
  });
}

NotificationService& BackgroundNotifier::Ready() {
  initialising_.Wait();
  return service_;
}

NotificationHandle BackgroundNotifier::ShowNotification(const std::string& summary,
                                                        const std::string& body, int seconds,
                                                        int urgency, GtkWidget* attachWidget,
                                                        const std::string& icon) {
  return Ready().ShowNotification(summary, body, seconds, urgency, attachWidget, icon);
}

void BackgroundNotifier::CloseNotification(NotificationHandle handle) {
  Ready().CloseNotification(handle);
}

}  // namespace orvo
