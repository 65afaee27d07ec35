#include "tests/ui/gui_support.h"
#include "ui/windows/playlist_manager_window.h"
#include "ui/windows/preferences_window.h"

namespace orvo::test {
namespace {

// With a window manager that really minimises: the windows read the
// player's actual state.
class WindowManagerTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    context.playerIconified = [this] { return PlayerIconified(); };
    ASSERT_TRUE(WaitFor([this] { return gtk_widget_get_mapped(player) && !PlayerIconified(); }));
  }

  // Lets the window manager answer everything asked of it so far.
  void Settle() {
    gdk_display_sync(gdk_display_get_default());
    WaitFor([] { return !gtk_events_pending(); });
  }

  // Opens `open`'s window, checks the player is minimised meanwhile, closes it.
  void OpenWhileWatchingPlayer(const char* title, const std::function<void()>& open,
                               bool* minimisedWhileOpen) {
    RunWindow(title, open, [&](GtkWidget*) {
      *minimisedWhileOpen = WaitFor([this] { return PlayerIconified(); });
    }, "exit");
  }
};

TEST_F(WindowManagerTest, BothWindows_PlayerShown_MinimisedWhileOpenRestoredAfter) {
  bool minimised = false;
  OpenWhileWatchingPlayer(
      "Manage Playlists", [&] { PlaylistManagerWindow(context, [] { return false; }).Open(); },
      &minimised);
  EXPECT_TRUE(minimised);
  EXPECT_TRUE(WaitFor([this] { return !PlayerIconified(); }));
  minimised = false;
  PreferencesWindow preferences(context, nullptr);
  OpenWhileWatchingPlayer("Preferences", [&] { EXPECT_TRUE(preferences.Open()); }, &minimised);
  EXPECT_TRUE(minimised);
  EXPECT_TRUE(WaitFor([this] { return !PlayerIconified(); }));
}

TEST_F(WindowManagerTest, PlayerAlreadyMinimised_StaysMinimisedAfterBothWindows) {
  gtk_window_iconify(GTK_WINDOW(player));
  ASSERT_TRUE(WaitFor([this] { return PlayerIconified(); }));
  bool minimised = false;
  OpenWhileWatchingPlayer(
      "Manage Playlists", [&] { PlaylistManagerWindow(context, [] { return false; }).Open(); },
      &minimised);
  PreferencesWindow preferences(context, nullptr);
  OpenWhileWatchingPlayer("Preferences", [&] { preferences.Open(); }, &minimised);
  Settle();
  EXPECT_TRUE(PlayerIconified());
}

TEST_F(WindowManagerTest, Preferences_StayTopThenBottom_KeepsPlayerAboveThenBelow) {
  PreferencesWindow preferences(context, nullptr);
  bool above = false;
  bool belowOnly = false;
  RunWindow("Preferences", [&] { preferences.Open(); }, [&](GtkWidget* window) {
    const std::vector<GtkWidget*> boxes = FindAll(window, GTK_TYPE_CHECK_BUTTON);
    GtkWidget* top = boxes[7];
    GtkWidget* bottom = boxes[8];
    ASSERT_STREQ(gtk_button_get_label(GTK_BUTTON(top)), "Always stay on top");
    ASSERT_STREQ(gtk_button_get_label(GTK_BUTTON(bottom)), "Always below everything");
    gtk_button_clicked(GTK_BUTTON(top));
    above = WaitFor([&] { return HasWmState(player, "_NET_WM_STATE_ABOVE"); });
    gtk_button_clicked(GTK_BUTTON(bottom));
    belowOnly = WaitFor([&] {
      return HasWmState(player, "_NET_WM_STATE_BELOW") && !HasWmState(player, "_NET_WM_STATE_ABOVE");
    });
  }, "exit");
  EXPECT_TRUE(above);
  EXPECT_TRUE(belowOnly);
  EXPECT_EQ(settings.stay_top, 0);
  EXPECT_EQ(settings.stay_bottom, 1);
}

}  // namespace
}  // namespace orvo::test
