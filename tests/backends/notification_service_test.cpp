#include "backends/notification_service.h"

#include <dlfcn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <glib-object.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "tests/support/notification_log.h"
#include "tests/support/scratch_dir.h"

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

// Counts the notification objects of the loaded libnotify as they are
// finalised (GObject counts instances only in debugging builds).
class FinalisedNotifications {
 public:
  FinalisedNotifications() {
    const auto type = reinterpret_cast<GType (*)()>(dlsym(RTLD_DEFAULT, "notify_notification_get_type"));
    class_ = G_OBJECT_CLASS(g_type_class_ref(type()));
    original_ = class_->finalize;
    class_->finalize = [](GObject* object) {
      ++count;
      original_(object);
    };
  }
  ~FinalisedNotifications() {
    class_->finalize = original_;
    g_type_class_unref(class_);
  }
  static inline int count = 0;

 private:
  GObjectClass* class_;
  static inline void (*original_)(GObject*) = nullptr;
};

// Runs the main loop, which delivers the server's signals, until `done`.
bool RunLoopUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 1000 && !done(); ++i) {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    g_usleep(10000);
  }
  return done();
}

TEST(NotificationService, BubbleObjects_ReleasedWhenClosedExpiredOrWithTheService) {
  auto service = std::make_unique<NotificationService>();
  ASSERT_TRUE(service->InitNotifications("Orvo_M"));
  FinalisedNotifications finalised;
  const NotificationHandle expiring = service->ShowNotification("a", "x", 1, 1, nullptr, "i");
  const NotificationHandle closed = service->ShowNotification("b", "x", 60, 1, nullptr, "i");
  ASSERT_NE(service->ShowNotification("c", "x", 60, 1, nullptr, "i"), nullptr);
  service->CloseNotification(closed);
  EXPECT_EQ(finalised.count, 1);
  // The recorder reports the first one expired after its second.
  EXPECT_TRUE(RunLoopUntil([&] { return finalised.count == 2; })) << finalised.count;
  service->CloseNotification(expiring);  // released already: nothing is sent
  const std::vector<NotificationRecord> records = NotificationLog().WaitForCount(4);
  EXPECT_EQ(finalised.count, 2);
  service.reset();
  EXPECT_EQ(finalised.count, 3) << "the open bubble goes with the service";
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[3].method, "CloseNotification");
  EXPECT_EQ(records[3].id, records[1].id);
}

// A server that announces "body-markup" parses bodies, so tag and path texts
// reach it escaped; another gets them as they are. Summaries never change.
TEST(NotificationService, BodyMarkupServer_GetsBodiesEscaped_OtherServerAsTheyAre) {
  const struct {
    std::string body, plain, markup;  // 8-bit; as the two servers receive it
  } rows[] = {
      {"Simon & Garfunkel \nThe Boxer \n<3 \n", "Simon & Garfunkel \nThe Boxer \n<3 \n",
       "Simon &amp; Garfunkel \nThe Boxer \n&lt;3 \n"},
      {"/music/R+B/'Caf\xE9' \"live\".mp3\n", "/music/R+B/'Caf\xC3\xA9' \"live\".mp3\n",
       "/music/R+B/&apos;Caf\xC3\xA9&apos; &quot;live&quot;.mp3\n"},
  };
  const NotificationLog log;
  // Each time from a process of its own, as a player meets one server.
  auto showAll = [&] {
    return test::RunInChild([&] {
      NotificationService service;
      bool shown = service.InitNotifications("Orvo_M");
      for (const auto& row : rows) {
        shown = service.ShowNotification("R&B <1>", row.body, 3, 1, nullptr, "i") && shown;
      }
      return shown;
    });
  };
  EXPECT_TRUE(showAll());  // to the test environment's recorder, which announces "body"
  test::ScratchDir dir;
  const std::string ready = dir.file("ready");
  const pid_t markupServer = fork();
  if (markupServer == 0) {
    execl("/usr/bin/python3", "/usr/bin/python3", ORVO_NOTIFY_RECORDER, log.Path().c_str(), ready.c_str(),
          "--capabilities", "body,body-markup", "--replace", static_cast<char*>(nullptr));
    _exit(127);
  }
  struct Reaper {
    pid_t pid;
    ~Reaper() {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
  } reaper{markupServer};
  ASSERT_TRUE(RunLoopUntil([&] { return test::Exists(ready); }));
  EXPECT_TRUE(showAll());

  const std::vector<NotificationRecord> records = log.WaitForCount(4);
  ASSERT_EQ(records.size(), 4u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(records[i].body, rows[i].plain);
    EXPECT_EQ(records[i + 2].body, rows[i].markup);
    EXPECT_EQ(records[i + 2].summary, "R&B <1>");
  }
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
                "unref 1\n"
                "unref 0\n",
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
