// Checks the environment scripts/testenv.sh --all gives every test: a
// private X server with an RGBA visual and a tray, a session bus whose
// notification recorder writes each call exactly, and a PulseAudio null sink.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
// After gtest: Xlib's macros (None, Bool) clash with its names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <string>

#include "tests/support/notification_log.h"
#include "tests/support/running_program.h"

namespace orvo::test {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// Runs a program to its end and returns its output.
std::string RunToEnd(const std::string& executable, const std::vector<std::string>& args,
                int expectedStatus = 0) {
  RunningProgram program(executable, args);
  EXPECT_EQ(program.WaitForExit(std::chrono::seconds(20)), expectedStatus) << executable;
  return program.Output();
}

TEST(TestEnv, NotifySend_RecordedExactly) {
  RunToEnd("/usr/bin/notify-send",
      {"-a", "probe", "-u", "critical", "-t", "4321", "-i", "/usr/share/icons/x y.svg",
       "Summary \xC3\xA9 \"quoted\"", "Body line 1\nline 2 & <b>"});
  const std::vector<NotificationRecord> records = NotificationLog().WaitForCount(1);
  ASSERT_EQ(records.size(), 1u);
  const NotificationRecord& r = records[0];
  EXPECT_EQ(r.method, "Notify");
  EXPECT_EQ(r.appName, "probe");
  EXPECT_EQ(r.replacesId, 0);
  EXPECT_EQ(r.icon, "/usr/share/icons/x y.svg");
  EXPECT_EQ(r.summary, "Summary \xC3\xA9 \"quoted\"");
  EXPECT_EQ(r.body, "Body line 1\nline 2 & <b>");
  EXPECT_EQ(r.urgency, 2);
  EXPECT_EQ(r.expireTimeout, 4321);
  EXPECT_GT(r.id, 0);
}

TEST(TestEnv, NotifyAndClose_IdsIncreaseAndCloseRecorded) {
  const std::string bus = "org.freedesktop.Notifications";
  const std::string path = "/org/freedesktop/Notifications";
  auto notify = [&](const std::string& summary) {
    return RunToEnd("/usr/bin/gdbus",
               {"call", "--session", "--dest", bus, "--object-path", path, "--method",
                bus + ".Notify", "--", "app", "0", "", summary, "body", "[]", "{}", "-1"});
  };
  const std::string first = notify("one");
  const std::string second = notify("two");
  EXPECT_EQ(first, "(uint32 1,)\n");
  EXPECT_EQ(second, "(uint32 2,)\n");
  RunToEnd("/usr/bin/gdbus", {"call", "--session", "--dest", bus, "--object-path", path, "--method",
                         bus + ".CloseNotification", "1"});
  const std::vector<NotificationRecord> records = NotificationLog().WaitForCount(3);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].summary, "one");
  EXPECT_FALSE(records[0].urgency.has_value());  // no urgency hint was sent
  EXPECT_EQ(records[0].expireTimeout, -1);
  EXPECT_EQ(records[1].id, 2);
  EXPECT_EQ(records[2].method, "CloseNotification");
  EXPECT_EQ(records[2].id, 1);
}

TEST(TestEnv, Display_AnswersWithCompositeRgbaVisualAndTray) {
  ASSERT_FALSE(Env("DISPLAY").empty());
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  int opcode = 0, event = 0, error = 0;
  EXPECT_TRUE(XQueryExtension(display, "Composite", &opcode, &event, &error));
  XVisualInfo rgba{};
  EXPECT_TRUE(XMatchVisualInfo(display, DefaultScreen(display), 32, TrueColor, &rgba));
  EXPECT_EQ(DisplayWidth(display, DefaultScreen(display)), 1024);
  EXPECT_EQ(DisplayHeight(display, DefaultScreen(display)), 768);
  const Atom tray = XInternAtom(display, "_NET_SYSTEM_TRAY_S0", False);
  EXPECT_NE(XGetSelectionOwner(display, tray), static_cast<Window>(None));
  XCloseDisplay(display);
}

TEST(TestEnv, PulseAudio_HasStereo44100NullSink) {
  EXPECT_EQ(Env("ORVO_TEST_SINK"), "null");
  EXPECT_EQ(Env("PULSE_SERVER").rfind("unix:", 0), 0u);
  const std::string sinks = RunToEnd("/usr/bin/pactl", {"list", "short", "sinks"});
  EXPECT_NE(sinks.find("\tnull\t"), std::string::npos) << sinks;
  EXPECT_NE(sinks.find("2ch 44100Hz"), std::string::npos) << sinks;
  const std::string sources = RunToEnd("/usr/bin/pactl", {"list", "short", "sources"});
  EXPECT_NE(sources.find("\tnull.monitor\t"), std::string::npos) << sources;
}

TEST(TestEnv, Environment_PrivateFoldersAndQuietDefaults) {
  for (const char* name : {"HOME", "XDG_RUNTIME_DIR"}) {
    struct stat info {};
    ASSERT_EQ(stat(Env(name).c_str(), &info), 0) << name;
    EXPECT_EQ(info.st_mode & 0777, 0700u) << name;
    EXPECT_EQ(info.st_uid, getuid()) << name;
  }
  EXPECT_NE(Env("HOME").find("orvo-testenv"), std::string::npos);
  EXPECT_EQ(Env("DBUS_SESSION_BUS_ADDRESS"), "unix:path=" + Env("XDG_RUNTIME_DIR") + "/bus");
  EXPECT_EQ(Env("JACK_NO_START_SERVER"), "1");
  EXPECT_EQ(Env("LANG"), "C");
}

}  // namespace
}  // namespace orvo::test
