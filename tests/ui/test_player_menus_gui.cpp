// The two pop-up menus: exact entries, icons, separators and what each runs.
#include "tests/ui/gui_support.h"
#include "ui/player_menus.h"

namespace orvo::test {
namespace {

// One menu entry as the user sees it: "---" for a separator, otherwise
// "text|stock" with "(off)" appended when it is insensitive.
std::string MenuEntry(GtkWidget* item) {
  if (GTK_IS_SEPARATOR_MENU_ITEM(item)) return "---";
  std::string text = gtk_label_get_text(GTK_LABEL(gtk_bin_get_child(GTK_BIN(item))));
  GtkWidget* image = gtk_image_menu_item_get_image(GTK_IMAGE_MENU_ITEM(item));
  text += "|";
  if (image != nullptr) {
    gchar* stock = nullptr;
    GtkIconSize size = GTK_ICON_SIZE_INVALID;
    gtk_image_get_stock(GTK_IMAGE(image), &stock, &size);
    text += stock != nullptr ? stock : "?";
    if (size != GTK_ICON_SIZE_MENU) text += "@" + std::to_string(size);
  }
  if (!gtk_widget_get_sensitive(item)) text += "(off)";
  return text;
}

std::vector<std::string> MenuEntries(GtkWidget* menu) {
  std::vector<std::string> out;
  for (GtkWidget* item : Children(menu)) out.push_back(MenuEntry(item));
  return out;
}

const std::vector<std::string> kAddEntries = {"File(s)|gtk-file", "Folder|gtk-directory",
                                              "Playlist|gtk-about", "---"};
const std::vector<std::string> kStatusTail = {
    "---",           "Play|gtk-media-play",         "Pause|gtk-media-pause",
    "---",           "Preferences|gtk-preferences", "manage Playlists|gtk-convert",
    "---",           "Exit|gtk-close",              "---",
    "show Playlist|gtk-info", "Orvo M|(off)"};

TEST(PlayerMenusGui, AddMenu_TwoDrives_OneEntryPerDriveLastDriveCurrent) {
  RecordingActions actions;
  FakeDrives drives({"/dev/sr0", "/dev/cd_rw"});
  PlayerMenus menus(actions, drives);
  GtkWidget* menu = menus.BuildAddMenu();
  std::vector<std::string> expected = kAddEntries;
  expected.push_back("/dev/sr0|gtk-cdrom");
  expected.push_back("/dev/cdrw|gtk-cdrom");  // the underscore marks a mnemonic
  EXPECT_EQ(MenuEntries(menu), expected);
  EXPECT_EQ(drives.selections, (std::vector<int>{0, 1}));

  const std::vector<GtkWidget*> items = Children(menu);
  gtk_menu_item_activate(GTK_MENU_ITEM(items[5]));
  gtk_menu_item_activate(GTK_MENU_ITEM(items[4]));
  for (int i = 0; i < 3; ++i) gtk_menu_item_activate(GTK_MENU_ITEM(items[i]));
  EXPECT_EQ(actions.calls, (std::vector<std::string>{"PlayAudioCd 1", "PlayAudioCd 0", "AddFiles",
                                                     "AddFolder", "LoadPlaylist"}));
  gtk_widget_destroy(menu);
}

TEST(PlayerMenusGui, BothMenus_NoDrive_AddMenuEndsWithSeparatorStatusMenuHasTwoBeforePlay) {
  RecordingActions actions;
  FakeDrives drives({});
  PlayerMenus menus(actions, drives);
  GtkWidget* menu = menus.BuildAddMenu();
  EXPECT_EQ(MenuEntries(menu), kAddEntries);
  gtk_widget_destroy(menu);
  menu = menus.BuildStatusIconMenu();
  std::vector<std::string> expected = kAddEntries;
  expected.insert(expected.end(), kStatusTail.begin(), kStatusTail.end());
  EXPECT_EQ(MenuEntries(menu), expected);

  for (GtkWidget* item : Children(menu)) {
    if (!GTK_IS_SEPARATOR_MENU_ITEM(item)) gtk_menu_item_activate(GTK_MENU_ITEM(item));
  }
  // The insensitive title entry leads nowhere.
  EXPECT_EQ(actions.calls,
            (std::vector<std::string>{"AddFiles", "AddFolder", "LoadPlaylist", "StartPlayback",
                                      "TogglePause", "OpenPreferences", "OpenPlaylistManager",
                                      "Quit", "ShowPlaylistWindow"}));
  gtk_widget_destroy(menu);
}

TEST(PlayerMenusGui, MenuEntry_ActionDestroysMenu_NoUseAfterFree) {
  // An action may run a nested loop in which the menu is destroyed.
  struct DestroyingActions : RecordingActions {
    GtkWidget* menu = nullptr;
    void AddFolder() override {
      RecordingActions::AddFolder();
      gtk_widget_destroy(menu);
    }
  } actions;
  FakeDrives drives({});
  PlayerMenus menus(actions, drives);
  actions.menu = menus.BuildAddMenu();
  gtk_menu_item_activate(GTK_MENU_ITEM(Children(actions.menu)[1]));
  EXPECT_EQ(actions.calls, std::vector<std::string>{"AddFolder"});
}

}  // namespace
}  // namespace orvo::test
