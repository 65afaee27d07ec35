#include "playlist/playlist_count.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/notifier.h"
#include "playlist/path_list.h"

namespace orvo {
namespace {

// Keeps every bubble it is asked to show.
class RecordingNotifier : public Notifier {
 public:
  struct Shown {
    std::string summary, body, icon;
    int seconds = 0, urgency = 0;
    void* attachWidget = nullptr;
  };
  std::vector<Shown> shown;

  NotificationHandle ShowNotification(const std::string& summary, const std::string& body, int seconds,
                                      int urgency, void* attachWidget, const std::string& icon) override {
    shown.push_back({summary, body, icon, seconds, urgency, attachWidget});
    return this;  // any non-null handle
  }
  void CloseNotification(NotificationHandle) override {}
};

TEST(ShowPlaylistCount, Announced_WithCountTimeAndAttachment) {
  RecordingNotifier notifier;
  CurrentPlaylist playlist;
  for (const char* path : {"a", "b", "c"}) playlist.add(path);
  int button = 0;
  ShowPlaylistCount(notifier, playlist, 3, &button);
  playlist.clear();
  ShowPlaylistCount(notifier, playlist, 5, nullptr);

  ASSERT_EQ(notifier.shown.size(), 2u);
  const auto& first = notifier.shown[0];
  EXPECT_EQ(first.summary, "current Playlist");
  EXPECT_EQ(first.body, "there are  3 files in the current Playlist");
  EXPECT_EQ(first.seconds, 3);
  EXPECT_EQ(first.urgency, 1);
  EXPECT_EQ(first.icon, "/usr/share/icons/gnome/scalable/mimetypes/audio-x-generic.svg");
  EXPECT_EQ(first.attachWidget, &button);
  EXPECT_EQ(notifier.shown[1].body, "there are  0 files in the current Playlist");
  EXPECT_EQ(notifier.shown[1].seconds, 5);
  EXPECT_EQ(notifier.shown[1].attachWidget, nullptr);
}

}  // namespace
}  // namespace orvo
