#include "ui/windows/playlist_window.h"

#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

// Each song with title, artist and path, or by its path alone without tags;
// the last occurrence of the current song selected; the list following the
// window's size. Its close box hides it at once, although its own loop can
// only end after the handler running inside it. An empty playlist opens nothing.
TEST_F(WindowFixture, PlaylistWindow_ListsSongsAndSelectsTheCurrentOne) {
  const std::string tagged = dir + "caf\xe9.mp3", plain = dir + "plain.mp3", wav = folder.file("t.wav");
  ASSERT_EQ(std::system(("sox -n -r 44100 -c 1 " + wav + " synth 0.2 sine 440 && lame --quiet " + wav + " '" + plain +
                         "' && lame --quiet --id3v1-only --tt Title --ta Band " + wav + " '" + tagged + "'").c_str()), 0);
  for (const std::string& path : {tagged, plain, tagged}) playlist.append(path);
  playlist.select(0);
  bool ran = false;
  WhenShown("Playlist", [&](GtkWidget* window) {
    GtkTreeView* list = GTK_TREE_VIEW(FindAll(window, GTK_TYPE_TREE_VIEW)[0]);
    std::string rows;
    for (int column = 0; column < 3; ++column) {
      GtkTreeViewColumn* c = gtk_tree_view_get_column(list, column);
      rows += gtk_tree_view_column_get_title(c) + std::to_string(gtk_tree_view_column_get_fixed_width(c)) + ":";
      GtkTreeIter row;
      for (bool valid = gtk_tree_model_get_iter_first(gtk_tree_view_get_model(list), &row); valid;
           valid = gtk_tree_model_iter_next(gtk_tree_view_get_model(list), &row)) {
        gchar* text = nullptr;
        gtk_tree_model_get(gtk_tree_view_get_model(list), &row, column, &text, -1);
        rows += std::string(text) + (gtk_tree_selection_iter_is_selected(gtk_tree_view_get_selection(list), &row) ? "* " : " ");
        g_free(text);
      }
    }
    EXPECT_EQ(rows, "Titel400:Title " + plain + " Title* Artist150:Band  Band* path150:" + dir + "caf\xc3\xa9.mp3 " +
                        " " + dir + "caf\xc3\xa9.mp3* ");
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(window)), GTK_WINDOW(player));
    EXPECT_TRUE(WaitFor([&] { return window->allocation.width == 400 && window->allocation.height == 450; }));
    gtk_window_resize(GTK_WINDOW(window), 600, 500);
    EXPECT_TRUE(WaitFor([&] { return Describe(GTK_WIDGET(list)->parent) == "GtkScrolledWindow 10,10 590x490"; }));
    SendDelete(window);
    ran = !GTK_WIDGET_VISIBLE(window);
  });
  PlaylistWindow(context).Open();
  EXPECT_TRUE(ran);
  EXPECT_EQ(playlist.index(), 2) << "the walk leaves the cursor on the last entry";
  playlist.clear();
  WhenShown("Playlist", [&](GtkWidget* window) { ran = false, SendDelete(window); });
  PlaylistWindow(context).Open();
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace orvo::test
