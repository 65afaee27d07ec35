#include "ui/windows/playlist_manager_window.h"

#include <sys/stat.h>

#include <algorithm>
#include <deque>
#include <optional>

#include "tests/ui/gui_support.h"

namespace orvo::test {
namespace {

struct ManagerView {
  GtkWidget* window;
  GtkTreeView* found;
  GtkTreeView* content;
  GtkComboBox* chooser;
};

void Click(const ManagerView& view, const char* label) {
  GtkWidget* button = FindButton(view.window, label);
  ASSERT_NE(button, nullptr) << label;
  gtk_button_clicked(GTK_BUTTON(button));
}

// Drops `uris` on the list as the toolkit delivers a finished drop.
void Drop(GtkTreeView* list, std::vector<const char*> uris) {
  GtkSelectionData data{};  // a public struct in this toolkit version
  data.target = gdk_atom_intern("text/uri-list", FALSE);
  data.display = gdk_display_get_default();
  uris.push_back(nullptr);
  ASSERT_TRUE(gtk_selection_data_set_uris(&data, const_cast<gchar**>(uris.data())));
  GdkDragContext* drag = gdk_drag_context_new();
  g_signal_emit_by_name(list, "drag-data-received", drag, 5, 5, &data, 0u, GDK_CURRENT_TIME);
  g_object_unref(drag);
  g_free(data.data);
}

class PlaylistManagerTest : public WindowFixture {
 protected:
  // Opens the manager, runs `steps` once it is shown, then presses "exit"
  // or sends the close request.
  void Run(const std::function<void(const ManagerView&)>& steps, bool closeBox = false) {
    RunWindow(
        "Manage Playlists", [this] { PlaylistManagerWindow(context, [this] { return Search(); }).Open(); },
        [&](GtkWidget* window) {
          const std::vector<GtkWidget*> views = FindAll(window, GTK_TYPE_TREE_VIEW);
          const std::vector<GtkWidget*> combos = FindAll(window, GTK_TYPE_COMBO_BOX);
          ASSERT_EQ(views.size(), 2u);
          ASSERT_EQ(combos.size(), 1u);
          steps({window, GTK_TREE_VIEW(views[0]), GTK_TREE_VIEW(views[1]), GTK_COMBO_BOX(combos[0])});
        },
        closeBox ? nullptr : "exit");
    EXPECT_TRUE(foundFiles.empty()) << "closing empties the found files";
  }

  // The search double: each call takes the next result; nullopt is a
  // cancelled folder chooser, which leaves foundFiles alone.
  bool Search() {
    ++searches;
    if (searchResults.empty()) return false;
    const std::optional<std::vector<std::string>> result = searchResults.front();
    searchResults.pop_front();
    if (!result) return false;
    foundFiles.clear();
    for (const std::string& path : *result) foundFiles.append(path);
    return true;
  }

  // Saves through the chooser; `name` is typed into it unless empty.
  void SaveAs(const ManagerView& view, const std::string& name) {
    AnswerFileChooser([&](GtkFileChooser* chooser) {
      if (!name.empty()) gtk_file_chooser_set_current_name(chooser, name.c_str());
      return GTK_RESPONSE_ACCEPT;
    });
    Click(view, "save");
  }

  std::deque<std::optional<std::vector<std::string>>> searchResults;
  int searches = 0;
};

TEST_F(PlaylistManagerTest, Open_ListsPlaylistFilesAndLoadsTheCurrentPlaylistsFile) {
  WriteBytes(Dir() + "b.m3u", std::string("x.mp3\r\n\r\n#comment\ny.mp3\0z.mp3", 29));
  WriteBytes(Dir() + "a.m3u", "1.mp3\n");
  WriteBytes(Dir() + "C.M3U", "no\n");
  WriteBytes(Dir() + "notes.txt", "no\n");
  ASSERT_EQ(mkdir((Dir() + "folder.m3u").c_str(), 0700), 0);
  playlist.add("s1.mp3");
  playlist.add("s2.mp3");
  playlist.filePath = Dir() + "b.m3u";
  playlist.first();
  foundFiles.append("/old/search.mp3");
  std::vector<std::string> expected{"create a Playlist"};
  for (const std::string& name : ListedInFolder(Dir(), ".m3u")) {
    if (name != "folder.m3u") expected.push_back(Dir() + name);
  }
  Run([&](const ManagerView& view) {
    EXPECT_EQ(ColumnTexts(view.chooser), expected);
    EXPECT_EQ(ActiveText(view.chooser), Dir() + "b.m3u");
    EXPECT_EQ(ColumnTexts(view.content, 0),
              (std::vector<std::string>{"x.mp3", "#comment", "y.mp3", "z.mp3"}));
    EXPECT_TRUE(foundFiles.empty());
    gint x = 0, y = 0;
    gtk_window_get_position(GTK_WINDOW(view.window), &x, &y);
    EXPECT_EQ(x, kPlayerX);
    EXPECT_EQ(y, kPlayerY);
  });
  EXPECT_EQ(playlist.index(), 1) << "the walk leaves the cursor on the last entry";
  EXPECT_EQ(playlist.count(), 2u) << "the current playlist itself is never changed";
}

TEST_F(PlaylistManagerTest, Open_CurrentFileNotListed_ShowsItsSongsWithoutSelection) {
  playlist.add("/music/one.mp3");
  playlist.add("/music/two.mp3");
  playlist.filePath = "/elsewhere/list.m3u";
  Run([&](const ManagerView& view) {
    EXPECT_EQ(gtk_combo_box_get_active(view.chooser), -1);
    EXPECT_EQ(ColumnTexts(view.content, 0),
              (std::vector<std::string>{"/music/one.mp3", "/music/two.mp3"}));
  });
  // Without a file the songs are not shown: "create a Playlist" empties the list.
  playlist.filePath.clear();
  Run([&](const ManagerView& view) {
    EXPECT_EQ(gtk_combo_box_get_active(view.chooser), 0);
    EXPECT_TRUE(ColumnTexts(view.content, 0).empty());
  });
}

TEST_F(PlaylistManagerTest, Open_EveryControlAtItsPlaceWithItsText) {
  Run([&](const ManagerView& view) {
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(view.window)), "Manage Playlists");
    EXPECT_TRUE(WaitForSize(view.window, 640, 480));
    EXPECT_EQ(Background(view.window), 0xd0f8acu);
    std::vector<std::string> controls = DescribeAll(FixedOf(view.window));
    std::sort(controls.begin(), controls.end());
    EXPECT_EQ(controls, (std::vector<std::string>{
                            "GtkButton + 300,150 40x40", "GtkButton - 300,250 40x40",
                            "GtkButton clear 190,440 100x30", "GtkButton delete 445,400 80x30",
                            "GtkButton exit 530,440 100x30", "GtkButton save 350,400 80x30",
                            "GtkButton search 10,440 100x30", "GtkComboBoxText  350,50 280x30",
                            "GtkLabel Found files 10,10 200x20", "GtkLabel Playlist(s) 350,10 200x20",
                            "GtkScrolledWindow  10,50 280x370", "GtkScrolledWindow  350,90 280x300"}));
    EXPECT_EQ(gtk_widget_get_parent(GTK_WIDGET(view.found)), FindAll(view.window, GTK_TYPE_SCROLLED_WINDOW)[0]);
    EXPECT_STREQ(gtk_tree_view_column_get_title(gtk_tree_view_get_column(view.found, 0)), "Filename");
    EXPECT_STREQ(gtk_tree_view_column_get_title(gtk_tree_view_get_column(view.found, 1)), "path");
    EXPECT_STREQ(gtk_tree_view_column_get_title(gtk_tree_view_get_column(view.content, 0)), "content");
    EXPECT_EQ(gtk_tree_view_column_get_fixed_width(gtk_tree_view_get_column(view.content, 0)), 675);
    EXPECT_EQ(gtk_tree_selection_get_mode(gtk_tree_view_get_selection(view.found)), GTK_SELECTION_MULTIPLE);
    EXPECT_EQ(gtk_tree_selection_get_mode(gtk_tree_view_get_selection(view.content)), GTK_SELECTION_MULTIPLE);
  });
}

TEST_F(PlaylistManagerTest, SearchAddRemoveClear_ListsNotifiesAndMovesSelectedRowsOnly) {
  searchResults = {std::vector<std::string>{"/m/a.mp3", "/m/sub/b b.ogg"}, std::nullopt,
                   std::vector<std::string>{"/n/c.wav"}};
  Run([&](const ManagerView& view) {
    Click(view, "search");
    Click(view, "search");  // cancelled: the earlier result is not listed again
    Click(view, "search");
    EXPECT_EQ(searches, 3);
    EXPECT_EQ(ColumnTexts(view.found, 0), (std::vector<std::string>{"a.mp3", "b b.ogg", "c.wav"}));
    EXPECT_EQ(ColumnTexts(view.found, 1), (std::vector<std::string>{"/m/", "/m/sub/", "/n/"}));
    ASSERT_EQ(notifier.calls.size(), 2u);
    EXPECT_EQ(notifier.calls[0].Text(), "Found files | search has found 2 files | 3s urgency 1");
    EXPECT_EQ(notifier.calls[0].attachWidget, FindButton(view.window, "search"));
    EXPECT_EQ(notifier.calls[0].icon, "/usr/share/icons/gnome/scalable/mimetypes/audio-x-generic.svg");
    EXPECT_EQ(notifier.calls[1].body, "search has found 1 files");

    Click(view, "+");  // nothing selected
    EXPECT_TRUE(ColumnTexts(view.content, 0).empty());
    SelectRows(view.found, {0, 2});
    Click(view, "+");
    SelectRows(view.found, {1});
    Click(view, "+");
    EXPECT_EQ(ColumnTexts(view.content, 0),
              (std::vector<std::string>{"/m/a.mp3", "/n/c.wav", "/m/sub/b b.ogg"}));
    SelectRows(view.content, {});
    Click(view, "-");
    EXPECT_EQ(ColumnTexts(view.content, 0).size(), 3u);
    SelectRows(view.content, {0, 2});
    Click(view, "-");
    EXPECT_EQ(ColumnTexts(view.content, 0), std::vector<std::string>{"/n/c.wav"});

    Click(view, "clear");
    EXPECT_TRUE(ColumnTexts(view.found, 0).empty());
    EXPECT_TRUE(foundFiles.empty());
  });
}

TEST_F(PlaylistManagerTest, ChooserChanged_ReadsEveryNonEmptyLineOrEmpties) {
  WriteBytes(Dir() + "one.m3u", std::string("a.mp3\r\rb.mp3\n\nc.mp3", 19));
  WriteBytes(Dir() + "gone.m3u", "x.mp3\n");
  Run([&](const ManagerView& view) {
    const std::vector<std::string> texts = ColumnTexts(view.chooser);
    const auto position = [&](const std::string& name) {
      return static_cast<int>(std::find(texts.begin(), texts.end(), Dir() + name) - texts.begin());
    };
    gtk_combo_box_set_active(view.chooser, position("one.m3u"));
    EXPECT_EQ(ColumnTexts(view.content, 0), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
    unlink((Dir() + "gone.m3u").c_str());
    gtk_combo_box_set_active(view.chooser, position("gone.m3u"));
    EXPECT_TRUE(ColumnTexts(view.content, 0).empty()) << "an unreadable file gives an empty list";
    gtk_combo_box_set_active(view.chooser, position("one.m3u"));
    gtk_combo_box_set_active(view.chooser, 0);
    EXPECT_TRUE(ColumnTexts(view.content, 0).empty());
  });
}

TEST_F(PlaylistManagerTest, Save_OverTheSelectedFile_WritesRowsAndAddsNoEntry) {
  WriteBytes(Dir() + "list.m3u", "#EXTM3U\n/old.mp3\n");
  playlist.filePath = Dir() + "list.m3u";
  searchResults = {std::vector<std::string>{"/m/new.mp3"}};
  Run([&](const ManagerView& view) {
    const std::size_t entries = ColumnTexts(view.chooser).size();
    Click(view, "search");
    SelectRows(view.found, {0});
    Click(view, "+");
    SaveAs(view, "");  // accepts the name the chooser opened with
    EXPECT_EQ(ColumnTexts(view.chooser).size(), entries);
    ASSERT_EQ(notifier.calls.size(), 2u);
    EXPECT_EQ(notifier.calls[1].Text(), "Saved | there were 3 files saved in the Playlist | 3s urgency 1");
    EXPECT_EQ(notifier.calls[1].attachWidget, FindButton(view.window, "save"));
  });
  EXPECT_EQ(ReadBytes(Dir() + "list.m3u"), "#EXTM3U\n/old.mp3\n/m/new.mp3\n");
}

TEST_F(PlaylistManagerTest, Save_NewNames_M3uAppendedUnlessGivenInAnyCaseEntryAddedAndSelected) {
  Run([&](const ManagerView& view) {
    SaveAs(view, "empty.m3u");  // an empty list makes an empty file
    ASSERT_EQ(notifier.calls.size(), 1u);
    EXPECT_EQ(notifier.calls[0].body, "there were 0 files saved in the Playlist");
    AnswerFileChooser([](GtkFileChooser* chooser) {
      gtk_file_chooser_set_current_name(chooser, "never.m3u");
      return GTK_RESPONSE_CANCEL;
    });
    Click(view, "save");
    EXPECT_EQ(notifier.calls.size(), 1u) << "a cancelled chooser saves nothing";

    Drop(view.content, {"file:///a%20b/one.mp3", "http://host/stream.mp3", "file:///caf%E9.mp3"});
    EXPECT_EQ(ColumnTexts(view.content, 0),
              (std::vector<std::string>{"/a b/one.mp3", "/caf\xc3\xa9.mp3"}));
    // The name is typed relative to the folder the chooser opened in.
    SaveAs(view, "mixed");
    const std::vector<std::string> texts = ColumnTexts(view.chooser);
    EXPECT_EQ(texts.back(), Dir() + "mixed.m3u");
    EXPECT_EQ(gtk_combo_box_get_active(view.chooser), static_cast<int>(texts.size()) - 1);
    EXPECT_EQ(ColumnTexts(view.content, 0).size(), 2u);
    for (const char* name : {"Upper.M3U", "lower.m3u", "dotted.m3u.txt"}) SaveAs(view, name);
  });
  EXPECT_EQ(ReadBytes(Dir() + "empty.m3u"), "");
  EXPECT_FALSE(Exists(Dir() + "never.m3u"));
  const std::string songs = "/a b/one.mp3\n/caf\xe9.mp3\n";
  EXPECT_EQ(ReadBytes(Dir() + "mixed.m3u"), songs);
  EXPECT_EQ(ReadBytes(Dir() + "Upper.M3U"), songs);
  EXPECT_FALSE(Exists(Dir() + "Upper.M3U.m3u"));
  EXPECT_EQ(ReadBytes(Dir() + "lower.m3u"), songs);
  EXPECT_EQ(ReadBytes(Dir() + "dotted.m3u.txt.m3u"), songs);
}

TEST_F(PlaylistManagerTest, Save_Failing_ShowsErrorAndChangesNothing) {
  // A FIFO is no file a playlist may replace.
  ASSERT_EQ(mkfifo((Dir() + "taken.m3u").c_str(), 0600), 0);
  Run([&](const ManagerView& view) {
    Drop(view.content, {"file:///x.mp3"});
    const std::vector<std::string> before = ColumnTexts(view.chooser);
    SaveAs(view, "taken.m3u");
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].Text(), (AnsweringDialogs::Call{"Failed to create the Playlist %s",
                                                               kMessageError, kButtonsOk,
                                                               Dir() + "taken.m3u"}.Text()));
    EXPECT_TRUE(notifier.calls.empty());
    EXPECT_EQ(ColumnTexts(view.chooser), before);
    EXPECT_EQ(ColumnTexts(view.content, 0), std::vector<std::string>{"/x.mp3"});
  });
}

TEST_F(PlaylistManagerTest, Save_OntoListedFileFromCreateEntry_SelectsItInsteadOfListingTwice) {
  WriteBytes(Dir() + "kept.m3u", "/old.mp3\n");
  Run([&](const ManagerView& view) {
    const std::size_t entries = ColumnTexts(view.chooser).size();
    Drop(view.content, {"file:///new.mp3"});
    SaveAs(view, "kept.m3u");
    EXPECT_EQ(ColumnTexts(view.chooser).size(), entries);
    EXPECT_EQ(ActiveText(view.chooser), Dir() + "kept.m3u");
  });
  EXPECT_EQ(ReadBytes(Dir() + "kept.m3u"), "/new.mp3\n");
}

TEST_F(PlaylistManagerTest, Delete_AnsweredOkOrCancel_DeletesOnlyAfterOkOnAFile) {
  WriteBytes(Dir() + "doomed.m3u", "/a.mp3\n");
  playlist.filePath = Dir() + "doomed.m3u";
  Run([&](const ManagerView& view) {
    dialogs.answer = kResponseCancel;
    Click(view, "delete");
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].Text(),
              (AnsweringDialogs::Call{"this will really delete the playlist %s ?", kMessageWarning,
                                      kButtonsOkCancel, Dir() + "doomed.m3u"}.Text()));
    EXPECT_TRUE(Exists(Dir() + "doomed.m3u"));
    EXPECT_EQ(ColumnTexts(view.content, 0), std::vector<std::string>{"/a.mp3"});

    dialogs.answer = kResponseOk;
    Click(view, "delete");
    EXPECT_FALSE(Exists(Dir() + "doomed.m3u"));
    EXPECT_EQ(ColumnTexts(view.chooser), std::vector<std::string>{"create a Playlist"});
    EXPECT_EQ(gtk_combo_box_get_active(view.chooser), 0);
    EXPECT_TRUE(ColumnTexts(view.content, 0).empty());

    // Asked also with "create a Playlist" selected; then nothing is deleted.
    Drop(view.content, {"file:///b.mp3"});
    Click(view, "delete");
    ASSERT_EQ(dialogs.calls.size(), 3u);
    EXPECT_EQ(dialogs.calls[2].first, "create a Playlist");
    EXPECT_EQ(ColumnTexts(view.content, 0), std::vector<std::string>{"/b.mp3"});
  });
}

// A real drag with the pointer, from a source window of this process onto
// the content list, as the X server and the toolkit's drag protocol do it.
void OnDragDataGet(GtkWidget*, GdkDragContext*, GtkSelectionData* data, guint, guint, gpointer) {
  const gchar* uris[] = {"file:///dropped%20here/song.mp3", "file:///second.ogg", nullptr};
  gtk_selection_data_set_uris(data, const_cast<gchar**>(uris));
}

TEST_F(PlaylistManagerTest, Drop_RealPointerDrag_AppendsTheDroppedFiles) {
  GtkWidget* source = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(source), "drag source");
  GtkWidget* box = gtk_event_box_new();
  gtk_container_add(GTK_CONTAINER(source), box);
  gtk_window_set_default_size(GTK_WINDOW(source), 100, 100);
  gtk_window_move(GTK_WINDOW(source), 800, 50);
  const GtkTargetEntry uriList{const_cast<gchar*>("text/uri-list"), 0, 0};
  gtk_drag_source_set(box, GDK_BUTTON1_MASK, &uriList, 1, GDK_ACTION_COPY);
  g_signal_connect(box, "drag-data-get", G_CALLBACK(OnDragDataGet), nullptr);
  gtk_widget_show_all(source);
  Run([&](const ManagerView& view) {
    ASSERT_TRUE(WaitForSize(view.window, 640, 480));
    // The content list's middle on the screen: the window stands at the
    // player's position and has no frame without a window manager.
    const int x = kPlayerX + 350 + 140;
    const int y = kPlayerY + 90 + 150;
    const std::string command = "xdotool mousemove 850 100 mousedown 1 sleep 0.2 mousemove 870 120 "
                                "sleep 0.2 mousemove 700 200 sleep 0.2 mousemove " +
                                std::to_string(x) + " " + std::to_string(y) +
                                " sleep 0.3 mousemove " + std::to_string(x + 5) + " " +
                                std::to_string(y + 5) + " sleep 0.3 mouseup 1";
    gchar* argv[] = {const_cast<gchar*>("/bin/sh"), const_cast<gchar*>("-c"),
                     const_cast<gchar*>(command.c_str()), nullptr};
    ASSERT_TRUE(g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(WaitFor([&] { return ColumnTexts(view.content, 0).size() == 2; }));
    EXPECT_EQ(ColumnTexts(view.content, 0),
              (std::vector<std::string>{"/dropped here/song.mp3", "/second.ogg"}));
  });
  gtk_widget_destroy(source);
}

TEST_F(PlaylistManagerTest, CloseBox_LeavesLikeExit) {
  searchResults = {std::vector<std::string>{"/m/a.mp3"}};
  Run([&](const ManagerView& view) { Click(view, "search"); }, true);
}

}  // namespace
}  // namespace orvo::test
