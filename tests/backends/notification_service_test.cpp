#include "backends/notification_service.h"

#include <dlfcn.h>
#include <glib-object.h>
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "tests/support/notification_log.h"

namespace orvo {
namespace {

int finalised = 0;
void (*finalize)(GObject*) = nullptr;

// The bubble objects of the real libnotify, counted as they are finalised: one goes when closed,
// one when the recorder reports it expired (after its second), the last with the service.
TEST(NotificationService, BubbleObjects_ReleasedWhenClosedExpiredOrWithTheService) {
  auto service = std::make_unique<NotificationService>();
  ASSERT_TRUE(service->InitNotifications("Orvo_M"));
  const auto type = reinterpret_cast<GType (*)()>(dlsym(RTLD_DEFAULT, "notify_notification_get_type"));
  GObjectClass* objects = G_OBJECT_CLASS(g_type_class_ref(type()));
  finalize = std::exchange(objects->finalize, [](GObject* object) { ++finalised, finalize(object); });
  const NotificationHandle expiring = service->ShowNotification("a", "x", 1, 1, nullptr, "i");
  const NotificationHandle closed = service->ShowNotification("b", "x", 60, 1, nullptr, "i");
  ASSERT_NE(service->ShowNotification("c", "x", 60, 1, nullptr, "i"), nullptr);
  service->CloseNotification(closed);
  EXPECT_EQ(finalised, 1);
  for (int i = 0; i < 1000 && finalised < 2; ++i, g_usleep(10000)) {
    while (g_main_context_iteration(nullptr, FALSE)) continue;
  }
  EXPECT_EQ(finalised, 2);
  service->CloseNotification(expiring);  // released already: nothing is sent
  const std::vector<std::string> calls = test::NotificationCalls(5, 2);
  service.reset();
  EXPECT_EQ(finalised, 3);
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(test::Field(calls[3], "method") + test::Field(calls[3], "id"),
            "\"CloseNotification\"" + test::Field(calls[1], "id"));
  objects->finalize = finalize;
}

}  // namespace
}  // namespace orvo
