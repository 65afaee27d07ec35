// A screen without an RGBA visual: the "No Alpha Support" box comes before
// the player window and the window falls back to the opaque colormap.
#include <gtest/gtest.h>

#include "tests/ui/gui_support.h"
#include "ui/message_box.h"

namespace orvo::test {
namespace {

std::string LabelText(GtkWidget* dialog) {
  std::string text;
  GList* children = gtk_container_get_children(GTK_CONTAINER(GTK_DIALOG(dialog)->vbox));
  for (GList* l = children; l != nullptr; l = l->next) {
    if (GTK_IS_LABEL(l->data)) text = gtk_label_get_text(GTK_LABEL(l->data));
  }
  g_list_free(children);
  return text;
}

TEST(NoAlphaGui, Build_NoRgbaVisual_BoxBeforeWindowThenOpaque) {
  PlayerFixture f;
  bool seen = false;
  bool playerShownBefore = true;
  std::string text;
  AnswerBoxLater("No Alpha Support", [&](GtkWidget* dialog) {
    seen = true;
    text = LabelText(dialog);
    // The box runs inside the build: the player window must not be on screen.
    GList* toplevels = gtk_window_list_toplevels();
    playerShownBefore = false;
    for (GList* l = toplevels; l != nullptr; l = l->next) {
      const gchar* title = gtk_window_get_title(GTK_WINDOW(l->data));
      if (title != nullptr && std::string(title) == "Orvo M " &&
          gtk_widget_get_mapped(GTK_WIDGET(l->data))) {
        playerShownBefore = true;
      }
    }
    g_list_free(toplevels);
  });
  PlayerWindow& p = f.Build("");
  EXPECT_TRUE(seen);
  EXPECT_FALSE(playerShownBefore);
  EXPECT_EQ(text, "Your Screen doesn't support an alpha channel...");
  EXPECT_FALSE(p.alphaSupported());
  EXPECT_NE(gdk_colormap_get_visual(gtk_widget_get_colormap(p.window()))->depth, 32);
  EXPECT_TRUE(gtk_widget_get_mapped(p.window()));
  EXPECT_TRUE(FindDialogs("No Alpha Support").empty());  // destroyed once answered
}

TEST(NoAlphaGui, MessageBox_Shown_SmallOkFocusedRestrictedFrameGoneAfterAnswer) {
  bool checked = false;
  AnswerBoxLater("Loadimage failed", [&](GtkWidget* dialog) {
    checked = true;
    EXPECT_EQ(LabelText(dialog), "image = caf\xC3\xA9.png");
    gint w = 0;
    gint h = 0;
    gtk_window_get_default_size(GTK_WINDOW(dialog), &w, &h);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 50);
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog));
    ASSERT_TRUE(GTK_IS_BUTTON(focus));
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(focus)), "gtk-ok");
    GdkWMDecoration decorations{};
    ASSERT_TRUE(gdk_window_get_decorations(dialog->window, &decorations));
    EXPECT_EQ(decorations, GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU |
                               GDK_DECOR_MINIMIZE);
  });
  MessageBox("Loadimage failed", "image = caf\xE9.png");
  EXPECT_TRUE(checked);
  EXPECT_TRUE(FindDialogs("Loadimage failed").empty());
}

}  // namespace
}  // namespace orvo::test
