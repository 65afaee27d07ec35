#include "playlist/song_adder.h"

#include <gio/gio.h>
#include <gtk/gtk.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "desktop/notifier.h"
#include "playlist/path_list.h"
#include "playlist/player_view.h"

namespace orvo {
namespace {

namespace fs = std::filesystem;

struct NotifyCall {
  std::string summary;
  std::string body;
  int seconds;
  int urgency;
  void* anchor;
  std::string icon;
};

// Keeps every call for in-process checks and hands it on to the session's
// notification server over D-Bus, as the real service does.
class DbusNotifier : public Notifier {
 public:
  NotificationHandle ShowNotification(const std::string& summary, const std::string& body,
                                      int seconds, int urgency, void* attachWidget,
                                      const std::string& icon) override {
    calls.push_back({summary, body, seconds, urgency, attachWidget, icon});
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus) return nullptr;
    GVariantBuilder hints;
    g_variant_builder_init(&hints, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&hints, "{sv}", "urgency", g_variant_new_byte(static_cast<guchar>(urgency)));
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
        "org.freedesktop.Notifications", "Notify",
        g_variant_new("(susssasa{sv}i)", "Orvo M", 0u, icon.c_str(), summary.c_str(), body.c_str(),
                      nullptr, &hints, seconds * 1000),
        nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    if (reply) g_variant_unref(reply);
    g_object_unref(bus);
    return nullptr;
  }
  void CloseNotification(NotificationHandle) override {}

  std::vector<NotifyCall> calls;
};

class AnchorView : public PlayerView {
 public:
  void SetDisplayText(const std::string&) override {}
  std::string DisplayText() const override { return {}; }
  void SetTooltip(const std::string&) override {}
  void QueueRedraw() override {}
  void* WindowWidget() override { return nullptr; }
  void* NotificationAnchor() override { return &anchor; }
  int anchor = 0;
};

// The "body" values of the Notify calls in the recorder's log from byte
// `from` on (one JSON object a line; bodies here hold no escapes).
std::vector<std::string> LoggedBodies(std::streamoff from) {
  std::vector<std::string> bodies;
  const char* log = std::getenv("ORVO_TEST_NOTIFY_LOG");
  if (!log) return bodies;
  std::ifstream in(log);
  in.seekg(from);
  std::string line;
  while (std::getline(in, line)) {
    if (line.find("\"Notify\"") == std::string::npos) continue;
    std::size_t key = line.find("\"body\"");
    if (key == std::string::npos) continue;
    std::size_t open = line.find('"', line.find(':', key) + 1);
    std::size_t close = line.find('"', open + 1);
    if (open != std::string::npos && close != std::string::npos) {
      bodies.push_back(line.substr(open + 1, close - open - 1));
    }
  }
  return bodies;
}

std::streamoff LogSize() {
  const char* log = std::getenv("ORVO_TEST_NOTIFY_LOG");
  std::error_code ec;
  return log ? static_cast<std::streamoff>(fs::file_size(log, ec)) : 0;
}

// What the chooser looked like and how the test answers it.
struct ChooserAnswer {
  enum class Kind { kCancel, kFiles, kFolder } kind = Kind::kCancel;
  // Chosen files; several must be all the files of one folder.
  std::vector<std::string> files;
  std::string folder;                  // chosen folder
  std::string startFolder;             // the folder the chooser should open in
  std::function<void()> beforeAccept;  // runs right before the accept response

  // Seen in the dialog.
  bool seen = false;
  std::string title;
  std::vector<std::string> filterNames;
  std::string currentFilter;
  std::string currentFolder;
  bool multiple = false;
  GtkFileChooserAction action = GTK_FILE_CHOOSER_ACTION_SAVE;

  // Progress of the answer.
  enum class Step { kFind, kStartFolder, kChoose, kDone } step = Step::kFind;
  int ticks = 0;
};

GtkWidget* OpenChooser() {
  GtkWidget* found = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w; w = w->next) {
    auto* widget = static_cast<GtkWidget*>(w->data);
    if (GTK_IS_FILE_CHOOSER_DIALOG(widget) && gtk_widget_get_mapped(widget)) found = widget;
  }
  g_list_free(windows);
  return found;
}

std::size_t SelectedCount(GtkFileChooser* chooser) {
  GSList* names = gtk_file_chooser_get_filenames(chooser);
  const std::size_t n = g_slist_length(names);
  g_slist_free_full(names, g_free);
  return n;
}

std::string CurrentFolder(GtkFileChooser* chooser) {
  std::string path;
  if (gchar* folder = gtk_file_chooser_get_current_folder(chooser)) {
    path = folder;
    g_free(folder);
  }
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
// not hold, so this chooses again on every call. Selecting one file
// after another keeps only the last; several files are chosen by selecting
// the whole folder, which holds just them.
bool ChoiceReady(GtkFileChooser* chooser, const ChooserAnswer& answer) {
  switch (answer.kind) {
    case ChooserAnswer::Kind::kCancel:
      return true;
    case ChooserAnswer::Kind::kFolder:
      // The chooser may still be finishing the change to its start folder.
      if (CurrentFolder(chooser) == answer.folder) return true;
      gtk_file_chooser_set_current_folder(chooser, answer.folder.c_str());
      return false;
    case ChooserAnswer::Kind::kFiles:
      if (SelectedCount(chooser) == answer.files.size()) return true;
      if (answer.files.size() > 1) {
        const std::string folder = fs::path(answer.files.front()).parent_path();
        if (CurrentFolder(chooser) != folder) {
          gtk_file_chooser_set_current_folder(chooser, folder.c_str());
          return false;
        }
        gtk_file_chooser_select_all(chooser);
      } else {
        gtk_file_chooser_select_filename(chooser, answer.files.front().c_str());
      }
      return false;
  }
  return true;
}

// Answers the chooser step by step from a timer; gives up after 20 s of
// waiting in one step and answers as far as it got.
gboolean AnswerChooser(gpointer data) {
  auto& answer = *static_cast<ChooserAnswer*>(data);
  const bool patient = ++answer.ticks < 400;
  GtkWidget* dialog = OpenChooser();
  if (!dialog) {
    if (!patient) answer.step = ChooserAnswer::Step::kDone;
    return patient;
  }
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  if (answer.step == ChooserAnswer::Step::kFind) {
    NoteDialog(dialog, answer);
    answer.step = ChooserAnswer::Step::kStartFolder;
  }
  if (answer.step == ChooserAnswer::Step::kStartFolder) {
    answer.currentFolder = CurrentFolder(chooser);
    if (!answer.startFolder.empty() && answer.currentFolder != answer.startFolder && patient) return TRUE;
    if (answer.kind == ChooserAnswer::Kind::kFiles) {
      gtk_file_chooser_set_current_folder(chooser, fs::path(answer.files.front()).parent_path().c_str());
    } else if (answer.kind == ChooserAnswer::Kind::kFolder) {
      gtk_file_chooser_set_current_folder(chooser, answer.folder.c_str());
    }
    answer.step = ChooserAnswer::Step::kChoose;
    answer.ticks = 0;
    return TRUE;
  }
  if (!ChoiceReady(chooser, answer) && patient) return TRUE;
  if (answer.kind == ChooserAnswer::Kind::kCancel) {
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
  } else {
    if (answer.beforeAccept) answer.beforeAccept();
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
  }
  answer.step = ChooserAnswer::Step::kDone;
  return FALSE;
}

class SongAdderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "needs an X display";
    std::string templ = (fs::temp_directory_path() / "orvo-adder-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir_ = templ + "/";
    logStart_ = LogSize();
  }
  void TearDown() override {
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
  }

  std::string File(const std::string& rel, const std::string& content = "x") {
    fs::create_directories(fs::path(dir_ + rel).parent_path());
    std::ofstream(dir_ + rel, std::ios::binary) << content;
    return dir_ + rel;
  }

  // Calls `operation` with the chooser answered as `answer` says.
  template <typename Operation>
  bool Run(ChooserAnswer& answer, Operation operation) {
    const guint timer = g_timeout_add(50, AnswerChooser, &answer);
    const bool result = operation();
    // A chooser that never opened leaves the timer waiting.
    if (answer.step != ChooserAnswer::Step::kDone) g_source_remove(timer);
    return result;
  }

  SongAdder MakeAdder() {
    return SongAdder(playlist_, foundFiles_, settings_, notifier_, view_, dir_,
                     [this] { return songLoaded_; }, [this] { ++playbackStarts_; });
  }

  void ExpectOneCountNotification(std::size_t n) {
    const std::string body = "there are  " + std::to_string(n) + " files in the current Playlist";
    ASSERT_EQ(notifier_.calls.size(), 1u);
    EXPECT_EQ(notifier_.calls[0].summary, "current Playlist");
    EXPECT_EQ(notifier_.calls[0].body, body);
    EXPECT_EQ(notifier_.calls[0].seconds, 3);
    EXPECT_EQ(notifier_.calls[0].urgency, 1);
    EXPECT_EQ(notifier_.calls[0].anchor, &view_.anchor);
    EXPECT_EQ(notifier_.calls[0].icon, kNotificationIcon);
    if (std::getenv("ORVO_TEST_NOTIFY_LOG")) {
      EXPECT_EQ(LoggedBodies(logStart_), std::vector<std::string>{body});
    }
  }

  std::string dir_;
  std::streamoff logStart_ = 0;
  CurrentPlaylist playlist_;
  PathList foundFiles_;
  Settings settings_;
  DbusNotifier notifier_;
  AnchorView view_;
  bool songLoaded_ = false;
  int playbackStarts_ = 0;
};

TEST_F(SongAdderTest, AddFiles_FilesChosen_SortedUnsavedAndCounted) {
  playlist_.add("old.mp3");
  playlist_.filePath = "/some/list.m3u";
  const std::string b = File("chosen/b.ogg");
  const std::string a = File("chosen/A.mp3");
  // The chooser lists names in natural order (t9 before t10); the playlist
  // compares bytes.
  const std::string t9 = File("chosen/t9.mp3");
  const std::string t10 = File("chosen/t10.mp3");
  ChooserAnswer answer;
  answer.kind = ChooserAnswer::Kind::kFiles;
  answer.files = {b, a, t9, t10};
  SongAdder adder = MakeAdder();

  EXPECT_TRUE(Run(answer, [&] { return adder.AddFiles(); }));

  EXPECT_EQ(answer.title, "Select");
  EXPECT_EQ(answer.action, GTK_FILE_CHOOSER_ACTION_OPEN);
  EXPECT_TRUE(answer.multiple);
  EXPECT_EQ(answer.filterNames,
            (std::vector<std::string>{"mp3-files", "wav-files", "ogg-files", "all files"}));
  EXPECT_EQ(answer.currentFilter, "all files");
  EXPECT_EQ(playlist_.paths(), (std::vector<std::string>{a, b, t10, t9}));
  EXPECT_TRUE(playlist_.filePath.empty());
  ExpectOneCountNotification(4);
  EXPECT_EQ(playbackStarts_, 0);  // instantplay is off
}

TEST_F(SongAdderTest, AddFiles_Cancelled_ListKeptNoCountButInstantPlay) {
  playlist_.add("old.mp3");
  playlist_.filePath = "/some/list.m3u";
  settings_.instantplay = 1;
  ChooserAnswer answer;
  SongAdder adder = MakeAdder();

  EXPECT_FALSE(Run(answer, [&] { return adder.AddFiles(); }));

  EXPECT_TRUE(answer.seen);
  EXPECT_EQ(playlist_.paths(), std::vector<std::string>{"old.mp3"});
  EXPECT_EQ(playlist_.filePath, "/some/list.m3u");
  EXPECT_TRUE(notifier_.calls.empty());
  EXPECT_EQ(playbackStarts_, 1);
}

TEST_F(SongAdderTest, LoadPlaylist_Cancelled_ListAndPathKeptCountShown) {
  playlist_.add("old.mp3");
  playlist_.filePath = "/some/list.m3u";
  ChooserAnswer answer;
  answer.startFolder = dir_.substr(0, dir_.size() - 1);
  SongAdder adder = MakeAdder();

  EXPECT_FALSE(Run(answer, [&] { return adder.LoadPlaylist(); }));

  EXPECT_EQ(answer.title, "select a Playlist");
  EXPECT_FALSE(answer.multiple);
  EXPECT_EQ(answer.filterNames, std::vector<std::string>{"Playlists"});
  EXPECT_EQ(answer.currentFilter, "Playlists");
  EXPECT_EQ(answer.currentFolder + "/", dir_);  // the program's folder
  EXPECT_EQ(playlist_.paths(), std::vector<std::string>{"old.mp3"});
  EXPECT_EQ(playlist_.filePath, "/some/list.m3u");
  ExpectOneCountNotification(1);
}

TEST_F(SongAdderTest, LoadPlaylist_FileChosenWhileSongLoaded_ReplacedWithoutRestart) {
  playlist_.add("old.mp3");
  const std::string list = File("my list.m3u", "#EXTM3U\r\n/music/a b.mp3\n\nrel/c.ogg");
  settings_.instantplay = 1;
  songLoaded_ = true;
  ChooserAnswer answer;
  answer.kind = ChooserAnswer::Kind::kFiles;
  answer.files = {list};
  SongAdder adder = MakeAdder();

  EXPECT_TRUE(Run(answer, [&] { return adder.LoadPlaylist(); }));

  EXPECT_EQ(playlist_.paths(), (std::vector<std::string>{"#EXTM3U", "/music/a b.mp3", "rel/c.ogg"}));
  EXPECT_EQ(playlist_.filePath, list);
  ExpectOneCountNotification(3);
  EXPECT_EQ(playbackStarts_, 0);
}

TEST_F(SongAdderTest, LoadPlaylist_FileGoneBeforeReading_EmptyListPathSet) {
  playlist_.add("old.mp3");
  const std::string list = File("gone.m3u", "a.mp3\n");
  settings_.instantplay = 1;
  ChooserAnswer answer;
  answer.kind = ChooserAnswer::Kind::kFiles;
  answer.files = {list};
  // Removed after it was chosen: reading fails whatever the user's rights.
  answer.beforeAccept = [&] { fs::rename(list, dir_ + "elsewhere"); };
  SongAdder adder = MakeAdder();

  EXPECT_TRUE(Run(answer, [&] { return adder.LoadPlaylist(); }));

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
    playlist_.add("old.mp3");
    playlist_.filePath = "/some/list.m3u";
    foundFiles_.add("stale.mp3");
  }
  std::vector<std::string> Expected() const {
    return {dir_ + "music/top.mpc", dir_ + "music/sub/deep.mp3"};
  }
};

TEST_F(SearchTest, SearchMusicFolder_AddMode_ReplacesListWithFoundFiles) {
  ChooserAnswer answer;
  answer.kind = ChooserAnswer::Kind::kFolder;
  answer.folder = dir_ + "music";
  ASSERT_NE(std::getenv("HOME"), nullptr);
  answer.startFolder = std::getenv("HOME");
  SongAdder adder = MakeAdder();

  EXPECT_TRUE(Run(answer, [&] { return adder.SearchMusicFolder(SongAdder::SearchMode::kAdd); }));

  EXPECT_EQ(answer.title, "start search in...:");
  EXPECT_EQ(answer.action, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER);
  EXPECT_EQ(answer.currentFolder, answer.startFolder);  // $HOME
  EXPECT_EQ(foundFiles_.paths(), Expected());
  EXPECT_EQ(playlist_.paths(), Expected());
  EXPECT_TRUE(playlist_.filePath.empty());
  ExpectOneCountNotification(2);
}

TEST_F(SearchTest, SearchMusicFolder_AddModeCancelled_NothingAddedCountShown) {
  settings_.instantplay = 1;
  ChooserAnswer answer;
  SongAdder adder = MakeAdder();

  EXPECT_FALSE(Run(answer, [&] { return adder.SearchMusicFolder(SongAdder::SearchMode::kAdd); }));

  EXPECT_EQ(foundFiles_.paths(), std::vector<std::string>{"stale.mp3"});
  EXPECT_EQ(playlist_.paths(), std::vector<std::string>{"old.mp3"});
  EXPECT_EQ(playlist_.filePath, "/some/list.m3u");
  ExpectOneCountNotification(1);
  EXPECT_EQ(playbackStarts_, 1);
}

TEST_F(SearchTest, SearchMusicFolder_SearchOnly_CurrentPlaylistUntouched) {
  settings_.instantplay = 1;
  ChooserAnswer answer;
  answer.kind = ChooserAnswer::Kind::kFolder;
  answer.folder = dir_ + "music";
  SongAdder adder = MakeAdder();

  EXPECT_TRUE(Run(answer, [&] { return adder.SearchMusicFolder(SongAdder::SearchMode::kSearchOnly); }));

  EXPECT_EQ(foundFiles_.paths(), Expected());
  EXPECT_EQ(playlist_.paths(), std::vector<std::string>{"old.mp3"});
  EXPECT_EQ(playlist_.filePath, "/some/list.m3u");
  EXPECT_TRUE(notifier_.calls.empty());
  EXPECT_EQ(playbackStarts_, 0);
}

TEST_F(SearchTest, SearchMusicFolder_SearchOnlyCancelled_FoundFilesKept) {
  ChooserAnswer answer;
  SongAdder adder = MakeAdder();

  EXPECT_FALSE(Run(answer, [&] { return adder.SearchMusicFolder(SongAdder::SearchMode::kSearchOnly); }));

  EXPECT_TRUE(answer.seen);
  EXPECT_EQ(foundFiles_.paths(), std::vector<std::string>{"stale.mp3"});
  EXPECT_EQ(playlist_.paths(), std::vector<std::string>{"old.mp3"});
  EXPECT_TRUE(notifier_.calls.empty());
}

}  // namespace
}  // namespace orvo
