#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

// Where the window stands, then its size request, its two button rows
// ("|" vertical, "-" horizontal, or none) with their icon size, and the
// display label with the red of its text colour.
std::string Layout(PlayerWindow& p) {
  std::string layout;
  gint x = 0, y = 0, size = 0;
  gtk_window_get_position(GTK_WINDOW(p.window()), &x, &y);
  for (GtkWidget* row : {p.controlRow(), p.playerControlRow()}) {
    if (row != nullptr) gtk_image_get_stock(GTK_IMAGE(FindAll(row, GTK_TYPE_IMAGE)[0]), nullptr, reinterpret_cast<GtkIconSize*>(&size));
    layout += row == nullptr ? "none / " : (GTK_IS_VBOX(row) ? "| " : "- ") + Describe(row) + " " + std::to_string(size) + " / ";
  }
  return std::to_string(x) + "," + std::to_string(y) + " " + Describe(p.window()) + " / " + layout +
         Describe(p.displayLabel()) + " " + std::to_string(p.displayLabel()->style->fg[GTK_STATE_NORMAL].red);
}

TEST(PlayerWindowGui, SkinDescriptions_PlaceWindowRowsAndLabel) {
  const std::string defaults = "GtkHBox 40,35 300x35 4 / - GtkHBox 280,35 100x35 4 / Orvo M - Orvo Media Player ";
  const std::pair<std::string, std::string> rows[] = {
      {"", "0,0 GtkWindow -1,-1 400x100 / - " + defaults + "100,10 200x20 0"},
      {"[control]\ncontrolx=5\ncontroly=6\ndirection=5\nwidth=40\nheigth=250\n[playercontrol]\nvisible=2\n"
       "[player]\nbuttonsize=1\nwindowx=30\nwindowy=40\n[display]\ncolor=not a colour\n",
       "30,40 GtkWindow -1,-1 400x100 / | GtkVBox 5,6 40x250 1 / none / Orvo M - Orvo Media Player 100,10 200x20 0"},
      {"[playerskin]\nwindowskin=other.png\n[playercontrol]\ndirection=1\nheight=9\n[display]\ndisplayx=12px\n"
       "displayy=abc\ncolor=#ff0000\n", "0,0 GtkWindow -1,-1 320x80 / - GtkHBox 40,25 300x35 4 / "
       "| GtkVBox 280,25 100x35 4 / Orvo M - Orvo Media Player 12,0 200x20 65535"},
  };
  for (const auto& [skin, layout] : rows) {
    PlayerFixture f;
    WriteSkinImage(f.dir + "other.png", 320, 80);
    EXPECT_EQ(Layout(f.Build(skin)), layout) << skin;
  }
}

// A menu's entries as "text|stock", "---" for a separator, "(off)" appended
// when insensitive.
std::vector<std::string> Entries(GtkWidget* menu) {
  std::vector<std::string> entries;
  for (GtkWidget* item : FindAll(menu, GTK_TYPE_MENU_ITEM)) {
    gchar* stock = nullptr;
    GtkWidget* image = GTK_IS_IMAGE_MENU_ITEM(item) ? gtk_image_menu_item_get_image(GTK_IMAGE_MENU_ITEM(item)) : nullptr;
    if (image != nullptr) gtk_image_get_stock(GTK_IMAGE(image), &stock, nullptr);
    entries.push_back(GTK_IS_SEPARATOR_MENU_ITEM(item) ? "---" : gtk_label_get_text(GTK_LABEL(GTK_BIN(item)->child)) +
                      ("|" + std::string(stock ? stock : "")) + (GTK_WIDGET_SENSITIVE(item) ? "" : "(off)"));
  }
  return entries;
}

// The player from no skin description: its window, its buttons and close
// request, its status icon, and both menus with two CD drives, each going
// once closed.
TEST(PlayerWindowGui, DefaultSkin_ButtonsStatusIconAndMenus) {
  PlayerFixture f({"/dev/sr0", "/dev/cd_rw"});
  for (const char* path : {"a.mp3", "b.mp3", "c.mp3"}) f.playlist.append(path);
  WriteSkinImage(f.dir + "audio-x-generic.png", 22, 22);
  PlayerWindow& p = f.Build("");
  GtkWindow* window = GTK_WINDOW(p.window());
  EXPECT_EQ(gtk_window_get_title(window) + std::string("|") + gtk_window_get_icon_name(window), "Orvo M |gtk-media-play");
  EXPECT_FALSE(gtk_window_get_resizable(window) || gtk_window_get_decorated(window));
  EXPECT_TRUE(gtk_window_get_skip_taskbar_hint(window) && GTK_WIDGET_APP_PAINTABLE(window) && f.symbols.canPaint());
  GtkWidget* skin = FindAll(p.skinArea(), GTK_TYPE_IMAGE)[0];  // the first child, under everything
  EXPECT_EQ(Describe(skin) + " " + std::to_string(gtk_image_get_storage_type(GTK_IMAGE(skin))), "GtkImage 0,0 -1x-1 3");
  ASSERT_TRUE(p.statusIcon() && gtk_status_icon_get_storage_type(p.statusIcon()) == GTK_IMAGE_PIXBUF);
  p.SetTooltip("Current Song: 1 of 3\nCaf\xE9");
  EXPECT_STREQ(gtk_status_icon_get_tooltip_text(p.statusIcon()), "Current Song: 1 of 3\nCaf\xC3\xA9");

  std::vector<std::string> buttons;  // flat, showing their stock icon
  for (GtkWidget* button : FindAll(p.skinArea(), GTK_TYPE_BUTTON)) {
    gchar* stock = nullptr;
    gtk_image_get_stock(GTK_IMAGE(GTK_BIN(button)->child), &stock, nullptr);
    buttons.push_back(stock + std::string(gtk_button_get_relief(GTK_BUTTON(button)) == GTK_RELIEF_NONE ? "" : " raised"));
    gtk_button_clicked(GTK_BUTTON(button));
  }
  EXPECT_EQ(buttons, (std::vector<std::string>{"gtk-media-previous", "gtk-media-rewind", "gtk-media-play",
      "gtk-media-pause", "gtk-media-forward", "gtk-media-next", "gtk-open", "gtk-convert", "gtk-preferences", "gtk-quit"}));

  std::vector<std::string> entries = {"File(s)|gtk-file", "Folder|gtk-directory", "Playlist|gtk-about", "---",
                                      "/dev/sr0|gtk-cdrom", "/dev/cdrw|gtk-cdrom"};  // "_" marks a mnemonic
  for (int menus = 0; menus < 2; ++menus) {  // the add menu from the open button, then the status icon's
    if (menus == 1) {
      entries.insert(entries.end(), {"---", "Play|gtk-media-play", "Pause|gtk-media-pause", "---", "Preferences|gtk-preferences",
          "manage Playlists|gtk-convert", "---", "Exit|gtk-close", "---", "show Playlist|gtk-info", "Orvo M|(off)"});
      g_signal_emit_by_name(p.statusIcon(), "popup-menu", 3u, 0u);
    }
    GtkWidget* menu = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      GList* windows = gtk_window_list_toplevels();
      for (GList* w = windows; w != nullptr; w = w->next) {
        if (GTK_IS_MENU(GTK_BIN(w->data)->child) && GTK_WIDGET_MAPPED(GTK_BIN(w->data)->child)) menu = GTK_BIN(w->data)->child;
      }
      g_list_free(windows);
      return menu != nullptr;
    }));
    EXPECT_EQ(Entries(menu), entries);
    bool gone = false;
    g_object_weak_ref(G_OBJECT(menu), [](gpointer flag, GObject*) { *static_cast<bool*>(flag) = true; }, &gone);
    gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu));
    EXPECT_TRUE(WaitFor([&] { return gone; }));
  }
  EXPECT_EQ(f.cd.DriveName(), "/dev/cd_rw") << "the last drive stays selected";
  SendDelete(p.window());  // the close request, once no menu holds the pointer
  EXPECT_EQ(f.actions.calls, (std::vector<std::string>{"PlaySong a.mp3", "PlaySong a.mp3", "StartPlayback", "TogglePause",
      "PlaySong b.mp3", "PlaySong c.mp3", "OpenPlaylistManager", "OpenPreferences", "Quit", "Quit"}));
  EXPECT_TRUE(GTK_WIDGET_MAPPED(window));
  f.actions.calls.clear();
  for (GtkWidget* item : FindAll(p.menus().BuildStatusIconMenu(), GTK_TYPE_MENU_ITEM)) gtk_menu_item_activate(GTK_MENU_ITEM(item));
  EXPECT_EQ(f.actions.calls, (std::vector<std::string>{"AddFiles", "AddFolder", "LoadPlaylist", "PlayAudioCd 0",
      "PlayAudioCd 1", "StartPlayback", "TogglePause", "OpenPreferences", "OpenPlaylistManager", "Quit", "ShowPlaylistWindow"}));
}

}  // namespace
}  // namespace orvo::test
