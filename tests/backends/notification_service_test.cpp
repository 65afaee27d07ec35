#include "backends/notification_service.h"

#include <gtest/gtest.h>

#include "backends/background_notifier.h"
#include "tests/support/notification_log.h"

namespace orvo {
namespace {

// Through the real libnotify, loaded on a thread of its own as at start-up,
// to the recorder of the test session bus: 8-bit texts arrive as UTF-8, the
// first bubble waits for the loading, and only a bubble of this service is
// closed.
TEST(NotificationService, ShowAndClose_ReachTheDaemonAsSent) {
  BackgroundNotifier notifier;
  notifier.InitNotifications("/home/jos\xE9/Orvo_M");
  const NotificationHandle shown =
      notifier.ShowNotification("Now playing song 2 of 7", "Caf\xE9\n", 8, 1, nullptr, kNotificationIcon);
  notifier.ShowNotification("Saved", "x", 3, 2, nullptr, "i.svg");
  int foreign = 0;
  notifier.CloseNotification(&foreign);  // would crash inside libnotify
  notifier.CloseNotification(shown);
  std::string seen;
  for (const test::NotificationRecord& r : test::NotificationLog().WaitForCount(3)) {
    seen += r.method + "|" + r.appName + "|" + r.summary + "|" + r.body + "|" + r.icon + "|" + std::to_string(r.id) +
            "|" + std::to_string(r.expireTimeout) + "|" + std::to_string(r.urgency.value_or(-1)) + "\n";
  }
  EXPECT_EQ(seen, "Notify|/home/jos\xC3\xA9/Orvo_M|Now playing song 2 of 7|Caf\xC3\xA9\n|" + std::string(kNotificationIcon) +
                      "|1|8000|1\nNotify|/home/jos\xC3\xA9/Orvo_M|Saved|x|i.svg|2|3000|2\nCloseNotification|||||1|0|-1\n");
}

// The first library of the list that loads is used; without one, nothing is
// shown and nothing fails.
TEST(NotificationService, Libraries_FirstThatLoadsOrNone) {
  NotificationService none({"libnotify-missing.so.1", "/nonexistent/libnotify.so"});
  EXPECT_FALSE(none.InitNotifications("Orvo_M"));
  EXPECT_EQ(none.ShowNotification("current Playlist", "x", 3, 1, nullptr, kNotificationIcon), nullptr);
  none.CloseNotification(nullptr);
  NotificationService current({"libnotify.so.1", "libnotify.so.4"});  // where no development package is
  EXPECT_TRUE(current.InitNotifications("Orvo_M"));
  EXPECT_EQ(current.LoadedLibrary() + (current.TakesAttachWidget() ? " with widget" : ""), "libnotify.so.4");
}

}  // namespace
}  // namespace orvo
