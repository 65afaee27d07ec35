#include "tests/ui/gui_support.h"
#include "ui/dialogs/message_box.h"

namespace orvo::test {
namespace {

// Whether the screen's pixel at (x, y) is `rgb`, each channel within `slack`.
bool PixelIs(int x, int y, unsigned rgb, int slack = 0) {
  GdkPixbuf* shot = gdk_pixbuf_get_from_drawable(nullptr, gdk_get_default_root_window(), nullptr, x, y, 0, 0, 1, 1);
  bool near = true;
  for (int i = 0; i < 3; ++i) near = near && std::abs(gdk_pixbuf_get_pixels(shot)[i] - static_cast<int>(rgb >> (16 - 8 * i) & 0xff)) <= slack;
  g_object_unref(shot);
  return near;
}

// The skin's clear pixels show the window behind; its own, the skin.
TEST(Compositor, ClearSkinPixels_ShowWhatIsBehind) {
  GtkWidget* behind = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_decorated(GTK_WINDOW(behind), FALSE);
  gtk_widget_set_size_request(behind, 500, 200);
  GdkColor green{0, 0x2020, 0xc0c0, 0x4040};
  gtk_widget_modify_bg(behind, GTK_STATE_NORMAL, &green);
  gtk_widget_show(behind);
  ASSERT_TRUE(WaitFor([] { return PixelIs(10, 50, 0x20c040); }));
  PlayerFixture f;
  WriteSkinImage(f.dir + "skin.png", 400, 100, 30);
  EXPECT_TRUE(f.Build("").alphaSupported());
  EXPECT_TRUE(WaitFor([] { return PixelIs(390, 95, 0x3050d0, 4); }));  // the compositor takes its time
  EXPECT_TRUE(PixelIs(10, 50, 0x20c040, 4) && PixelIs(25, 5, 0x20c040, 4));
}

// Without an RGBA visual a box says so before the window shows; the skin's
// clear pixels are then the background, a shade of red and blue off black.
TEST(NoAlpha, Build_BoxBeforeTheWindowThenClearPixelsBlack) {
  PlayerFixture f;
  WriteSkinImage(f.dir + "skin.png", 400, 100, 30);
  std::string seen;
  WhenShown("No Alpha Support", [&](GtkWidget* box) {
    seen = gtk_label_get_text(GTK_LABEL(FindAll(box, GTK_TYPE_LABEL)[0])) + std::string(Shown("Orvo M ") ? " late" : "");
    gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
  });
  EXPECT_FALSE(f.Build("").alphaSupported());
  EXPECT_EQ(seen, "Your Screen doesn't support an alpha channel...");
  EXPECT_TRUE(WaitFor([] { return PixelIs(390, 95, 0x3050d0, 4); }));
  EXPECT_TRUE(PixelIs(10, 50, 0x020002));
}

// The box, 100 x 50 by default, shows its text padded by 10 with the OK
// button focused, offers the window manager no way to close it, and goes
// once OK is pressed.
TEST(NoAlpha, MessageBox_WaitsForItsOkButton) {
  std::string seen;
  WhenShown("Loadimage failed", [&](GtkWidget* box) {
    GtkWidget* label = FindAll(box, GTK_TYPE_LABEL)[0];
    gint width = 0, height = 0;
    gtk_window_get_default_size(GTK_WINDOW(box), &width, &height);
    GdkWMDecoration decorations{};
    gdk_window_get_decorations(box->window, &decorations);
    seen = Describe(label) + (GTK_WIDGET_VISIBLE(label) ? " " : " hidden ") + std::to_string(GTK_MISC(label)->xpad) +
           std::to_string(GTK_MISC(label)->ypad) + " " + std::to_string(width) + "x" + std::to_string(height) + " " +
           std::to_string(decorations) + " " + gtk_button_get_label(GTK_BUTTON(gtk_window_get_focus(GTK_WINDOW(box))));
    Click(box, "gtk-ok");
  });
  MessageBox("Loadimage failed", "image = caf\xE9.png");
  EXPECT_EQ(seen, "image = caf\xC3\xA9.png -1,-1 -1x-1 1010 100x50 " +
                      std::to_string(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU | GDK_DECOR_MINIMIZE) + " gtk-ok");
  EXPECT_EQ(Shown("Loadimage failed"), nullptr);
}

}  // namespace
}  // namespace orvo::test
