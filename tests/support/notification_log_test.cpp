#include "tests/support/notification_log.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace orvo::test {
namespace {

TEST(ParseNotificationLine, RecorderNotifyLine_AllFields) {
  const auto record = ParseNotificationLine(
      R"({"method": "Notify", "app_name": "/opt/Orvo_M", "replaces_id": 0, "icon": "/i.svg", )"
      R"("summary": "Caf\u00e9 \"x\"", "body": "a\nb\\c\t\ud83c\udfb5", "urgency": 1, )"
      R"("expire_timeout": -1, "id": 42})");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->method, "Notify");
  EXPECT_EQ(record->appName, "/opt/Orvo_M");
  EXPECT_EQ(record->replacesId, 0);
  EXPECT_EQ(record->icon, "/i.svg");
  EXPECT_EQ(record->summary, "Caf\xC3\xA9 \"x\"");
  EXPECT_EQ(record->body, "a\nb\\c\t\xF0\x9F\x8E\xB5");
  EXPECT_EQ(record->urgency, 1);
  EXPECT_EQ(record->expireTimeout, -1);
  EXPECT_EQ(record->id, 42);
}

TEST(ParseNotificationLine, RawUtf8AndNullUrgency_Kept) {
  const auto record = ParseNotificationLine(
      "{\"method\":\"Notify\",\"summary\":\"M\xC3\xBCnchen\",\"urgency\":null,\"id\":3}");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->summary, "M\xC3\xBCnchen");
  EXPECT_FALSE(record->urgency.has_value());
  const auto close = ParseNotificationLine(R"({"method": "CloseNotification", "id": 7})");
  ASSERT_TRUE(close);
  EXPECT_EQ(close->method, "CloseNotification");
  EXPECT_EQ(close->id, 7);
}

TEST(ParseNotificationLine, BrokenOrForeignLines_Rejected) {
  EXPECT_FALSE(ParseNotificationLine(""));
  EXPECT_FALSE(ParseNotificationLine(R"({"method": "Notify", "summary": "cut of)"));
  EXPECT_FALSE(ParseNotificationLine(R"({"method": "Notify"} trailing)"));
  EXPECT_FALSE(ParseNotificationLine(R"({"method": "Other", "id": 1})"));
  EXPECT_FALSE(ParseNotificationLine(R"({"method": "Notify", "id": -})"));
  EXPECT_FALSE(ParseNotificationLine(R"({"method": "Notify", "summary": "\q"})"));
  EXPECT_FALSE(ParseNotificationLine(R"(["method", "Notify"])"));
}

TEST(NotificationLog, Read_SkipsUnfinishedLastLine) {
  TempDir dir;
  const std::string path = dir.Write(
      "log.jsonl",
      "{\"method\": \"Notify\", \"summary\": \"one\", \"id\": 1}\n"
      "not json at all\n"
      "{\"method\": \"CloseNotification\", \"id\": 1}\n"
      "{\"method\": \"Notify\", \"summary\": \"half");
  const std::vector<NotificationRecord> records = NotificationLog(path).Read();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].summary, "one");
  EXPECT_EQ(records[1].method, "CloseNotification");
}

TEST(NotificationLog, WaitForCount_TooFew_ReturnsWhatThereIs) {
  TempDir dir;
  const std::string path = dir.Write("log.jsonl", "{\"method\": \"Notify\", \"id\": 1}\n");
  EXPECT_EQ(NotificationLog(path).WaitForCount(2, std::chrono::milliseconds(50)).size(), 1u);
  EXPECT_TRUE(NotificationLog(dir.File("missing")).WaitForCount(1, std::chrono::milliseconds(20)).empty());
}

TEST(NotificationLog, WaitForSummary_FindsFirstNotifyWithThatSummary) {
  TempDir dir;
  const std::string path = dir.Write(
      "log.jsonl",
      "{\"method\": \"Notify\", \"summary\": \"current Playlist\", \"id\": 1}\n"
      "{\"method\": \"Notify\", \"summary\": \"Saved\", \"body\": \"first\", \"id\": 2}\n"
      "{\"method\": \"Notify\", \"summary\": \"Saved\", \"body\": \"second\", \"id\": 3}\n");
  const NotificationLog log(path);
  const auto saved = log.WaitForSummary("Saved");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->body, "first");
  EXPECT_FALSE(log.WaitForSummary("Saved ", std::chrono::milliseconds(20)));
  EXPECT_EQ(log.WaitFor([](const NotificationRecord& r) { return r.id == 3; })->body, "second");
}

}  // namespace
}  // namespace orvo::test
