#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

bool HasState(GtkWidget* window, const char* state) {
  GdkAtom* atoms = nullptr;
  gint length = 0;
  bool found = false;
  gdk_property_get(window->window, gdk_atom_intern("_NET_WM_STATE", FALSE), GDK_NONE, 0, 64, FALSE, nullptr,
                   nullptr, &length, reinterpret_cast<guchar**>(&atoms));
  for (size_t i = 0; i < length / sizeof(GdkAtom); ++i) found = found || atoms[i] == gdk_atom_intern(state, FALSE);
  g_free(atoms);
  return found;
}

// A click of a real pointer at (x, y) on the screen.
void ClickAt(int x, int y) {
  ASSERT_EQ(std::system(("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1").c_str()), 0);
}

// Under a window manager with a tray: kept above and out of the taskbar;
// clicks on the skin bring the frame and take it away again with the
// window's corner kept in place (and do nothing once decorations are off);
// the status icon minimises and restores it.
TEST(Desktop, Player_StackingFrameToggleAndStatusIcon) {
  PlayerFixture f;
  f.settings.stay_top = f.settings.use_wm_decorations = true;
  PlayerWindow& p = f.Build("[player]\nwindowx=200\nwindowy=150\n");
  auto at = [&](bool framed) {
    gint x = 0, y = 0;
    gtk_window_get_position(GTK_WINDOW(p.window()), &x, &y);
    return x == 200 && y == 150 && gtk_window_get_decorated(GTK_WINDOW(p.window())) == framed;
  };
  ASSERT_TRUE(WaitFor([&] { return at(false) && HasState(p.window(), "_NET_WM_STATE_SKIP_TASKBAR"); }));
  EXPECT_TRUE(WaitFor([&] { return HasState(p.window(), "_NET_WM_STATE_ABOVE"); }));
  ClickAt(205, 155);
  EXPECT_TRUE(WaitFor([&] { return at(true); }));
  gint x = 0, y = 0;
  ASSERT_TRUE(WaitFor([&] { return gdk_window_get_origin(p.window()->window, &x, &y) && y > 150; }));
  ClickAt(x + 60, y + 5);  // below the title bar, too far off for a double click
  EXPECT_TRUE(WaitFor([&] { return at(false); }));
  f.settings.use_wm_decorations = false;
  ClickAt(205, 155);
  EXPECT_FALSE(WaitFor([&] { return at(true); }, 500));
  g_signal_emit_by_name(p.statusIcon(), "activate");
  EXPECT_TRUE(WaitFor([&] { return p.iconified() && p.NotificationAnchor() == nullptr; }));
  g_signal_emit_by_name(p.statusIcon(), "activate");
  EXPECT_TRUE(WaitFor([&] { return !p.iconified() && p.NotificationAnchor() == p.openButton(); }));
}

// A glued skin takes no clicks; kept below, started minimised.
TEST(Desktop, GluedPlayer_BelowAndMinimised) {
  PlayerFixture f;
  f.settings.stay_bottom = f.settings.start_minimized = f.settings.use_wm_decorations = true;
  PlayerWindow& p = f.Build("[player]\nglue=1\n");
  EXPECT_TRUE(WaitFor([&] { return p.iconified() && HasState(p.window(), "_NET_WM_STATE_BELOW"); }));
  EXPECT_EQ(gtk_widget_get_events(p.window()) & GDK_BUTTON_PRESS_MASK, 0);
}

}  // namespace
}  // namespace orvo::test
