#include "tests/ui/gui_support.h"
#include "ui/dialogs/message_box.h"

namespace orvo::test {
namespace {

// The window's place and requested size; each button row ("|": vertical) with
// its icon size; the label with the red of its colour; whether clicks count.
TEST(PlayerWindowGui, SkinDescriptions_PlaceWindowRowsAndLabel) {
  const std::string label = " Orvo M - Orvo Media Player ";
  const std::pair<std::string, std::string> rows[] = {
      {"", "0,0 400 100 - 40 35 300 35 4 - 280 35 100 35 4" + label + "100 10 200 20 0 clicks"},
      {"[control]\ncontrolx=5\ncontroly=6\ndirection=5\nwidth=40\nheigth=250\n[playercontrol]\n"
       "visible=2\n[player]\nbuttonsize=1\nwindowx=30\nwindowy=40\nglue=1\n[display]\ncolor=bad\n",
       "30,40 400 100 | 5 6 40 250 1" + label + "100 10 200 20 0"},
      {"[playerskin]\nwindowskin=b.png\n[playercontrol]\ndirection=1\nheight=9\n[display]\n"
       "displayx=12px\ndisplayy=abc\ncolor=#ff0000\n",
       "0,0 320 80 - 40 25 300 35 4 | 280 25 100 35 4" + label + "12 0 200 20 65535 clicks"}};
  for (const auto& [skin, layout] : rows) {
    PlayerFixture f;
    WriteSkinImage(f.dir + "b.png", 320, 80);
    GtkWidget* window = f.Build(skin).window();
    gint x = 0, y = 0, size = 0;
    gtk_window_get_position(GTK_WINDOW(window), &x, &y);
    std::string seen = std::to_string(x) + "," + std::to_string(y) + Describe(window).substr(15);
    for (GtkWidget* row : FindAll(f.player->skinArea(), GTK_TYPE_BOX)) {
      gtk_image_get_stock(GTK_IMAGE(FindAll(row, GTK_TYPE_IMAGE)[0]), 0, (GtkIconSize*)&size);
      seen +=
          (GTK_IS_VBOX(row) ? " |" : " -") + Describe(row).substr(7) + " " + std::to_string(size);
    }
    GtkWidget* text = f.player->displayLabel();
    seen += " " + Describe(text) + " " + std::to_string(text->style->fg[GTK_STATE_NORMAL].red);
    EXPECT_EQ(seen + (gtk_widget_get_events(window) & GDK_BUTTON_PRESS_MASK ? " clicks" : ""),
              layout);
  }
}

std::string Entries(GtkWidget* menu) {
  std::string texts;
  for (GtkWidget* item : FindAll(menu, GTK_TYPE_MENU_ITEM)) {
    texts += GTK_IS_SEPARATOR_MENU_ITEM(item) ? "--"
                                              : gtk_label_get_text(GTK_LABEL(GTK_BIN(item)->child));
    texts += GTK_WIDGET_SENSITIVE(item) ? " " : "(off) ";
  }
  return texts;
}

// The default player with two CD drives: the window; what each button, the
// close request, each menu entry, a click and the status icon lead to.
TEST(PlayerWindowGui, DefaultSkin_ButtonsMenusClicksAndStatusIcon) {
  PlayerFixture f;
  f.cd.OpenSources({"/dev/sr0", "/dev/cd_rw"});
  f.playlist.append("a.mp3");
  f.playlist.append("b.mp3");
  f.settings.use_wm_decorations = true;
  PlayerWindow& p = f.Build("");
  GtkWindow* window = GTK_WINDOW(p.window());
  EXPECT_EQ(gtk_window_get_title(window) + std::string(gtk_window_get_icon_name(window)),
            "Orvo M gtk-media-play");
  EXPECT_TRUE(!gtk_window_get_resizable(window) && gtk_window_get_skip_taskbar_hint(window));
  EXPECT_TRUE(GTK_WIDGET_APP_PAINTABLE(window) && p.alphaSupported() && f.symbols.canPaint());
  EXPECT_EQ(Describe(FindAll(p.skinArea(), GTK_TYPE_IMAGE)[0]), "GtkImage 0 0 -1 -1");  // under all
  for (GtkWidget* button : FindAll(p.skinArea(), GTK_TYPE_BUTTON))
    gtk_button_clicked(GTK_BUTTON(button));
  GtkWidget* menu = nullptr;  // the add menu, from the open button
  ASSERT_TRUE(WaitFor([&] { return Shown("") && GTK_IS_MENU(menu = GTK_BIN(Shown(""))->child); }));
  EXPECT_EQ(Entries(menu), "File(s) Folder Playlist -- /dev/sr0 /dev/cdrw ");  // "_": mnemonic
  g_object_weak_ref(
      G_OBJECT(menu), [](gpointer m, GObject*) { *(GtkWidget**)m = nullptr; }, &menu);
  gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu));
  EXPECT_TRUE(WaitFor([&] { return menu == nullptr; })) << "a closed menu goes";
  Send(p.window(), GDK_DELETE);
  for (GtkWidget* item : FindAll(p.menus().BuildStatusIconMenu(), GTK_TYPE_MENU_ITEM)) {
    gtk_menu_item_activate(GTK_MENU_ITEM(item));
  }
  std::string calls;
  for (const std::string& call : f.actions.calls) calls += call + ", ";
  EXPECT_EQ(calls,
            "PlaySong a.mp3, PlaySong a.mp3, StartPlayback, TogglePause, PlaySong b.mp3, "
            "PlaySong b.mp3, OpenPlaylistManager, OpenPreferences, Quit, Quit, AddFiles, "
            "AddFolder, LoadPlaylist, PlayAudioCd 0, PlayAudioCd 1, StartPlayback, TogglePause, "
            "OpenPreferences, OpenPlaylistManager, Quit, ShowPlaylistWindow, ");
  f.cd.OpenSources({});
  EXPECT_EQ(Entries(p.menus().BuildStatusIconMenu()),
            "File(s) Folder Playlist -- -- Play Pause -- Preferences manage Playlists -- Exit -- "
            "show Playlist Orvo M(off) ");
  for (bool framed : {true, false}) {  // clicks on the skin bring the frame and take it away
    Send(p.window(), GDK_BUTTON_PRESS);
    EXPECT_EQ(gtk_window_get_decorated(window), framed);
  }
  p.SetTooltip("Song: Caf\xE9");
  EXPECT_STREQ(gtk_status_icon_get_tooltip_text(p.statusIcon()), "Song: Caf\xC3\xA9");
  gtk_widget_hide(p.window());  // without a window manager, minimising shows while hidden
  for (bool minimised : {true, false}) {
    g_signal_emit_by_name(p.statusIcon(), "activate");
    EXPECT_TRUE(WaitFor([&] { return p.iconified() == minimised; }));
    EXPECT_EQ(p.NotificationAnchor(), minimised ? nullptr : p.openButton());
  }
}

// The box for skin problems: 100 x 50 by default, the text padded by 10, OK
// focused, the window manager offered no close function; gone once answered.
TEST(PlayerWindowGui, MessageBox_ShowsItsTextUntilOk) {
  std::string seen;
  WhenShown("Loadimage failed", [&](GtkWidget* box) {
    GtkWidget* label = FindAll(box, GTK_TYPE_LABEL)[0];
    gint width = 0, height = 0;
    gtk_window_get_default_size(GTK_WINDOW(box), &width, &height);
    GdkWMDecoration decorations{};
    gdk_window_get_decorations(box->window, &decorations);
    for (int value : {int{GTK_MISC(label)->xpad}, int{GTK_MISC(label)->ypad}, width, height,
                      int(decorations)}) {
      seen += std::to_string(value) + " ";
    }
    seen += Describe(label) + (GTK_WIDGET_VISIBLE(label) ? " " : " hidden ");
    seen += Describe(gtk_window_get_focus(GTK_WINDOW(box)));
    Click(box, "gtk-ok");
  });
  MessageBox("Loadimage failed", "image = caf\xE9.png");
  EXPECT_EQ(seen, "10 10 100 50 " +
                      std::to_string(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU |
                                     GDK_DECOR_MINIMIZE) +
                      " image = caf\xC3\xA9.png -1 -1 -1 -1 gtk-ok -1 -1 -1 -1");
  EXPECT_EQ(Shown("Loadimage failed"), nullptr);
}

}  // namespace
}  // namespace orvo::test
