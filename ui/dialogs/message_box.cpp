#include "ui/dialogs/message_box.h"

#include <gtk/gtk.h>

#include "base/latin1.h"

namespace orvo {
namespace {

GtkWidget* BuildBox(const std::string& title, const std::string& text) {
  GtkWidget* dialog = gtk_dialog_new();
  gtk_window_set_title(GTK_WINDOW(dialog), ToUtf8(title).c_str());
  gtk_window_set_default_size(GTK_WINDOW(dialog), 100, 50);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);

  GtkWidget* label = gtk_label_new(ToUtf8(text).c_str());
  gtk_misc_set_padding(GTK_MISC(label), 10, 10);
  gtk_box_pack_start(GTK_BOX(GTK_DIALOG(dialog)->vbox), label, TRUE, TRUE, 0);

  GtkWidget* ok = gtk_dialog_add_button(GTK_DIALOG(dialog), GTK_STOCK_OK, GTK_RESPONSE_OK);
  gtk_widget_set_can_default(ok, TRUE);
  gtk_widget_grab_focus(ok);

  // The hints go to the GDK window, which exists only once it is realised.
  gtk_widget_realize(dialog);
  gdk_window_set_decorations(dialog->window,
                             static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE |
                                                          GDK_DECOR_MENU | GDK_DECOR_MINIMIZE));
  gdk_window_set_functions(dialog->window,
                           static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_MINIMIZE));
  return dialog;
}

}  // namespace

void MessageBox(const std::string& title, const std::string& text) {
  GtkWidget* dialog = BuildBox(title, text);
  gtk_widget_show_all(dialog);
  // A window manager may still send a close request; only the button (or the
  // box being destroyed from elsewhere) ends the wait.
  for (;;) {
    const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
    if (response == GTK_RESPONSE_NONE) return;  // destroyed during the run
    if (response == GTK_RESPONSE_OK) break;
  }
  gtk_widget_destroy(dialog);
}

}  // namespace orvo
