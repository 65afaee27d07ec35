#pragma once

#include <gtk/gtk.h>

namespace orvo {

// Position and size of a control in pixels, origin at the window's top-left.
struct Geometry {
  int x;
  int y;
  int width;
  int height;
};

// Puts `child` into the GtkFixed `fixed` at the given place and size.
void PlaceWidget(GtkWidget* fixed, GtkWidget* child, const Geometry& where);

// Paints the window's own background (behind controls that have no window
// of their own) in the given colour.
void SetBackground(GtkWidget* window, int red, int green, int blue);

// Asks the window manager for exactly these decorations and functions. The
// window is realised first, because GDK needs its X window for the hints.
void SetFrame(GtkWidget* window, GdkWMDecoration decorations, GdkWMFunction functions);

}  // namespace orvo
