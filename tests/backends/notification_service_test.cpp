#include "backends/notification_service.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/support/notification_log.h"

namespace orvo {
namespace {

using test::NotificationLog;
using test::NotificationRecord;

// These run against the real libnotify and the session bus of the test
// environment, whose recorder writes every call it receives.

TEST(NotificationService, ShowNotification_Latin1TextsAndProgramPath_ReachDaemonAsUtf8) {
  NotificationService service;
  ASSERT_TRUE(service.InitNotifications("/home/jos\xE9/Orvo_M"));
  const NotificationHandle handle =
      service.ShowNotification("Now playing song 2 of 7", "Ren\xE9 - Caf\xE9 au lait\n", 5, 1,
                               nullptr, kNotificationIcon);
  EXPECT_NE(handle, nullptr);

  const std::vector<NotificationRecord> records = NotificationLog().WaitForCount(1);
  ASSERT_EQ(records.size(), 1u);
  const NotificationRecord& notify = records[0];
  EXPECT_EQ(notify.method, "Notify");
  EXPECT_EQ(notify.appName, "/home/jos\xC3\xA9/Orvo_M");
  EXPECT_EQ(notify.summary, "Now playing song 2 of 7");
  EXPECT_EQ(notify.body, "Ren\xC3\xA9 - Caf\xC3\xA9 au lait\n");
  EXPECT_EQ(notify.icon, kNotificationIcon);
  EXPECT_EQ(notify.expireTimeout, 5000);
  EXPECT_EQ(notify.urgency, 1);
  EXPECT_EQ(notify.replacesId, 0);
}

TEST(NotificationService, CloseNotification_ShownBubbleClosesThatId_ForeignPointerIgnored) {
  NotificationService service;
  ASSERT_TRUE(service.InitNotifications("Orvo_M"));
  NotificationHandle first =
      service.ShowNotification("current Playlist", "there are  3 files in the current Playlist",
                               3, 1, nullptr, kNotificationIcon);
  NotificationHandle second = service.ShowNotification(
      "Saved", "there were 3 files saved in the Playlist", 8, 2, nullptr, kNotificationIcon);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  ASSERT_EQ(NotificationLog().WaitForCount(2).size(), 2u);

  int notANotification = 0;
  service.CloseNotification(&notANotification);  // would crash inside libnotify
  service.CloseNotification(first);
  const std::vector<NotificationRecord> records = NotificationLog().WaitForCount(3);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1].expireTimeout, 8000);
  EXPECT_EQ(records[1].urgency, 2);
  EXPECT_EQ(records[2].method, "CloseNotification");
  EXPECT_EQ(records[2].id, records[0].id);
  EXPECT_NE(records[2].id, records[1].id);
}

TEST(NotificationService, DefaultNames_OnlyCurrentSonameInstalled_FallsBackToIt) {
  // Distributions without the development package ship only libnotify.so.4;
  // the historic names alone would never find it.
  NotificationService service({"libnotify.so.1", "libnotify.so.4"});
  EXPECT_TRUE(service.InitNotifications("Orvo_M"));
  EXPECT_EQ(service.LoadedLibrary(), "libnotify.so.4");
  // libnotify 0.7 and later take no attach widget.
  EXPECT_FALSE(service.TakesAttachWidget());
  EXPECT_EQ(NotificationService::DefaultLibraryNames(),
            (std::vector<std::string>{"libnotify.so.1", "libnotify.so", "libnotify.so.4"}));
}

TEST(NotificationService, NoLibrary_EveryOperationDoesNothing) {
  NotificationService missing({"libnotify-missing.so.1", "/nonexistent/libnotify.so"});
  EXPECT_FALSE(missing.InitNotifications("Orvo_M"));
  EXPECT_EQ(missing.LoadedLibrary(), "");
  EXPECT_EQ(missing.ShowNotification("current Playlist", "x", 3, 1, nullptr, kNotificationIcon),
            nullptr);
  missing.CloseNotification(nullptr);
  int notANotification = 0;
  missing.CloseNotification(&notANotification);

  // A service that never initialised loads nothing either.
  NotificationService uninitialised;
  EXPECT_EQ(uninitialised.ShowNotification("early", "x", 3, 1, nullptr, kNotificationIcon),
            nullptr);

  // A working service afterwards: its bubble is the only call the daemon saw.
  NotificationService working;
  ASSERT_TRUE(working.InitNotifications("Orvo_M"));
  ASSERT_NE(working.ShowNotification("marker", "x", 3, 1, nullptr, kNotificationIcon), nullptr);
  const std::vector<NotificationRecord> records = NotificationLog().WaitForCount(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].summary, "marker");
}

// The stand-in libraries record their calls; the service loaded them with
// RTLD_GLOBAL, so the test finds the recording through the same name.
std::string FakeLog(const char* library) {
  void* handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
  if (handle == nullptr) return "<not loaded>";
  auto log = reinterpret_cast<const char* (*)()>(dlsym(handle, "fake_notify_log"));
  std::string text = log != nullptr ? log() : "<no log>";
  dlclose(handle);
  return text;
}

TEST(NotificationService, OldLibnotify_GetsAttachWidgetSaturatedTimeAndObjectsAreReleased) {
  int widget = 0;
  {
    NotificationService service({"libnotify-missing.so.1", FAKE_NOTIFY_OLD});
    ASSERT_TRUE(service.InitNotifications("Orvo_M"));
    EXPECT_EQ(service.LoadedLibrary(), FAKE_NOTIFY_OLD);
    EXPECT_TRUE(service.TakesAttachWidget());
    NotificationHandle first =
        service.ShowNotification("Found files", "search has found 4 files", 3, 1,
                                 reinterpret_cast<GtkWidget*>(&widget), "\xE9.svg");
    // A huge display time saturates instead of overflowing.
    NotificationHandle second = service.ShowNotification("x", "y", 3000000, 1, nullptr, "i");
    service.CloseNotification(second);
    EXPECT_NE(first, nullptr);
  }
  char expected[512];
  std::snprintf(expected, sizeof expected,
                "init Orvo_M\n"
                "new 0 [Found files] [search has found 4 files] [\xC3\xA9.svg]\n"
                "widget %p\n"
                "timeout 0 3000\n"
                "urgency 0 1\n"
                "show 0 error=(nil)\n"
                "new 1 [x] [y] [i]\n"
                "widget (nil)\n"
                "timeout 1 2147483647\n"
                "urgency 1 1\n"
                "show 1 error=(nil)\n"
                "close 1 error=(nil)\n"
                "unref 0\n"
                "unref 1\n",
                static_cast<void*>(&widget));
  EXPECT_EQ(FakeLog(FAKE_NOTIFY_OLD), expected);
}

TEST(NotificationService, MissingFunctions_SkipOnlyTheirSteps) {
  NotificationService service({FAKE_NOTIFY_PARTIAL});
  ASSERT_TRUE(service.InitNotifications("Orvo_M"));
  EXPECT_FALSE(service.TakesAttachWidget());
  NotificationHandle handle = service.ShowNotification("s", "b", 3, 1, nullptr, "i");
  EXPECT_NE(handle, nullptr);
  service.CloseNotification(handle);
  EXPECT_EQ(FakeLog(FAKE_NOTIFY_PARTIAL),
            "init Orvo_M\n"
            "new 0 [s] [b] [i]\n"
            "show 0 error=(nil)\n");
}

}  // namespace
}  // namespace orvo
