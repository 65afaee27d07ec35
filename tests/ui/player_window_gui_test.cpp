#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

std::string Entries(GtkWidget* menu) {
  std::string texts;
  for (GtkWidget* item : FindAll(menu, GTK_TYPE_MENU_ITEM)) {
    texts += GTK_IS_SEPARATOR_MENU_ITEM(item) ? "--"
                                              : gtk_label_get_text(GTK_LABEL(GTK_BIN(item)->child));
    texts += GTK_WIDGET_SENSITIVE(item) ? " " : "(off) ";
  }
  return texts;
}

// The player from a skin description that only moves the control row, with two CD drives: the
// window, where the description and the defaults put its parts, what each button, the close
// request and each menu entry lead to; the menus, which go once closed.
TEST(PlayerWindowGui, SkinAndDefaults_LayoutButtonsAndMenus) {
  PlayerFixture f;
  f.cd.OpenSources({"/dev/sr0", "/dev/cd_rw"});
  for (const char* song : {"a.mp3", "b.mp3"}) f.playlist.append(song);
  PlayerWindow& p = f.Build("[control]\ncontrolx=28\nheigth=36\n");
  GtkWindow* window = GTK_WINDOW(p.window());
  EXPECT_EQ(gtk_window_get_title(window) + std::string(gtk_window_get_icon_name(window)),
            "Orvo M gtk-media-play");
  EXPECT_TRUE(!gtk_window_get_resizable(window) && gtk_window_get_skip_taskbar_hint(window) &&
              p.statusIcon());
  EXPECT_TRUE(GTK_WIDGET_APP_PAINTABLE(window) && p.alphaSupported() && f.symbols.canPaint());
  std::string layout = Describe(p.window());  // the skin image first, under all
  for (GtkWidget* w : FindAll(p.skinArea(), GTK_TYPE_WIDGET))
    layout += w->parent == p.skinArea() ? "|" + Describe(w) + (GTK_WIDGET_VISIBLE(w) ? "" : "?") : "";
  EXPECT_EQ(layout,
            "GtkWindow -1 -1 400 100|GtkImage 0 0 -1 -1|GtkHBox 28 35 300 36|GtkHBox 280 35 100 35|"
            "Orvo M - Orvo Media Player 100 10 200 20");
  for (GtkWidget* button : FindAll(p.skinArea(), GTK_TYPE_BUTTON))
    gtk_button_clicked(GTK_BUTTON(button));
  GtkWidget* menu = nullptr;  // the add menu, from the open button
  ASSERT_TRUE(WaitFor([&] { return Shown("") && GTK_IS_MENU(menu = GTK_BIN(Shown(""))->child); }));
  EXPECT_EQ(Entries(menu), "File(s) Folder Playlist -- /dev/sr0 /dev/cdrw ");  // "_": mnemonic
  g_object_weak_ref(
      G_OBJECT(menu), [](gpointer m, GObject*) { *(GtkWidget**)m = nullptr; }, &menu);
  gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu));
  EXPECT_TRUE(WaitFor([&] { return menu == nullptr; }));
  SendDelete(p.window());
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
}

}  // namespace
}  // namespace orvo::test
