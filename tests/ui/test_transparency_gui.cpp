// Transparency on a real screen. With a compositor the skin's fully
// transparent pixels show what lies behind the window; without an RGBA visual
// a box says so before the window appears.
#include <gtest/gtest.h>

#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

constexpr unsigned kBehind = 0x20c040;
constexpr unsigned kSkin = 0x3050d0;

bool Near(unsigned a, unsigned b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff);
    if (d > 12 || d < -12) return false;
  }
  return true;
}

// A plain window of one colour at (0, 0), so there is something behind the
// player to see.
GtkWidget* ShowBackdrop() {
  GtkWidget* backdrop = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_decorated(GTK_WINDOW(backdrop), FALSE);
  gtk_window_move(GTK_WINDOW(backdrop), 0, 0);
  gtk_widget_set_size_request(backdrop, 500, 200);
  GdkColor colour{0, 0x2020, 0xc0c0, 0x4040};
  gtk_widget_modify_bg(backdrop, GTK_STATE_NORMAL, &colour);
  gtk_widget_show_all(backdrop);
  WaitFor([&] { return gtk_widget_get_mapped(backdrop); });
  return backdrop;
}

TEST(TransparencyCompositor, PaintBackground_ClearSkinPixels_ShowWhatIsBehind) {
  GtkWidget* backdrop = ShowBackdrop();
  PumpFor(300);
  ASSERT_TRUE(Near(ScreenPixel(10, 50), kBehind));

  PlayerFixture f;
  f.folder.WriteSkinImage("skin.png", 400, 100, 30, kSkin);
  PlayerWindow& p = f.Build("");
  EXPECT_TRUE(p.alphaSupported());
  EXPECT_TRUE(Toplevels("No Alpha Support").empty());
  GdkVisual* visual = gdk_colormap_get_visual(gtk_widget_get_colormap(p.window()));
  EXPECT_EQ(visual->depth, 32);
  // The compositor repaints asynchronously; wait for the skin to show.
  EXPECT_TRUE(WaitFor([] { return Near(ScreenPixel(390, 95), kSkin); }))
      << std::hex << ScreenPixel(390, 95);
  EXPECT_TRUE(Near(ScreenPixel(10, 50), kBehind)) << std::hex << ScreenPixel(10, 50);
  EXPECT_TRUE(Near(ScreenPixel(25, 5), kBehind)) << std::hex << ScreenPixel(25, 5);
  gtk_widget_destroy(backdrop);
}

}  // namespace
}  // namespace orvo::test
