#include "playlist/show_playlist_count.h"

#include <gtest/gtest.h>

#include "tests/playback/playback_doubles.h"

namespace orvo::test {
namespace {

TEST(ShowPlaylistCount, Announced_WithCountTimeAndAttachment) {
  RecordingNotifier notifier;
  CurrentPlaylist playlist;
  for (const char* path : {"a", "b", "c"}) playlist.add(path);
  int button = 0;
  ShowPlaylistCount(notifier, playlist, 3, reinterpret_cast<GtkWidget*>(&button));
  playlist.clear();
  ShowPlaylistCount(notifier, playlist, 5, nullptr);

  ASSERT_EQ(notifier.shown.size(), 2u);
  const Bubble& first = notifier.shown[0];
  EXPECT_EQ(first.summary, "current Playlist");
  EXPECT_EQ(first.body, "there are  3 files in the current Playlist");
  EXPECT_EQ(first.seconds, 3);
  EXPECT_EQ(first.urgency, 1);
  EXPECT_EQ(first.icon, "/usr/share/icons/gnome/scalable/mimetypes/audio-x-generic.svg");
  EXPECT_EQ(first.attach, &button);
  EXPECT_EQ(notifier.shown[1].body, "there are  0 files in the current Playlist");
  EXPECT_EQ(notifier.shown[1].seconds, 5);
  EXPECT_EQ(notifier.shown[1].attach, nullptr);
}

}  // namespace
}  // namespace orvo::test
