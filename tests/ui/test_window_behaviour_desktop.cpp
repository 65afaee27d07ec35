// The player window under a real window manager and system tray: the status
// icon, minimising and restoring, the iconified flag, the decoration toggle
// and the stacking settings.
#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

// A real pointer click at screen position (x, y).
void ClickAt(int x, int y) {
  // Not --sync: it waits for a motion that never comes when the pointer is
  // already there.
  const std::string command = "xdotool mousemove " + std::to_string(x) + " " +
                              std::to_string(y) + " sleep 0.05 click 1";
  ASSERT_EQ(std::system(command.c_str()), 0);
}

TEST(WindowBehaviourDesktop, StatusIcon_ClickedInTray_MinimisesAndRestores) {
  PlayerFixture f;
  f.folder.WriteSkinImage("audio-x-generic.png", 22, 22, 0, 0xe0a020);
  PlayerWindow& p = f.Build("");
  ASSERT_NE(p.statusIcon(), nullptr);
  EXPECT_TRUE(gtk_status_icon_get_visible(p.statusIcon()));
  ASSERT_TRUE(WaitFor([&] { return gtk_status_icon_is_embedded(p.statusIcon()); }));
  EXPECT_EQ(gtk_status_icon_get_storage_type(p.statusIcon()), GTK_IMAGE_PIXBUF);

  // The tray lays its icons out after embedding them: click only once the
  // icon has kept its place for a while.
  GdkRectangle area{};
  GdkRectangle previous{-1, -1, -1, -1};
  ASSERT_TRUE(WaitFor([&] {
    PumpFor(200);
    const bool known = gtk_status_icon_get_geometry(p.statusIcon(), nullptr, &area, nullptr);
    const bool still = known && area.width > 1 && area.x == previous.x && area.y == previous.y &&
                       area.width == previous.width;
    previous = area;
    return still;
  }));
  ClickAt(area.x + area.width / 2, area.y + area.height / 2);
  EXPECT_TRUE(WaitFor([&] { return p.iconified(); }));
  EXPECT_EQ(p.NotificationAnchor(), nullptr);
  ClickAt(area.x + area.width / 2, area.y + area.height / 2);
  EXPECT_TRUE(WaitFor([&] { return !p.iconified(); }));
  EXPECT_EQ(p.NotificationAnchor(), p.openButton());
}

TEST(WindowBehaviourDesktop, WindowState_IconifyAndDeiconify_FlagFollows) {
  PlayerFixture f;
  f.settings.stay_top = 1;
  PlayerWindow& p = f.Build("");
  EXPECT_FALSE(p.iconified());
  gtk_window_iconify(GTK_WINDOW(p.window()));
  EXPECT_TRUE(WaitFor([&] { return p.iconified(); }));
  p.ToggleMinimised();  // restores also while kept above
  EXPECT_TRUE(WaitFor([&] { return !p.iconified(); }));
  p.ToggleMinimised();
  EXPECT_TRUE(WaitFor([&] { return p.iconified(); }));
}

TEST(WindowBehaviourDesktop, Build_StackingSettings_RequestedFromWindowManager) {
  PlayerFixture top;
  top.settings.stay_top = true;
  PlayerWindow& p = top.Build("");
  EXPECT_TRUE(WaitFor([&] { return HasWmState(p.window(), "_NET_WM_STATE_ABOVE"); }));
  EXPECT_FALSE(HasWmState(p.window(), "_NET_WM_STATE_BELOW"));
  EXPECT_TRUE(HasWmState(p.window(), "_NET_WM_STATE_SKIP_TASKBAR"));

  PlayerFixture bottom;
  bottom.settings.stay_bottom = true;
  bottom.settings.start_minimized = true;
  PlayerWindow& q = bottom.Build("");
  EXPECT_TRUE(WaitFor([&] { return q.iconified(); }));
  EXPECT_TRUE(HasWmState(q.window(), "_NET_WM_STATE_BELOW"));
}

// Waits until the window manager manages the player (it then lists the
// window's skip-taskbar state), so that a click lands on the window.
void WaitUntilManaged(PlayerWindow& p) {
  ASSERT_TRUE(WaitFor([&] { return HasWmState(p.window(), "_NET_WM_STATE_SKIP_TASKBAR"); }));
}

std::pair<int, int> Position(GtkWidget* window) {
  int x = 0;
  int y = 0;
  gtk_window_get_position(GTK_WINDOW(window), &x, &y);
  return {x, y};
}

TEST(WindowBehaviourDesktop, ToggleDecorations_ClickOnSkin_FrameComesAndGoesInPlace) {
  PlayerFixture f;
  f.settings.use_wm_decorations = 1;
  PlayerWindow& p = f.Build("[player]\nwindowx = 200\nwindowy = 150\n");
  GtkWindow* window = GTK_WINDOW(p.window());
  WaitUntilManaged(p);
  // The window manager places the window where the skin says; click only
  // once the toolkit has heard of it.
  const std::pair<int, int> placed{200, 150};
  ASSERT_TRUE(WaitFor([&] { return Position(p.window()) == placed; }));
  const auto [x0, y0] = placed;
  ClickAt(x0 + 5, y0 + 5);  // on the skin, away from the buttons
  EXPECT_TRUE(WaitFor([&] { return gtk_window_get_decorated(window) != FALSE; }));
  PumpFor(300);
  EXPECT_EQ(Position(p.window()), placed);
  // Click into the skin again, now below the title bar.
  gint clientX = 0;
  gint clientY = 0;
  gdk_window_get_origin(p.window()->window, &clientX, &clientY);
  EXPECT_GT(clientY, y0);
  ClickAt(clientX + 5, clientY + 5);
  EXPECT_TRUE(WaitFor([&] { return gtk_window_get_decorated(window) == FALSE; }));
  PumpFor(300);
  EXPECT_EQ(Position(p.window()), placed);

  // Switched off in the preferences: clicks change nothing.
  f.settings.use_wm_decorations = 0;
  ClickAt(x0 + 5, y0 + 5);
  PumpFor(300);
  EXPECT_FALSE(gtk_window_get_decorated(window));

  // A glued skin ignores clicks even when decorations are allowed.
  PlayerFixture glued;
  glued.settings.use_wm_decorations = 1;
  PlayerWindow& q = glued.Build("[player]\nglue = 1\nwindowx = 100\nwindowy = 500\n");
  EXPECT_EQ(gtk_widget_get_events(q.window()) & GDK_BUTTON_PRESS_MASK, 0);
  WaitUntilManaged(q);
  ClickAt(105, 505);
  PumpFor(300);
  EXPECT_FALSE(gtk_window_get_decorated(GTK_WINDOW(q.window())));
}

}  // namespace
}  // namespace orvo::test
