#include "tests/support/notification_log.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_dir.h"

namespace orvo::test {
namespace {

TEST(ParseNotificationLine, RecorderLines_EveryFieldAndEscapeRead) {
  const auto record = ParseNotificationLine(
      R"({"method": "Notify", "app_name": "/opt/Orvo_M", "replaces_id": 0, "icon": "/i.svg", )"
      R"("summary": "Caf\u00e9 \"x\" M)" "\xC3\xBC" R"(nchen", "body": "a\nb\\c\t\u0001\u20ac", )"
      R"("urgency": 1, "expire_timeout": -1, "id": 42})");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->method, "Notify");
  EXPECT_EQ(record->appName, "/opt/Orvo_M");
  EXPECT_EQ(record->replacesId, 0);
  EXPECT_EQ(record->icon, "/i.svg");
  EXPECT_EQ(record->summary, "Caf\xC3\xA9 \"x\" M\xC3\xBCnchen");
  EXPECT_EQ(record->body, "a\nb\\c\t\x01\xE2\x82\xAC");
  EXPECT_EQ(record->urgency, 1);
  EXPECT_EQ(record->expireTimeout, -1);
  EXPECT_EQ(record->id, 42);

  EXPECT_FALSE(ParseNotificationLine(R"({"method":"Notify","urgency":null})")->urgency.has_value());
  const auto close = ParseNotificationLine(R"({"method": "CloseNotification", "id": 7})");
  ASSERT_TRUE(close);
  EXPECT_EQ(close->method, "CloseNotification");
  EXPECT_EQ(close->id, 7);
}

TEST(ParseNotificationLine, BrokenOrForeignLines_Rejected) {
  for (const char* line : {"", R"({"method": "Notify", "summary": "cut of)",
                           R"({"method": "Notify"} trailing)", R"({"method": "Other", "id": 1})",
                           R"({"method": "Notify", "id": -})", R"({"method": "Notify", "s": "\q"})",
                           R"({"method": "Notify", "s": "\u12"})", R"(["method", "Notify"])"}) {
    EXPECT_FALSE(ParseNotificationLine(line)) << line;
  }
}

TEST(NotificationLog, ReadAndWait_CompleteLinesOnlyFirstMatchWins) {
  ScratchDir dir;
  WriteBytes(dir.file("log"),
             "{\"method\": \"Notify\", \"summary\": \"Saved\", \"body\": \"first\", \"id\": 1}\n"
             "not json at all\n"
             "{\"method\": \"CloseNotification\", \"id\": 1}\n"
             "{\"method\": \"Notify\", \"summary\": \"Saved\", \"body\": \"second\", \"id\": 3}\n"
             "{\"method\": \"Notify\", \"summary\": \"half");
  const NotificationLog log(dir.file("log"));
  const std::vector<NotificationRecord> records = log.Read();
  ASSERT_EQ(records.size(), 3u);  // the unfinished last line is left out
  EXPECT_EQ(records[1].method, "CloseNotification");
  EXPECT_EQ(log.WaitForCount(4, std::chrono::milliseconds(50)).size(), 3u);
  EXPECT_TRUE(NotificationLog(dir.file("missing")).WaitForCount(1, std::chrono::milliseconds(20)).empty());
  EXPECT_EQ(log.WaitForSummary("Saved")->body, "first");
  EXPECT_FALSE(log.WaitForSummary("Saved ", std::chrono::milliseconds(20)));
  EXPECT_EQ(log.WaitFor([](const NotificationRecord& r) { return r.id == 3; })->body, "second");
}

}  // namespace
}  // namespace orvo::test
