// Start-up work run on threads of its own and waited for on first use.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "backends/background_drives.h"
#include "backends/background_notifier.h"
#include "base/background_task.h"
#include "tests/support/notification_log.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

using std::chrono::milliseconds;

// The work sleeps first, so a Wait that did not wait would find it unfinished.
TEST(BackgroundTask, Wait_SlowWorkOnAnotherThread_FinishedAndVisibleAfterwards) {
  BackgroundTask task;
  std::thread::id worker;
  int written = 0;  // plain memory: Wait alone has to make it visible
  task.Start([&] {
    std::this_thread::sleep_for(milliseconds(50));
    worker = std::this_thread::get_id();
    written = 42;
  });
  task.Wait();
  EXPECT_EQ(written, 42);
  EXPECT_NE(worker, std::this_thread::get_id());
  task.Wait();  // a second wait, and one with nothing started, return at once
  BackgroundTask idle;
  idle.Wait();
}

TEST(BackgroundTask, StartTwiceAndDestroy_WorkRunsInOrderAndIsWaitedFor) {
  std::mutex mutex;
  std::vector<int> order;
  auto record = [&](int step, milliseconds pause) {
    return [&, step, pause] {
      std::this_thread::sleep_for(pause);
      std::lock_guard<std::mutex> lock(mutex);
      order.push_back(step);
    };
  };
  {
    BackgroundTask task;
    task.Start(record(1, milliseconds(50)));
    task.Start(record(2, milliseconds(0)));
    task.Start(record(3, milliseconds(50)));
  }  // the destructor waits for the last one
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

// A BIN/CUE disc image of `tracks` one-second audio tracks; its CUE path.
std::string MakeDiscImage(const test::ScratchDir& folder, int tracks) {
  const std::string bin = folder.file("disc.bin");
  const std::string command = "sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw '" + bin +
                              "' synth " + std::to_string(tracks) + " sine 440 vol 0.3";
  if (std::system(command.c_str()) != 0) return std::string();
  std::string cue = "FILE \"disc.bin\" BINARY\n";
  for (int t = 1; t <= tracks; ++t) {
    cue += "  TRACK 0" + std::to_string(t) + " AUDIO\n    INDEX 01 00:0" + std::to_string(t - 1) +
           ":00\n";
  }
  test::WriteBytes(folder.file("disc.cue"), cue);
  return folder.file("disc.cue");
}

TEST(BackgroundDrives, OpenedInBackground_AnswersLikeTheDrivesThemselves) {
  test::ScratchDir folder;
  const std::string cue = MakeDiscImage(folder, 3);
  ASSERT_FALSE(cue.empty());
  BackgroundDrives drives;
  drives.OpenSources({"/nonexistent/empty.cue", cue});
  EXPECT_EQ(drives.DriveCount(), 2);
  EXPECT_EQ(drives.DriveName(), "/nonexistent/empty.cue");
  EXPECT_EQ(drives.TrackCount(), 0);
  drives.SelectDrive(1);
  EXPECT_EQ(drives.DriveName(), cue);
  EXPECT_EQ(drives.TrackCount(), 3);

  // Asked first for the table of contents, before anything else.
  BackgroundDrives other;
  other.OpenSources({cue});
  EXPECT_EQ(other.TrackCount(), 3);

  // The machine's own drives, whatever there are: the same count either way.
  BackgroundDrives machine;
  machine.OpenDrives();
  CdPlayer direct;
  EXPECT_EQ(machine.DriveCount(), direct.OpenDrives());
}

// Against the real libnotify and the recorder of the test session bus: the
// first bubble carries the application name, so it waited for the library's
// initialisation.
TEST(BackgroundNotifier, FirstBubbleRightAfterStart_SentWithTheApplicationName) {
  BackgroundNotifier notifier;
  notifier.InitNotifications("/opt/orvo/Orvo_M");
  const NotificationHandle handle =
      notifier.ShowNotification("current Playlist", "there are  2 files in the current Playlist", 5,
                                1, nullptr, kNotificationIcon);
  ASSERT_NE(handle, nullptr);
  notifier.CloseNotification(handle);
  const std::vector<test::NotificationRecord> records = test::NotificationLog().WaitForCount(2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].method, "Notify");
  EXPECT_EQ(records[0].appName, "/opt/orvo/Orvo_M");
  EXPECT_EQ(records[0].summary, "current Playlist");
  EXPECT_EQ(records[1].method, "CloseNotification");
  EXPECT_EQ(records[1].id, records[0].id);
}

TEST(BackgroundNotifier, NoLibrary_BubblesSkipped) {
  BackgroundNotifier notifier({"/nonexistent/libnotify.so"});
  notifier.InitNotifications("Orvo_M");
  EXPECT_EQ(notifier.ShowNotification("s", "b", 1, 1, nullptr, kNotificationIcon), nullptr);
  notifier.CloseNotification(nullptr);
}

}  // namespace
}  // namespace orvo
