#include "playlist/song_adder.h"
#include "ui/dialogs/file_chooser.h"

#include <gtk/gtk.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/notifier.h"
#include "playlist/path_list.h"
#include "core/player_view.h"
#include "tests/playback/recording_doubles.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

class AnchorView : public PlayerView {
 public:
  void SetDisplayText(const std::string&) override {}
  std::string DisplayText() const override { return {}; }
  void SetTooltip(const std::string&) override {}
  GtkWidget* WindowWidget() override { return nullptr; }
  GtkWidget* NotificationAnchor() override { return reinterpret_cast<GtkWidget*>(&anchor); }
  int anchor = 0;
};

// How the test answers the chooser, and what the chooser looked like.
struct ChooserAnswer {
  std::vector<std::string> files;      // chosen files; several are all the files of one folder
  std::string folder;                  // chosen folder; with neither, the chooser is cancelled
  std::string startFolder;             // the folder the chooser should open in
  std::function<void()> beforeAccept;  // runs right before the accept response

  bool seen = false;
  std::string title, currentFilter, currentFolder;
  std::vector<std::string> filterNames;
  bool multiple = false;
  GtkFileChooserAction action = GTK_FILE_CHOOSER_ACTION_SAVE;

  bool started = false;  // the start folder was seen
  bool done = false;
  int ticks = 0;
};

std::string CurrentFolder(GtkFileChooser* chooser) {
  gchar* folder = gtk_file_chooser_get_current_folder(chooser);
  const std::string path = folder ? folder : "";
  g_free(folder);
  return path;
}

void NoteDialog(GtkWidget* dialog, ChooserAnswer& answer) {
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  answer.seen = true;
  answer.title = gtk_window_get_title(GTK_WINDOW(dialog));
  answer.multiple = gtk_file_chooser_get_select_multiple(chooser);
  answer.action = gtk_file_chooser_get_action(chooser);
  GSList* filters = gtk_file_chooser_list_filters(chooser);
  for (GSList* f = filters; f; f = f->next) {
    answer.filterNames.emplace_back(gtk_file_filter_get_name(GTK_FILE_FILTER(f->data)));
  }
  g_slist_free(filters);
  if (GtkFileFilter* current = gtk_file_chooser_get_filter(chooser)) {
    answer.currentFilter = gtk_file_filter_get_name(current);
  }
}

// Whether the chooser shows what the answer wants chosen. Folders change and
// load in the background, and a choice made before that has finished does
// not hold, so this chooses again on every call. Selecting one file after
// another keeps only the last; several files are chosen by selecting the
// whole folder, which holds just them.
bool ChoiceReady(GtkFileChooser* chooser, const ChooserAnswer& answer) {
  const std::string folder =
      answer.files.empty() ? answer.folder : fs::path(answer.files.front()).parent_path().string();
  if (CurrentFolder(chooser) != folder) {
    gtk_file_chooser_set_current_folder(chooser, folder.c_str());
    return false;
  }
  if (answer.files.empty()) return true;
  GSList* names = gtk_file_chooser_get_filenames(chooser);
  const std::size_t selected = g_slist_length(names);
  g_slist_free_full(names, g_free);
  if (selected == answer.files.size()) return true;
  if (answer.files.size() > 1) {
    gtk_file_chooser_select_all(chooser);
  } else {
    gtk_file_chooser_select_filename(chooser, answer.files.front().c_str());
  }
  return false;
}

// Answers the chooser from a timer; gives up after 20 s of waiting in one
// step and answers as far as it got.
gboolean AnswerChooser(gpointer data) {
  auto& answer = *static_cast<ChooserAnswer*>(data);
  const bool patient = ++answer.ticks < 400;
  GtkWidget* dialog = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w; w = w->next) {
    auto* widget = static_cast<GtkWidget*>(w->data);
    if (GTK_IS_FILE_CHOOSER_DIALOG(widget) && gtk_widget_get_mapped(widget)) dialog = widget;
  }
  g_list_free(windows);
  if (!dialog) {
    answer.done = !patient;
    return patient;
  }
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  if (!answer.seen) NoteDialog(dialog, answer);
  if (!answer.started) {
    answer.currentFolder = CurrentFolder(chooser);
    if (!answer.startFolder.empty() && answer.currentFolder != answer.startFolder && patient) return TRUE;
    answer.started = true;
    answer.ticks = 0;
  }
  const bool accept = !answer.files.empty() || !answer.folder.empty();
  if (accept && !ChoiceReady(chooser, answer) && patient) return TRUE;
  if (accept && answer.beforeAccept) answer.beforeAccept();
  gtk_dialog_response(GTK_DIALOG(dialog), accept ? GTK_RESPONSE_ACCEPT : GTK_RESPONSE_CANCEL);
  answer.done = true;
  return FALSE;
}

class SongAdderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "needs an X display";
    playlist_.add("old.mp3");
    playlist_.filePath = "/some/list.m3u";
  }

  std::string File(const std::string& rel, const std::string& content = "x") {
    fs::create_directories(fs::path(dir_.file(rel)).parent_path());
    test::WriteBytes(dir_.file(rel), content);
    return dir_.file(rel);
  }

  // Calls `operation` on a new adder with the chooser answered as `answer` says.
  template <typename Operation>
  bool Run(ChooserAnswer& answer, Operation operation) {
    SongAdder adder(playlist_, foundFiles_, settings_, notifier_, view_, RunFileChooser,
                    dir_.path() + "/",
                    [this] { return songLoaded_; }, [this] { ++playbackStarts_; });
    const guint timer = g_timeout_add(50, AnswerChooser, &answer);
    const bool result = operation(adder);
    // A chooser that never opened leaves the timer waiting.
    if (!answer.done) g_source_remove(timer);
    return result;
  }

  void ExpectOneCountNotification(std::size_t n) {
    ASSERT_EQ(notifier_.shown.size(), 1u);
    const auto& call = notifier_.shown[0];
    EXPECT_EQ(call.summary, "current Playlist");
    EXPECT_EQ(call.body, "there are  " + std::to_string(n) + " files in the current Playlist");
    EXPECT_EQ(call.seconds, 3);
    EXPECT_EQ(call.urgency, 1);
    EXPECT_EQ(call.attach, &view_.anchor);
    EXPECT_EQ(call.icon, kNotificationIcon);
  }

  test::ScratchDir dir_;
  CurrentPlaylist playlist_;
  PathList foundFiles_;
  Settings settings_;
  test::RecordingNotifier notifier_;
  AnchorView view_;
  bool songLoaded_ = false;
  int playbackStarts_ = 0;
};

using Paths = std::vector<std::string>;
const auto kAddFiles = [](SongAdder& adder) { return adder.AddFiles(); };
const auto kLoadPlaylist = [](SongAdder& adder) { return adder.LoadPlaylist(); };
const auto kSearchAndAdd = [](SongAdder& adder) {
  return adder.SearchMusicFolder(SongAdder::SearchMode::kAdd);
};
const auto kSearchOnly = [](SongAdder& adder) {
  return adder.SearchMusicFolder(SongAdder::SearchMode::kSearchOnly);
};

TEST_F(SongAdderTest, AddFiles_FilesChosen_SortedUnsavedAndCounted) {
  const std::string b = File("chosen/b.ogg");
  const std::string a = File("chosen/A.mp3");
  // The chooser lists names in natural order (t9 before t10); the playlist
  // compares bytes.
  const std::string t9 = File("chosen/t9.mp3");
  const std::string t10 = File("chosen/t10.mp3");
  ChooserAnswer answer;
  answer.files = {b, a, t9, t10};

  EXPECT_TRUE(Run(answer, kAddFiles));

  EXPECT_EQ(answer.title, "Select");
  EXPECT_EQ(answer.action, GTK_FILE_CHOOSER_ACTION_OPEN);
  EXPECT_TRUE(answer.multiple);
  EXPECT_EQ(answer.filterNames, (Paths{"mp3-files", "wav-files", "ogg-files", "all files"}));
  EXPECT_EQ(answer.currentFilter, "all files");
  EXPECT_EQ(playlist_.paths(), (Paths{a, b, t10, t9}));
  EXPECT_TRUE(playlist_.filePath.empty());
  ExpectOneCountNotification(4);
  EXPECT_EQ(playbackStarts_, 0);  // instantplay is off
}

TEST_F(SongAdderTest, AddFiles_Cancelled_ListKeptNoCountButInstantPlay) {
  settings_.instantplay = 1;
  ChooserAnswer answer;
  EXPECT_FALSE(Run(answer, kAddFiles));
  EXPECT_TRUE(answer.seen);
  EXPECT_EQ(playlist_.paths(), Paths{"old.mp3"});
  EXPECT_EQ(playlist_.filePath, "/some/list.m3u");
  EXPECT_TRUE(notifier_.shown.empty());
  EXPECT_EQ(playbackStarts_, 1);
}

TEST_F(SongAdderTest, LoadPlaylist_Cancelled_ListAndPathKeptCountShown) {
  ChooserAnswer answer;
  answer.startFolder = dir_.path();
  EXPECT_FALSE(Run(answer, kLoadPlaylist));
  EXPECT_EQ(answer.title, "select a Playlist");
  EXPECT_FALSE(answer.multiple);
  EXPECT_EQ(answer.filterNames, Paths{"Playlists"});
  EXPECT_EQ(answer.currentFilter, "Playlists");
  EXPECT_EQ(answer.currentFolder, dir_.path());  // the program's folder
  EXPECT_EQ(playlist_.paths(), Paths{"old.mp3"});
  EXPECT_EQ(playlist_.filePath, "/some/list.m3u");
  ExpectOneCountNotification(1);
}

TEST_F(SongAdderTest, LoadPlaylist_FileChosenWhileSongLoaded_ReplacedWithoutRestart) {
  const std::string list = File("my list.m3u", "#EXTM3U\r\n/music/a b.mp3\n\nrel/c.ogg");
  settings_.instantplay = 1;
  songLoaded_ = true;
  ChooserAnswer answer;
  answer.files = {list};
  EXPECT_TRUE(Run(answer, kLoadPlaylist));
  EXPECT_EQ(playlist_.paths(), (Paths{"#EXTM3U", "/music/a b.mp3", "rel/c.ogg"}));
  EXPECT_EQ(playlist_.filePath, list);
  ExpectOneCountNotification(3);
  EXPECT_EQ(playbackStarts_, 0);
}

TEST_F(SongAdderTest, LoadPlaylist_FileGoneBeforeReading_EmptyListPathSet) {
  const std::string list = File("gone.m3u", "a.mp3\n");
  settings_.instantplay = 1;
  ChooserAnswer answer;
  answer.files = {list};
  // Removed after it was chosen: reading fails whatever the user's rights.
  answer.beforeAccept = [&] { fs::rename(list, dir_.file("elsewhere")); };
  EXPECT_TRUE(Run(answer, kLoadPlaylist));
  EXPECT_TRUE(playlist_.empty());
  EXPECT_EQ(playlist_.filePath, list);
  ExpectOneCountNotification(0);
  EXPECT_EQ(playbackStarts_, 1);
}

class SearchTest : public SongAdderTest {
 protected:
  void SetUp() override {
    SongAdderTest::SetUp();
    File("music/top.mpc");
    File("music/cover.jpg");
    File("music/sub/deep.mp3");
    File("music/sub/skipped.mpc");
    foundFiles_.add("stale.mp3");
    settings_.instantplay = 1;
  }
  Paths Expected() const { return {dir_.file("music/top.mpc"), dir_.file("music/sub/deep.mp3")}; }
  ChooserAnswer MusicFolder() const {
    ChooserAnswer answer;
    answer.folder = dir_.file("music");
    return answer;
  }
};

TEST_F(SearchTest, SearchMusicFolder_AddMode_ReplacesListWithFoundFiles) {
  ChooserAnswer answer = MusicFolder();
  ASSERT_NE(std::getenv("HOME"), nullptr);
  answer.startFolder = std::getenv("HOME");
  EXPECT_TRUE(Run(answer, kSearchAndAdd));
  EXPECT_EQ(answer.title, "start search in...:");
  EXPECT_EQ(answer.action, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER);
  EXPECT_EQ(answer.currentFolder, answer.startFolder);  // $HOME
  EXPECT_EQ(foundFiles_.paths(), Expected());
  EXPECT_EQ(playlist_.paths(), Expected());
  EXPECT_TRUE(playlist_.filePath.empty());
  ExpectOneCountNotification(2);
  EXPECT_EQ(playbackStarts_, 1);
}

TEST_F(SearchTest, SearchMusicFolder_SearchOnly_CurrentPlaylistUntouched) {
  ChooserAnswer answer = MusicFolder();
  EXPECT_TRUE(Run(answer, kSearchOnly));
  EXPECT_EQ(foundFiles_.paths(), Expected());
  EXPECT_EQ(playlist_.paths(), Paths{"old.mp3"});
  EXPECT_EQ(playlist_.filePath, "/some/list.m3u");
  EXPECT_TRUE(notifier_.shown.empty());
  EXPECT_EQ(playbackStarts_, 0);
}

// Cancelling keeps both lists; only adding shows the count and starts playing.
TEST_F(SearchTest, SearchMusicFolder_Cancelled_ListsKept) {
  for (const bool add : {true, false}) {
    SCOPED_TRACE(add ? "add" : "search only");
    notifier_.shown.clear();
    playbackStarts_ = 0;
    ChooserAnswer answer;
    EXPECT_FALSE(add ? Run(answer, kSearchAndAdd) : Run(answer, kSearchOnly));
    EXPECT_TRUE(answer.seen);
    EXPECT_EQ(foundFiles_.paths(), Paths{"stale.mp3"});
    EXPECT_EQ(playlist_.paths(), Paths{"old.mp3"});
    EXPECT_EQ(playlist_.filePath, "/some/list.m3u");
    if (add) {
      ExpectOneCountNotification(1);
    } else {
      EXPECT_TRUE(notifier_.shown.empty());
    }
    EXPECT_EQ(playbackStarts_, add ? 1 : 0);
  }
}

}  // namespace
}  // namespace orvo
