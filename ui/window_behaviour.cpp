#include "ui/window_behaviour.h"

#include "core/settings.h"

namespace orvo::window_behaviour {

gboolean ToggleDecorations(GtkWindow* window, bool useWmDecorations) {
  if (!useWmDecorations) return TRUE;
  gint x = 0;
  gint y = 0;
  gtk_window_get_position(window, &x, &y);
  gtk_window_set_decorated(window, !gtk_window_get_decorated(window));
  gtk_window_move(window, x, y);
  return TRUE;
}

bool IsIconified(GtkWidget* window) {
  if (window->window == nullptr) return false;
  return (gdk_window_get_state(window->window) & GDK_WINDOW_STATE_ICONIFIED) != 0;
}

void ToggleMinimised(GtkWindow* window) {
  if (IsIconified(GTK_WIDGET(window))) {
    gtk_window_deiconify(window);
  } else {
    gtk_window_iconify(window);
  }
}

void ApplyStacking(GtkWindow* window, const Settings& settings) {
  if (settings.stay_top) gtk_window_set_keep_above(window, TRUE);
  if (settings.stay_bottom) gtk_window_set_keep_below(window, TRUE);
  if (settings.start_minimized) gtk_window_iconify(window);
}

}  // namespace orvo::window_behaviour
