// A screen without an RGBA visual: the "No Alpha Support" box comes before
// the player window and the window falls back to the opaque colormap.
#include "tests/ui/gui_support.h"
#include "ui/dialogs/message_box.h"

namespace orvo::test {
namespace {

std::string LabelText(GtkWidget* dialog) {
  std::string text;
  for (GtkWidget* child : Children(GTK_DIALOG(dialog)->vbox)) {
    if (GTK_IS_LABEL(child)) text = gtk_label_get_text(GTK_LABEL(child));
  }
  return text;
}

// Answers the next box titled `title` with OK from inside its loop, after
// calling `inspect` on it.
void AnswerBoxLater(const std::string& title, std::function<void(GtkWidget*)> inspect) {
  WhenShown(title, [inspect](GtkWidget* box) {
    inspect(box);
    gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
  });
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
    playerShownBefore = FindToplevel("Orvo M ") != nullptr;
  });
  PlayerWindow& p = f.Build("");
  EXPECT_TRUE(seen);
  EXPECT_FALSE(playerShownBefore);
  EXPECT_EQ(text, "Your Screen doesn't support an alpha channel...");
  EXPECT_FALSE(p.alphaSupported());
  EXPECT_NE(gdk_colormap_get_visual(gtk_widget_get_colormap(p.window()))->depth, 32);
  EXPECT_TRUE(gtk_widget_get_mapped(p.window()));
  EXPECT_TRUE(Toplevels("No Alpha Support").empty());  // destroyed once answered
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
    EXPECT_EQ(Decorations(dialog), GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU |
                               GDK_DECOR_MINIMIZE);
  });
  MessageBox("Loadimage failed", "image = caf\xE9.png");
  EXPECT_TRUE(checked);
  EXPECT_TRUE(Toplevels("Loadimage failed").empty());
}

}  // namespace
}  // namespace orvo::test
