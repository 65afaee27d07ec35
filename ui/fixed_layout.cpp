#include "ui/fixed_layout.h"

namespace orvo {

void PlaceWidget(GtkWidget* fixed, GtkWidget* child, const Geometry& where) {
  gtk_widget_set_size_request(child, where.width, where.height);
  gtk_fixed_put(GTK_FIXED(fixed), child, where.x, where.y);
}

void SetBackground(GtkWidget* window, int red, int green, int blue) {
  // GdkColor channels are 16 bits; 257 maps 0..255 onto 0..65535 exactly.
  GdkColor colour;
  colour.pixel = 0;
  colour.red = static_cast<guint16>(red * 257);
  colour.green = static_cast<guint16>(green * 257);
  colour.blue = static_cast<guint16>(blue * 257);
  gtk_widget_modify_bg(window, GTK_STATE_NORMAL, &colour);
}

void SetFrame(GtkWidget* window, GdkWMDecoration decorations, GdkWMFunction functions) {
  gtk_widget_realize(window);
  GdkWindow* gdkWindow = gtk_widget_get_window(window);
  gdk_window_set_decorations(gdkWindow, decorations);
  gdk_window_set_functions(gdkWindow, functions);
}

}  // namespace orvo
