#pragma once

#include <gtk/gtk.h>

namespace orvo {

class CdDrives;
class PlayerActions;

// The two pop-up menus of the player: the add menu behind the open button and
// the status icon's menu. Both are built anew for every pop-up from tables,
// so the CD entries always follow the drive list, and a closed menu is
// destroyed once the toolkit is done with it.
class PlayerMenus {
 public:
  PlayerMenus(PlayerActions& actions, CdDrives& drives) : actions_(actions), drives_(drives) {}

  // File(s), Folder, Playlist, a separator, then one entry per CD drive.
  // The caller destroys the returned menu (gtk_widget_destroy).
  GtkWidget* BuildAddMenu();
  // The add menu's entries followed by the player's main commands and an
  // insensitive "Orvo M" title entry.
  GtkWidget* BuildStatusIconMenu();

  void PopUpAddMenu() { PopUp(BuildAddMenu(), 4); }
  void PopUpStatusIconMenu() { PopUp(BuildStatusIconMenu(), 7); }

 private:
  void AppendAddEntries(GtkWidget* menu);
  void AppendCdEntries(GtkWidget* menu);
  static void PopUp(GtkWidget* menu, guint button);

  PlayerActions& actions_;
  CdDrives& drives_;
};

}  // namespace orvo
