// The three secondary windows, each running its own loop.
#include <algorithm>
#include <numeric>

#include "tests/ui/gui_support.h"
#include "ui/dialogs/file_chooser.h"
#include "ui/windows/playlist_manager_window.h"
#include "ui/windows/playlist_window.h"
#include "ui/windows/preferences_window.h"
#include "ui/windows/speed_field.h"

namespace orvo::test {
namespace {

// Every control of the window's GtkFixed, described, in order or sorted.
std::string Controls(GtkWidget* window, bool sorted = false) {
  std::vector<std::string> controls;
  for (GtkWidget* w : FindAll(window, GTK_TYPE_WIDGET)) {
    if (GTK_IS_FIXED(w->parent)) controls.push_back(Describe(w) + "|");
  }
  if (sorted) std::sort(controls.begin(), controls.end());
  return std::accumulate(controls.begin(), controls.end(), std::string());
}

// The texts in `column` of the `list`-th list, "*" after a selected row's;
// the row numbered `select` gets selected first.
std::string Rows(GtkWidget* window, int list, int column, int select = -1) {
  GtkTreeView* view = GTK_TREE_VIEW(FindAll(window, GTK_TYPE_TREE_VIEW)[list]);
  GtkTreeModel* model = gtk_tree_view_get_model(view);
  GtkTreeSelection* selection = gtk_tree_view_get_selection(view);
  std::string rows;
  GtkTreeIter row;
  for (int n = 0; gtk_tree_model_iter_nth_child(model, &row, nullptr, n); ++n) {
    gchar* text = nullptr;
    gtk_tree_model_get(model, &row, column, &text, -1);
    if (n == select) gtk_tree_selection_select_iter(selection, &row);
    rows += text + std::string(gtk_tree_selection_iter_is_selected(selection, &row) ? "*|" : "|");
    g_free(text);
  }
  return rows;
}

// Each song by its title, else its path; the current song's last occurrence selected; the close
// box hides the window at once, though its loop ends only after the handler running in it. An
// empty playlist opens nothing.
TEST_F(WindowFixture, PlaylistWindow_ListsSongsAndSelectsTheCurrentOne) {
  ASSERT_EQ(std::system(("cd '" + dir +
                         "' && sox -n t.wav synth 0.2 sine 440 && lame --quiet t.wav plain.mp3 " +
                         "&& lame --quiet --id3v1-only --tt Title t.wav song.mp3")
                            .c_str()),
            0);
  for (const char* name : {"song.mp3", "plain.mp3", "song.mp3", "plain.mp3"})
    playlist.append(dir + name);
  playlist.select(0);
  std::string seen;
  for (int open = 0; open < 2; ++open, playlist.clear()) {
    WhenShown("Playlist", [&](GtkWidget* window) {
      GtkTreeView* list = GTK_TREE_VIEW(FindAll(window, GTK_TYPE_TREE_VIEW)[0]);
      const bool resizable = gtk_tree_view_column_get_resizable(gtk_tree_view_get_column(list, 2));
      gint x = 1, y = 1;
      gtk_window_get_position(GTK_WINDOW(window), &x, &y);
      seen = Rows(window, 0, 0) + Controls(window) + (resizable ? "" : "fixed ") +
             std::to_string(x + y);
      SendDelete(window);
      seen += GTK_WIDGET_VISIBLE(window) ? "shown" : "hidden";
    });
    PlaylistWindow(context).Open();
  }
  EXPECT_EQ(seen, "Title|" + dir + "plain.mp3|Title*|" + dir +
                      "plain.mp3|GtkScrolledWindow 10 10 380 430|0hidden");
}

// Accepts the file chooser's file, which it takes only once it has read its
// folder, so the answer is repeated until the chooser has gone.
gboolean AcceptOnceReady(gpointer chooser) {
  if (GTK_WIDGET_VISIBLE(chooser))
    return gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT), TRUE;
  g_object_unref(chooser);
  return FALSE;
}

// Every control at its place; a search, a song added and the current playlist's file saved over,
// the player minimised meanwhile; a player minimised already stays so.
TEST_F(WindowFixture, PlaylistManager_SearchAddAndSave) {
  WriteBytes(dir + "b.m3u", "x.mp3\r\n\r\ny.mp3");
  playlist.filePath = dir + "b.m3u";
  auto open = [&] {
    PlaylistManagerWindow(context, [&] { return foundFiles.append("/m/a.mp3"), true; }).Open();
  };
  RunWindow("Manage Playlists", open, [&](GtkWidget* window) {
    gint width = 0, height = 0;
    gtk_window_get_default_size(GTK_WINDOW(window), &width, &height);
    const GdkColor bg = window->style->bg[GTK_STATE_NORMAL];  // 208, 248, 172 in 16 bits
    EXPECT_EQ(
        Controls(window, true) + std::to_string(width) + " " + std::to_string(height) + " " +
            std::to_string(bg.red) + "," + std::to_string(bg.green) + "," + std::to_string(bg.blue) + " " +
            std::to_string(PlayerIs(GDK_WINDOW_STATE_ICONIFIED)),
        "+ 300 150 40 40|- 300 250 40 40|Found files 10 10 200 20|GtkComboBoxText 350 50 280 30|"
        "GtkScrolledWindow 10 50 280 370|GtkScrolledWindow 350 90 280 300|"
        "Playlist(s) 350 10 200 20|clear 190 440 100 30|delete 445 400 80 30|exit 530 440 100 30|"
        "save 350 400 80 30|search 10 440 100 30|640 480 53456,63736,44204 1");
    Click(window, "search");
    Rows(window, 0, 0, 0);
    Click(window, "+");
    EXPECT_EQ(Rows(window, 0, 1) + Rows(window, 1, 0), "/m/*|x.mp3|y.mp3|/m/a.mp3|");
    const std::string found = NotificationCalls(1).back();
    EXPECT_EQ(Field(found, "summary") + Field(found, "body"), R"("Found files""search has found 1 files")");
    WhenShown("save Playlist as", [](GtkWidget* chooser) {
      EXPECT_STREQ(gtk_file_filter_get_name(gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(chooser))),
                   "Playlist");
      g_timeout_add(10, AcceptOnceReady, g_object_ref(chooser));
    });
    Click(window, "save");
    EXPECT_EQ(ReadBytes(dir + "b.m3u"), "x.mp3\ny.mp3\n/m/a.mp3\n");
    GtkComboBox* lists = GTK_COMBO_BOX(FindAll(window, GTK_TYPE_COMBO_BOX)[0]);
    auto listed = [&] { return gtk_tree_model_iter_n_children(gtk_combo_box_get_model(lists), nullptr); };
    EXPECT_EQ(listed(), 2);  // listed once
    Click(window, "clear");
    EXPECT_EQ(Rows(window, 0, 1) + std::to_string(foundFiles.count()), "0");
    gtk_combo_box_set_active(lists, 1);  // the saved list, deleted once the question is answered
    WhenShown("", [](GtkWidget* question) {
      gtk_dialog_response(GTK_DIALOG(question), GTK_RESPONSE_OK);
    });
    Click(window, "delete");
    EXPECT_EQ(std::to_string(gtk_combo_box_get_active(lists)) + ReadBytes(dir + "b.m3u") +
                  std::to_string(listed()),
              "0<missing>1");
  });
  EXPECT_TRUE(foundFiles.empty() && !PlayerIs(GDK_WINDOW_STATE_ICONIFIED));
  gtk_window_iconify(GTK_WINDOW(player->window()));
  RunWindow("Manage Playlists", open, [](GtkWidget*) {});
  EXPECT_TRUE(PlayerIs(GDK_WINDOW_STATE_ICONIFIED));
}

// At the player's place, the player minimised, every control at its place showing its setting;
// each box acting at once: "below" takes back "on top", also for the player (minimised, above,
// below: "1" each), forbidden decorations go; "exit" saves the speed clamped, restores the player.
TEST_F(WindowFixture, Preferences_BoxesActAtOnceAndExitSaves) {
  settings.repeat = settings.stay_top = skinRemembered = true;
  settings.cycle_title = 0;
  gtk_window_set_decorated(GTK_WINDOW(player->window()), TRUE);
  auto seen = [&](GtkWidget* window) {
    gint x = 0, y = 0;
    gtk_window_get_position(GTK_WINDOW(window), &x, &y);
    gint width = 0, height = 0;
    gtk_widget_get_size_request(window, &width, &height);
    std::string text = std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) +
                       "x" + std::to_string(height) + " ";
    for (int state : {GDK_WINDOW_STATE_ICONIFIED, GDK_WINDOW_STATE_ABOVE, GDK_WINDOW_STATE_BELOW}) {
      text += std::to_string(PlayerIs(state));
    }
    return text + "|" + Controls(window);
  };
  auto steps = [&](GtkWidget* window) {
    EXPECT_EQ(seen(window),
              "123,77 440x420 100|Repeat playlist 10 10 260 20 [x]|"
              "Play instantly after loading Playlist 10 40 260 20|"
              "Load last Playlist at startup 10 70 260 20|Start player minimized 10 100 260 20|"
              "Random Play 10 130 260 20|Cycle Title 10 160 260 20|GtkEntry 280 160 30 20 (off)|"
              "(Speed: 1 - 10) 320 160 150 20 (off)|"
              "Confirm on Exit if Playlist isn't saved 10 190 270 20|"
              "Always stay on top 10 220 260 20 [x]|Always below everything 10 250 260 20|"
              "Use Window-Decorations 10 280 260 20|Use last used Skin 10 310 260 20 [x]|"
              "Choose Skin 10 340 260 20|GtkComboBoxText 280 340 150 30|exit 330 385 100 30|");
    const std::vector<GtkWidget*> boxes = FindAll(window, GTK_TYPE_CHECK_BUTTON);
    gtk_entry_set_text(GTK_ENTRY(FindAll(window, GTK_TYPE_ENTRY)[0]), "25");
    for (int box : {0, 1, 2, 3, 4, 5, 6, 8, 9, 9}) gtk_button_clicked(GTK_BUTTON(boxes[box]));
    EXPECT_EQ(seen(window).substr(0, 18), "123,77 440x420 101");
    EXPECT_EQ(
        testing::PrintToString(std::vector<int>(
            {settings.repeat, settings.instantplay, settings.start_with_last_playlist,
             settings.start_minimized, settings.randomplay, settings.cycle_title,
             settings.cycle_time, settings.ask_on_exit, settings.stay_top, settings.stay_bottom,
             settings.use_wm_decorations, gtk_window_get_decorated(GTK_WINDOW(player->window()))})),
        "{ 0, 1, 1, 1, 1, 1, 25, 1, 0, 1, 0, 0 }");
  };
  RunWindow(
      "Preferences", [&] { EXPECT_TRUE(PreferencesWindow(context, nullptr).Open()); }, steps);
  EXPECT_EQ(settings.cycle_time + PlayerIs(GDK_WINDOW_STATE_ICONIFIED), 10);
  EXPECT_NE(ReadBytes(dir + "orvo.prefs").find("\ncycle_time = 10\n"), std::string::npos);
}

// The toolkit's chooser as the song adder asks for it: the filters by name, each by its pattern,
// the asked one selected, several files at once; cancelled, it gives nothing.
TEST_F(WindowFixture, FileChooser_FiltersThenCancel) {
  std::string seen;
  WhenShown("Add File(s)", [&](GtkWidget* dialog) {
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    GSList* filters = gtk_file_chooser_list_filters(chooser);
    for (GSList* f = filters; f != nullptr; f = f->next) {
      GtkFileFilterInfo song{GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr, "a.ogg", nullptr};
      seen += gtk_file_filter_get_name(GTK_FILE_FILTER(f->data)) +
              std::string(gtk_file_filter_filter(GTK_FILE_FILTER(f->data), &song) ? "+|" : "-|");
    }
    g_slist_free(filters);
    seen += gtk_file_filter_get_name(gtk_file_chooser_get_filter(chooser)) +
            std::to_string(gtk_file_chooser_get_select_multiple(chooser)) +
            std::to_string(gtk_file_chooser_get_action(chooser));
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
  });
  EXPECT_TRUE(RunFileChooser({"Add File(s)", FileChooserRequest::Action::kOpenFiles, true, dir,
                              "mp3-files|*.mp3|all files|*.*", 1})
                  .empty());
  EXPECT_EQ(seen, "mp3-files-|all files+|all files1" + std::to_string(GTK_FILE_CHOOSER_ACTION_OPEN));
}

TEST(ParseSpeedField, Texts_ReadLikeThePreferencesField) {
  const std::pair<const char*, int> rows[] = {
      {"$ff", 255}, {"$A", 10}, {"%101", 5}, {" 10", 10}, {"\t \t7", 7}, {"-3", -3}, {"+4", 4},
      {"-$10", -16}, {"12abc", 12}, {"%1021", 2}, {"$1g", 1}, {"0x10", 0}, {"5 6", 5}, {"abc", 0},
      {"", 0}, {"-", 0}, {"$", 0}, {"--1", 0}, {"99999999999999999999999", 2147483647},
      {"-$ffffffffffffffffffff", -2147483647}};
  for (const auto& [text, value] : rows) EXPECT_EQ(ParseSpeedField(text), value) << text;
}

}  // namespace
}  // namespace orvo::test
