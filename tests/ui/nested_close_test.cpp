// Closing a secondary window while a song started under it still plays: the
// window's own loop can only end after that song, but the window must go at
// once.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "tests/ui/gui_support.h"
#include "ui/windows/playlist_manager_window.h"
#include "ui/windows/playlist_window.h"

namespace orvo::test {
namespace {

// Runs `close` inside a loop nested in the window's own loop, as a song
// started from the player's play button would, and records whether the
// window was gone before that nested loop ended.
struct NestedSong {
  GtkWidget* window = nullptr;
  bool hiddenWhileNested = false;
  bool ran = false;

  void Play(GtkWidget* shown, const std::function<void(GtkWidget*)>& close) {
    window = shown;
    GMainLoop* song = g_main_loop_new(nullptr, FALSE);
    close(shown);
    // The song plays on for a few more turns of the loop.
    g_timeout_add(100, [](gpointer loop) -> gboolean {
      g_main_loop_quit(static_cast<GMainLoop*>(loop));
      return FALSE;
    }, song);
    g_main_loop_run(song);
    hiddenWhileNested = !gtk_widget_get_visible(shown);
    g_main_loop_unref(song);
    ran = true;
  }
};

class NestedCloseTest : public WindowFixture {};

TEST_F(NestedCloseTest, ManagerExitDuringSong_HidesAndRestoresThePlayerAtOnce) {
  NestedSong song;
  WhenShown("Manage Playlists", [&](GtkWidget* shown) {
    song.Play(shown, [](GtkWidget* w) { gtk_button_clicked(GTK_BUTTON(FindButton(w, "exit"))); });
  });
  reportIconified = false;  // the manager minimises the player while open
  PlaylistManagerWindow(context, [] { return false; }).Open();
  ASSERT_TRUE(song.ran);
  EXPECT_TRUE(song.hiddenWhileNested);
  EXPECT_EQ(FindToplevel("Manage Playlists"), nullptr);
}

TEST_F(NestedCloseTest, PlaylistWindowClosedDuringSong_HidesAtOnce) {
  playlist.add("/music/a.mp3");
  NestedSong song;
  WhenShown("Playlist", [&](GtkWidget* shown) { song.Play(shown, SendDelete); });
  PlaylistWindow(context).Open();
  ASSERT_TRUE(song.ran);
  EXPECT_TRUE(song.hiddenWhileNested);
  EXPECT_EQ(FindToplevel("Playlist"), nullptr);
}

}  // namespace
}  // namespace orvo::test
