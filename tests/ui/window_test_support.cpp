#include "tests/ui/window_test_support.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace orvo::test {

NotificationHandle RecordingNotifier::ShowNotification(const std::string& summary,
                                                       const std::string& body, int seconds,
                                                       int urgency, void* attachWidget,
                                                       const std::string& icon) {
  calls.push_back({summary, body, seconds, urgency, attachWidget, icon});
  return nullptr;
}

int AnsweringDialogs::ShowMessageDialog(const std::string& message, int messageType, int buttons,
                                        const std::string& first, const std::string&) {
  calls.push_back({message, messageType, buttons, first});
  return answer;
}

std::string MakeTempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/orvo-windows.XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no temporary folder";
  return pattern + "/";
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

namespace {

// An ID3v2.3 text frame in ISO-8859-1 (encoding byte 0).
std::string TextFrame(const char* id, const std::string& text) {
  const std::size_t size = text.size() + 1;
  std::string frame(id, 4);
  for (int shift = 24; shift >= 0; shift -= 8) frame += static_cast<char>((size >> shift) & 0xFF);
  frame += std::string(2, '\0');  // flags
  frame += '\0';
  return frame + text;
}

// An ID3v2.3 tag: lame's own tag options do not pass 8-bit texts unchanged.
std::string Id3v2Tag(const std::string& title, const std::string& artist) {
  std::string frames;
  if (!title.empty()) frames += TextFrame("TIT2", title);
  if (!artist.empty()) frames += TextFrame("TPE1", artist);
  std::string tag = "ID3\x03";
  tag += std::string(2, '\0');
  for (int shift = 21; shift >= 0; shift -= 7) {
    tag += static_cast<char>((frames.size() >> shift) & 0x7F);  // synchsafe size
  }
  return tag + frames;
}

}  // namespace

void MakeMp3(const std::string& path, const std::string& title, const std::string& artist) {
  const std::string wav = path + ".wav";
  const std::string plain = path + ".plain";
  const std::string command = "sox -n -r 44100 -c 1 -b 16 '" + wav +
                              "' synth 0.2 sine 440 && lame --quiet -b 64 '" + wav + "' '" +
                              plain + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::string tag = title.empty() && artist.empty() ? std::string() : Id3v2Tag(title, artist);
  WriteFile(path, tag + ReadFile(plain));
  unlink(wav.c_str());
  unlink(plain.c_str());
}

std::vector<std::string> ListedInFolder(const std::string& folder, const std::string& suffix) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      names.push_back(name);
    }
  }
  closedir(dir);
  return names;
}

GtkWidget* FindToplevel(const char* title) {
  GtkWidget* found = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    GtkWindow* window = GTK_WINDOW(item->data);
    const gchar* text = gtk_window_get_title(window);
    if (text != nullptr && std::string(text) == title && gtk_widget_get_visible(GTK_WIDGET(window))) {
      found = GTK_WIDGET(window);
    }
  }
  g_list_free(windows);
  return found;
}

int CountToplevels(const char* title) {
  int count = 0;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    const gchar* text = gtk_window_get_title(GTK_WINDOW(item->data));
    if (text != nullptr && std::string(text) == title) ++count;
  }
  g_list_free(windows);
  return count;
}

namespace {

void Collect(GtkWidget* widget, GType type, std::vector<GtkWidget*>& found) {
  if (G_TYPE_CHECK_INSTANCE_TYPE(widget, type)) found.push_back(widget);
  if (!GTK_IS_CONTAINER(widget)) return;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* item = children; item != nullptr; item = item->next) {
    Collect(GTK_WIDGET(item->data), type, found);
  }
  g_list_free(children);
}

}  // namespace

std::vector<GtkWidget*> FindAll(GtkWidget* root, GType type) {
  std::vector<GtkWidget*> found;
  Collect(root, type, found);
  return found;
}

GtkWidget* FindButton(GtkWidget* root, const char* label) {
  for (GtkWidget* button : FindAll(root, GTK_TYPE_BUTTON)) {
    const gchar* text = gtk_button_get_label(GTK_BUTTON(button));
    if (text != nullptr && std::string(text) == label) return button;
  }
  return nullptr;
}

GtkWidget* FixedOf(GtkWidget* window) {
  const std::vector<GtkWidget*> fixed = FindAll(window, GTK_TYPE_FIXED);
  return fixed.empty() ? nullptr : fixed.front();
}

Placement PlacementOf(GtkWidget* child) {
  Placement where{-1, -1, -1, -1};
  GtkWidget* parent = gtk_widget_get_parent(child);
  if (parent != nullptr && GTK_IS_FIXED(parent)) {
    gtk_container_child_get(GTK_CONTAINER(parent), child, "x", &where.x, "y", &where.y, nullptr);
  }
  gtk_widget_get_size_request(child, &where.width, &where.height);
  return where;
}

std::vector<std::string> ColumnTexts(GtkTreeView* view, int column) {
  std::vector<std::string> texts;
  GtkTreeModel* model = gtk_tree_view_get_model(view);
  GtkTreeIter iter;
  for (gboolean valid = gtk_tree_model_get_iter_first(model, &iter); valid;
       valid = gtk_tree_model_iter_next(model, &iter)) {
    gchar* text = nullptr;
    gtk_tree_model_get(model, &iter, column, &text, -1);
    texts.emplace_back(text != nullptr ? text : "");
    g_free(text);
  }
  return texts;
}

std::vector<int> SelectedRows(GtkTreeView* view) {
  std::vector<int> rows;
  GList* paths = gtk_tree_selection_get_selected_rows(gtk_tree_view_get_selection(view), nullptr);
  for (GList* item = paths; item != nullptr; item = item->next) {
    rows.push_back(gtk_tree_path_get_indices(static_cast<GtkTreePath*>(item->data))[0]);
  }
  g_list_free_full(paths, reinterpret_cast<GDestroyNotify>(gtk_tree_path_free));
  return rows;
}

void SelectRows(GtkTreeView* view, const std::vector<int>& rows) {
  GtkTreeSelection* selection = gtk_tree_view_get_selection(view);
  gtk_tree_selection_unselect_all(selection);
  for (const int row : rows) {
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    gtk_tree_selection_select_path(selection, path);
    gtk_tree_path_free(path);
  }
}

long RequestedFunctions(GtkWidget* window) {
  // _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
  GdkAtom hints = gdk_atom_intern("_MOTIF_WM_HINTS", FALSE);
  GdkAtom type = GDK_NONE;
  gint format = 0;
  gint length = 0;
  guchar* data = nullptr;
  long functions = -1;
  if (gdk_property_get(gtk_widget_get_window(window), hints, hints, 0, 5, FALSE, &type, &format,
                       &length, &data)) {
    const auto* fields = reinterpret_cast<const long*>(data);  // 32-bit items come as longs
    if (static_cast<std::size_t>(length) >= 2 * sizeof(long) && (fields[0] & 1) != 0) {
      functions = fields[1];
    }
    g_free(data);
  }
  return functions;
}

void SendDelete(GtkWidget* window) {
  GdkEvent* event = gdk_event_new(GDK_DELETE);
  event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
  event->any.send_event = TRUE;
  gtk_main_do_event(event);
  gdk_event_free(event);
}

namespace {

struct PendingStep {
  std::string title;
  std::function<void(GtkWidget*)> step;
};

gboolean RunPendingStep(gpointer data) {
  auto* pending = static_cast<PendingStep*>(data);
  GtkWidget* window = FindToplevel(pending->title.c_str());
  if (window == nullptr) return G_SOURCE_CONTINUE;
  pending->step(window);
  return G_SOURCE_REMOVE;
}

struct PendingAnswer {
  std::function<int(GtkFileChooser*)> step;
  GtkWidget* chooser = nullptr;  // the dialog being answered
  int response = GTK_RESPONSE_NONE;
  bool closed = false;
};

void ChooserDestroyed(GtkWidget*, gpointer data) { static_cast<PendingAnswer*>(data)->closed = true; }

GtkWidget* VisibleFileChooser() {
  GtkWidget* chooser = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    if (GTK_IS_FILE_CHOOSER_DIALOG(item->data) && gtk_widget_get_visible(GTK_WIDGET(item->data))) {
      chooser = GTK_WIDGET(item->data);
    }
  }
  g_list_free(windows);
  return chooser;
}

// The chooser checks an accepted name against its folder, which it loads in
// the background, and ignores the response until then; so the response is
// repeated until the dialog is gone.
gboolean AnswerPending(gpointer data) {
  auto* pending = static_cast<PendingAnswer*>(data);
  if (pending->closed) return G_SOURCE_REMOVE;
  if (pending->chooser == nullptr) {
    pending->chooser = VisibleFileChooser();
    if (pending->chooser == nullptr) return G_SOURCE_CONTINUE;
    g_signal_connect(pending->chooser, "destroy", G_CALLBACK(ChooserDestroyed), pending);
    pending->response = pending->step(GTK_FILE_CHOOSER(pending->chooser));
  }
  if (gtk_widget_get_visible(pending->chooser)) {
    gtk_dialog_response(GTK_DIALOG(pending->chooser), pending->response);
  }
  return G_SOURCE_CONTINUE;
}

std::vector<guint> pendingSources;

gboolean KeepTicking(gpointer) { return G_SOURCE_CONTINUE; }

}  // namespace

void WhenShown(const char* title, std::function<void(GtkWidget*)> step) {
  pendingSources.push_back(g_timeout_add_full(G_PRIORITY_DEFAULT, 10, RunPendingStep, new PendingStep{title, std::move(step)},
                     [](gpointer data) { delete static_cast<PendingStep*>(data); }));
}

void AnswerFileChooser(std::function<int(GtkFileChooser*)> step) {
  pendingSources.push_back(g_timeout_add_full(G_PRIORITY_DEFAULT, 10, AnswerPending, new PendingAnswer{std::move(step), nullptr, GTK_RESPONSE_NONE, false},
                     [](gpointer data) { delete static_cast<PendingAnswer*>(data); }));
}

void CancelPendingSteps() {
  for (const guint id : pendingSources) {
    if (g_main_context_find_source_by_id(nullptr, id) != nullptr) g_source_remove(id);
  }
  pendingSources.clear();
}

bool WaitFor(const std::function<bool()>& done) {
  // A ticking timer makes sure the blocking iteration wakes up regularly.
  const guint ticker = g_timeout_add(20, KeepTicking, nullptr);
  const gint64 end = g_get_monotonic_time() + 10 * G_USEC_PER_SEC;
  bool holds = done();
  while (!holds && g_get_monotonic_time() < end) {
    g_main_context_iteration(nullptr, TRUE);
    holds = done();
  }
  g_source_remove(ticker);
  return holds;
}

bool WaitForSize(GtkWidget* window, int width, int height) {
  return WaitFor([&] {
    GtkAllocation allocation;
    gtk_widget_get_allocation(window, &allocation);
    return allocation.width == width && allocation.height == height;
  });
}

namespace {

gboolean WatchdogFired(gpointer data) {
  const auto* title = static_cast<const std::string*>(data);
  ADD_FAILURE() << "window \"" << *title << "\" still open; closed by the watchdog";
  // Dialogs go too, so that a modal loop below the window ends as well.
  std::vector<GtkWidget*> doomed;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    const gchar* text = gtk_window_get_title(GTK_WINDOW(item->data));
    if (GTK_IS_DIALOG(item->data) || (text != nullptr && *title == text)) {
      doomed.push_back(GTK_WIDGET(g_object_ref(item->data)));
    }
  }
  g_list_free(windows);
  for (GtkWidget* window : doomed) {
    gtk_widget_destroy(window);
    g_object_unref(window);
  }
  return G_SOURCE_CONTINUE;
}

}  // namespace

Watchdog::Watchdog(const char* title) : title_(title) {
  source_ = g_timeout_add_seconds(60, WatchdogFired, &title_);
}

Watchdog::~Watchdog() { g_source_remove(source_); }

}  // namespace orvo::test
