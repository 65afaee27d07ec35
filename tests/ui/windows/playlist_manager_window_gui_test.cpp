#include "ui/windows/playlist_manager_window.h"

#include <algorithm>

#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

std::vector<std::string> Rows(GtkWidget* window, int list, int column = 0, const std::vector<int>& select = {}) {
  GtkTreeView* view = GTK_TREE_VIEW(FindAll(window, GTK_TYPE_TREE_VIEW)[list]);
  std::vector<std::string> rows;
  GtkTreeIter row;
  for (bool valid = gtk_tree_model_get_iter_first(gtk_tree_view_get_model(view), &row); valid;
       valid = gtk_tree_model_iter_next(gtk_tree_view_get_model(view), &row)) {
    gchar* text = nullptr;
    gtk_tree_model_get(gtk_tree_view_get_model(view), &row, column, &text, -1);
    if (std::count(select.begin(), select.end(), rows.size())) gtk_tree_selection_select_iter(gtk_tree_view_get_selection(view), &row);
    rows.emplace_back(text);
    g_free(text);
  }
  return rows;
}

// Answers the next untitled (message) or save dialog.
void Answer(const char* title, int response, const std::string& name = "") {
  WhenShown(title, [=](GtkWidget* dialog) {
    if (!name.empty()) gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(dialog), name.c_str());
    // A chooser takes an accepted name only once it has read its folder.
    g_timeout_add_full(G_PRIORITY_DEFAULT, 10, [](gpointer d) -> gboolean {
      if (GTK_WIDGET_VISIBLE(d)) gtk_dialog_response(GTK_DIALOG(d), GPOINTER_TO_INT(g_object_get_data(G_OBJECT(d), "r")));
      return GTK_WIDGET_VISIBLE(d);
    }, g_object_ref(dialog), g_object_unref);
    g_object_set_data(G_OBJECT(dialog), "r", GINT_TO_POINTER(response));
  });
}

// A session: the current playlist's file opened, songs searched for, added
// and removed, the file saved over, a failed save, the file deleted.
TEST_F(WindowFixture, PlaylistManager_SearchesBuildsSavesAndDeletes) {
  WriteBytes(dir + "b.m3u", "x.mp3\r\n\r\ny.mp3");
  playlist.append("/s/1.mp3");
  playlist.filePath = dir + "b.m3u";
  RunWindow("Manage Playlists", [&] {
    PlaylistManagerWindow(context, [&] { return foundFiles.append("/m/a.mp3"), foundFiles.append("/m/s/b b.ogg"), true; }).Open();
  }, [&](GtkWidget* window) {
    GtkComboBox* chooser = GTK_COMBO_BOX(FindAll(window, GTK_TYPE_COMBO_BOX)[0]);
    EXPECT_EQ(gtk_combo_box_get_active_text(chooser), dir + "b.m3u");
    EXPECT_EQ(Rows(window, 1), (std::vector<std::string>{"x.mp3", "y.mp3"}));
    std::vector<std::string> controls;
    for (GtkWidget* w : FindAll(window, GTK_TYPE_WIDGET)) if (w->parent == FindAll(window, GTK_TYPE_FIXED)[0]) controls.push_back(Describe(w));
    std::sort(controls.begin(), controls.end());
    EXPECT_EQ(controls, (std::vector<std::string>{"+ 300,150 40x40", "- 300,250 40x40", "Found files 10,10 200x20",
        "GtkComboBoxText 350,50 280x30", "GtkScrolledWindow 10,50 280x370", "GtkScrolledWindow 350,90 280x300",
        "Playlist(s) 350,10 200x20", "clear 190,440 100x30", "delete 445,400 80x30", "exit 530,440 100x30",
        "save 350,400 80x30", "search 10,440 100x30"}));
    const GdkColor bg = window->style->bg[GTK_STATE_NORMAL];
    gint x = 0, y = 0, width = 0, height = 0;
    gtk_window_get_position(GTK_WINDOW(window), &x, &y);
    gtk_window_get_default_size(GTK_WINDOW(window), &width, &height);
    EXPECT_EQ(std::vector<int>({bg.red / 257, bg.green / 257, bg.blue / 257, x, y, width, height}),
              std::vector<int>({208, 248, 172, 123, 77, 640, 480}));
    EXPECT_TRUE(PlayerIs(GDK_WINDOW_STATE_ICONIFIED));
    Click(window, "search");
    EXPECT_EQ(Rows(window, 0, 0, {1}), (std::vector<std::string>{"a.mp3", "b b.ogg"}));
    EXPECT_EQ(Rows(window, 0, 1), (std::vector<std::string>{"/m/", "/m/s/"}));
    EXPECT_EQ(NotificationLog().WaitForSummary("Found files")->body, "search has found 2 files");
    Click(window, "+");
    Rows(window, 1, 0, {0});
    Click(window, "-");
    Answer("save Playlist as", GTK_RESPONSE_ACCEPT);  // over the selected file
    Click(window, "save");
    EXPECT_EQ(ReadBytes(dir + "b.m3u"), "y.mp3\n/m/s/b b.ogg\n");
    EXPECT_EQ(NotificationLog().WaitForSummary("Saved")->body, "there were 2 files saved in the Playlist");
    mkfifo((dir + "x.m3u").c_str(), 0600);  // no file a playlist may replace
    Answer("save Playlist as", GTK_RESPONSE_ACCEPT, "x");
    Answer("", GTK_RESPONSE_OK);
    Click(window, "save");
    EXPECT_EQ(NotificationLog().Read().size(), 2u) << "no second bubble";
    Answer("", GTK_RESPONSE_OK);
    Click(window, "delete");
    EXPECT_FALSE(Exists(dir + "b.m3u"));
    EXPECT_EQ(gtk_combo_box_get_active_text(chooser), std::string("create a Playlist"));
  });
  EXPECT_TRUE(foundFiles.empty());
  EXPECT_FALSE(PlayerIs(GDK_WINDOW_STATE_ICONIFIED));
  // A player minimised already stays so.
  gtk_window_iconify(GTK_WINDOW(player));
  RunWindow("Manage Playlists", [&] { PlaylistManagerWindow(context, nullptr).Open(); }, [](GtkWidget*) {});
  EXPECT_TRUE(PlayerIs(GDK_WINDOW_STATE_ICONIFIED));
}

}  // namespace
}  // namespace orvo::test
