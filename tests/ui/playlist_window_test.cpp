#include "ui/windows/playlist_window.h"

#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

class PlaylistWindowTest : public WindowFixture {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder;
    songs = folder_->path();
    MakeMp3(songs + "first.mp3", "First Song", "Band");
    MakeMp3(songs + "plain.mp3", "", "");
    MakeMp3(songs + "caf\xe9.mp3", "Caf\xe9", "Art\xefste");
  }
  static void TearDownTestSuite() { delete folder_; }

  void Fill(std::initializer_list<const char*> names) {
    for (const char* name : names) playlist.add(songs + name);
  }

  // Opens the window, runs `check` on it once shown, then closes it.
  void OpenAndCheck(const std::function<void(GtkWidget* window, GtkTreeView* list)>& check) {
    RunWindow("Playlist", [this] { PlaylistWindow(context).Open(); }, [&](GtkWidget* window) {
      const std::vector<GtkWidget*> views = FindAll(window, GTK_TYPE_TREE_VIEW);
      ASSERT_EQ(views.size(), 1u);
      check(window, GTK_TREE_VIEW(views.front()));
    }, nullptr);
  }

  static TempFolder* folder_;
  static std::string songs;
};

TempFolder* PlaylistWindowTest::folder_ = nullptr;
std::string PlaylistWindowTest::songs;

TEST_F(PlaylistWindowTest, Open_ThreeSongs_RowsFromTagsOrPathAndCurrentSongSelected) {
  Fill({"first.mp3", "plain.mp3", "caf\xe9.mp3"});
  playlist.select(2);
  OpenAndCheck([&](GtkWidget*, GtkTreeView* list) {
    const std::string third = "Caf\xc3\xa9";  // shown as UTF-8
    EXPECT_EQ(ColumnTexts(list, 0),
              (std::vector<std::string>{"First Song", songs + "plain.mp3", third}));
    EXPECT_EQ(ColumnTexts(list, 1), (std::vector<std::string>{"Band", "", "Art\xc3\xafste"}));
    EXPECT_EQ(ColumnTexts(list, 2),
              (std::vector<std::string>{songs + "first.mp3", "", songs + "caf\xc3\xa9.mp3"}));
    EXPECT_EQ(SelectedRows(list), std::vector<int>{2});
  });
  EXPECT_EQ(playlist.index(), 2) << "the walk leaves the cursor on the last entry";
}

TEST_F(PlaylistWindowTest, Open_Selection_LastOccurrenceOfCurrentSongOrNothing) {
  Fill({"first.mp3", "plain.mp3", "first.mp3", "plain.mp3"});
  playlist.select(0);
  OpenAndCheck([&](GtkWidget*, GtkTreeView* list) {
    EXPECT_EQ(ColumnTexts(list, 0).size(), 4u);
    EXPECT_EQ(SelectedRows(list), std::vector<int>{2});
    EXPECT_EQ(gtk_tree_selection_get_mode(gtk_tree_view_get_selection(list)), GTK_SELECTION_SINGLE);
  });
  EXPECT_EQ(playlist.index(), 3);

  playlist.clear();
  Fill({"first.mp3", "plain.mp3"});
  playlist.reset();
  OpenAndCheck([&](GtkWidget*, GtkTreeView* list) { EXPECT_TRUE(SelectedRows(list).empty()); });
  // An emptied (refused) entry under the cursor remembers nothing either,
  // although an empty path is listed as a row of its own.
  playlist.select(0);
  playlist.setCurrent("");
  OpenAndCheck([&](GtkWidget*, GtkTreeView* list) {
    EXPECT_EQ(ColumnTexts(list, 0).size(), 2u);
    EXPECT_TRUE(SelectedRows(list).empty());
  });
}

TEST_F(PlaylistWindowTest, OpenAndResize_WindowLayoutFrameAndListFollowingTheSize) {
  Fill({"first.mp3"});
  OpenAndCheck([&](GtkWidget* window, GtkTreeView* list) {
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(window)), GTK_WINDOW(player));
    EXPECT_TRUE(gtk_window_get_resizable(GTK_WINDOW(window)));
    gint x = -1, y = -1;
    gtk_window_get_position(GTK_WINDOW(window), &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    // The size is known once the X server has answered.
    EXPECT_TRUE(WaitForSize(window, 400, 450));
    EXPECT_EQ(PlacementOf(gtk_widget_get_parent(GTK_WIDGET(list))), (Placement{10, 10, 380, 430}));
    EXPECT_EQ(Decorations(window), GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_RESIZEH | GDK_DECOR_MENU);
    EXPECT_EQ(RequestedFunctions(window), GDK_FUNC_MOVE | GDK_FUNC_RESIZE | GDK_FUNC_CLOSE);
    const char* titles[] = {"Titel", "Artist", "path"};
    const int widths[] = {400, 150, 150};
    for (int i = 0; i < 3; ++i) {
      GtkTreeViewColumn* column = gtk_tree_view_get_column(list, i);
      ASSERT_NE(column, nullptr);
      EXPECT_STREQ(gtk_tree_view_column_get_title(column), titles[i]);
      EXPECT_EQ(gtk_tree_view_column_get_fixed_width(column), widths[i]);
    }
    EXPECT_EQ(gtk_tree_view_get_column(list, 3), nullptr);
    EXPECT_TRUE(gtk_tree_view_get_headers_visible(list));

    // Resized, the list keeps its place and a margin of ten.
    GtkWidget* scrolled = gtk_widget_get_parent(GTK_WIDGET(list));
    gtk_window_resize(GTK_WINDOW(window), 600, 500);
    EXPECT_TRUE(WaitFor([&] { return PlacementOf(scrolled) == Placement{10, 10, 590, 490}; }))
        << PlacementOf(scrolled).width << "x" << PlacementOf(scrolled).height;
    // Smaller again: the list's request must not keep the window large.
    gtk_window_resize(GTK_WINDOW(window), 200, 100);
    EXPECT_TRUE(WaitFor([&] { return PlacementOf(scrolled) == Placement{10, 10, 190, 90}; }));
  });
}

TEST_F(PlaylistWindowTest, Open_EmptyPlaylist_ShowsNothingAndReturns) {
  bool shown = false;
  WhenShown("Playlist", [&](GtkWidget* window) {
    shown = true;
    SendDelete(window);
  });
  PlaylistWindow(context).Open();
  PumpFor(100);
  EXPECT_FALSE(shown);
  EXPECT_TRUE(Toplevels("Playlist").empty());
}

}  // namespace
}  // namespace orvo::test
