#include "ui/windows/player_aside.h"

#include <gtk/gtk.h>

namespace orvo {

void PlayerAside::Start(GtkWidget* player, bool alreadyMinimised) {
  player_ = player;
  gint x = 0;
  gint y = 0;
  gtk_window_get_position(GTK_WINDOW(player), &x, &y);
  x_ = x;
  y_ = y;
  minimisedHere_ = !alreadyMinimised;
  if (minimisedHere_) gtk_window_iconify(GTK_WINDOW(player));
}

void PlayerAside::Restore() {
  if (minimisedHere_) gtk_window_deiconify(GTK_WINDOW(player_));
  minimisedHere_ = false;
}

}  // namespace orvo
