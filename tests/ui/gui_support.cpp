#include "tests/ui/gui_support.h"

#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace orvo::test {

bool WaitFor(const std::function<bool()>& done, int limitMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  for (;;) {
    // Everything pending first, the low-priority redraws included: a check
    // that talks to the X server (a screenshot) must not starve them.
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    g_usleep(5000);
  }
}

bool WaitForSize(GtkWidget* window, int width, int height) {
  return WaitFor([&] {
    const Placement box = AllocationOf(window);
    return box.width == width && box.height == height;
  });
}

void PumpFor(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  WaitFor([&] { return std::chrono::steady_clock::now() > end; }, ms + 1000);
}

TempFolder::TempFolder() {
  char pattern[] = "/tmp/orvo ui test XXXXXX";  // blanks on purpose
  if (mkdtemp(pattern) == nullptr) ADD_FAILURE() << "no temporary folder";
  path_ = std::string(pattern) + "/";
}

TempFolder::~TempFolder() {
  const std::string command = "chmod -R u+rwx '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'";
  if (std::system(command.c_str()) != 0) ADD_FAILURE() << "could not remove " << path_;
}

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const {
  WriteBytes(path_ + name, bytes);
  return path_ + name;
}

std::string TempFolder::WriteSkinImage(const std::string& name, int width, int height,
                                       int clearColumns, unsigned rgb) const {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height);
  gdk_pixbuf_fill(pixbuf, (rgb << 8) | 0xff);
  guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < clearColumns && x < width; ++x) {
      guchar* p = pixels + y * gdk_pixbuf_get_rowstride(pixbuf) + x * 4;
      p[0] = p[1] = p[2] = p[3] = 0;
    }
  }
  const std::string file = path_ + name;
  gdk_pixbuf_save(pixbuf, file.c_str(), "png", nullptr, nullptr);
  g_object_unref(pixbuf);
  return file;
}

namespace {

// An ID3v2.3 text frame in ISO-8859-1 (encoding byte 0).
std::string TextFrame(const char* id, const std::string& text) {
  const std::size_t size = text.size() + 1;
  std::string frame(id, 4);
  for (int shift = 24; shift >= 0; shift -= 8) frame += static_cast<char>((size >> shift) & 0xFF);
  return frame + std::string(3, '\0') + text;  // flags, encoding
}

}  // namespace

void MakeMp3(const std::string& path, const std::string& title, const std::string& artist) {
  const std::string wav = path + ".wav";
  const std::string plain = path + ".plain";
  const std::string command = "sox -n -r 44100 -c 1 -b 16 '" + wav +
                              "' synth 0.2 sine 440 && lame --quiet -b 64 '" + wav + "' '" +
                              plain + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  // lame's own tag options do not pass 8-bit texts unchanged.
  std::string tag;
  if (!title.empty() || !artist.empty()) {
    const std::string frames = (title.empty() ? "" : TextFrame("TIT2", title)) +
                               (artist.empty() ? "" : TextFrame("TPE1", artist));
    tag = std::string("ID3\x03\0\0", 6);
    for (int shift = 21; shift >= 0; shift -= 7) {
      tag += static_cast<char>((frames.size() >> shift) & 0x7F);  // synchsafe size
    }
    tag += frames;
  }
  WriteBytes(path, tag + ReadBytes(plain));
  unlink(wav.c_str());
  unlink(plain.c_str());
}

std::vector<std::string> ListedInFolder(const std::string& folder, const std::string& suffix) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      names.push_back(name);
    }
  }
  closedir(dir);
  return names;
}

std::vector<GtkWidget*> Toplevels(const std::string& title) {
  std::vector<GtkWidget*> found;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    const gchar* text = gtk_window_get_title(GTK_WINDOW(item->data));
    if (text != nullptr && title == text) found.push_back(GTK_WIDGET(item->data));
  }
  g_list_free(windows);
  return found;
}

GtkWidget* FindToplevel(const std::string& title) {
  for (GtkWidget* window : Toplevels(title)) {
    if (gtk_widget_get_mapped(window)) return window;
  }
  return nullptr;
}

std::vector<GtkWidget*> Children(GtkWidget* container) {
  std::vector<GtkWidget*> out;
  GList* list = gtk_container_get_children(GTK_CONTAINER(container));
  for (GList* l = list; l != nullptr; l = l->next) out.push_back(GTK_WIDGET(l->data));
  g_list_free(list);
  return out;
}

std::vector<GtkWidget*> FindAll(GtkWidget* root, GType type) {
  std::vector<GtkWidget*> found;
  if (G_TYPE_CHECK_INSTANCE_TYPE(root, type)) found.push_back(root);
  if (!GTK_IS_CONTAINER(root)) return found;
  for (GtkWidget* child : Children(root)) {
    for (GtkWidget* below : FindAll(child, type)) found.push_back(below);
  }
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

std::string Describe(GtkWidget* control) {
  const Placement where = PlacementOf(control);
  std::string text;
  if (GTK_IS_BUTTON(control) && gtk_button_get_label(GTK_BUTTON(control)) != nullptr) {
    text = gtk_button_get_label(GTK_BUTTON(control));
  } else if (GTK_IS_LABEL(control)) {
    text = gtk_label_get_text(GTK_LABEL(control));
  } else if (GTK_IS_ENTRY(control)) {
    text = gtk_entry_get_text(GTK_ENTRY(control));
  }
  std::string out = std::string(G_OBJECT_TYPE_NAME(control)) + " " + text + " " +
                    std::to_string(where.x) + "," + std::to_string(where.y) + " " +
                    std::to_string(where.width) + "x" + std::to_string(where.height);
  if (GTK_IS_CHECK_BUTTON(control)) {
    out += gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(control)) ? " [x]" : " [ ]";
  }
  return gtk_widget_get_sensitive(control) ? out : out + " (off)";
}

std::vector<std::string> DescribeAll(GtkWidget* fixed) {
  std::vector<std::string> out;
  for (GtkWidget* control : Children(fixed)) out.push_back(Describe(control));
  return out;
}

Placement AllocationOf(GtkWidget* widget) {
  GtkAllocation a;
  gtk_widget_get_allocation(widget, &a);
  return Placement{a.x, a.y, a.width, a.height};
}

std::vector<std::string> ColumnTexts(GtkTreeModel* model, int column) {
  std::vector<std::string> texts;
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

GdkWMDecoration Decorations(GtkWidget* window) {
  GdkWMDecoration decorations{};
  EXPECT_TRUE(gdk_window_get_decorations(gtk_widget_get_window(window), &decorations));
  return decorations;
}

bool HasWmState(GtkWidget* window, const char* atom) {
  GdkAtom type = GDK_NONE;
  gint format = 0;
  gint length = 0;
  guchar* data = nullptr;
  bool found = false;
  if (gdk_property_get(gtk_widget_get_window(window), gdk_atom_intern("_NET_WM_STATE", FALSE),
                       gdk_atom_intern("ATOM", FALSE), 0, 64, FALSE, &type, &format, &length,
                       &data)) {
    const auto* atoms = reinterpret_cast<const GdkAtom*>(data);
    for (std::size_t i = 0; i < static_cast<std::size_t>(length) / sizeof(GdkAtom); ++i) {
      found = found || atoms[i] == gdk_atom_intern(atom, FALSE);
    }
    g_free(data);
  }
  return found;
}

void SendDelete(GtkWidget* window) {
  GdkEvent* event = gdk_event_new(GDK_DELETE);
  event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
  event->any.send_event = TRUE;
  gtk_main_do_event(event);
  gdk_event_free(event);
}

unsigned Background(GtkWidget* widget) {
  const GdkColor colour = gtk_widget_get_style(widget)->bg[GTK_STATE_NORMAL];
  return ((colour.red >> 8u) << 16) | ((colour.green >> 8u) << 8) | (colour.blue >> 8u);
}

unsigned ScreenPixel(int x, int y) {
  GdkPixbuf* shot = gdk_pixbuf_get_from_drawable(nullptr, gdk_get_default_root_window(), nullptr,
                                                 x, y, 0, 0, 1, 1);
  if (shot == nullptr) return 0xffffffffu;
  const guchar* p = gdk_pixbuf_get_pixels(shot);
  const unsigned rgb = (unsigned{p[0]} << 16) | (unsigned{p[1]} << 8) | p[2];
  g_object_unref(shot);
  return rgb;
}

namespace {

struct PendingStep {
  std::string title;
  std::function<void(GtkWidget*)> step;
};

gboolean RunPendingStep(gpointer data) {
  auto* pending = static_cast<PendingStep*>(data);
  GtkWidget* window = FindToplevel(pending->title);
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

// The chooser checks an accepted name against its folder, which it loads in
// the background, and ignores the response until then; so the response is
// repeated until the dialog is gone.
gboolean AnswerPending(gpointer data) {
  auto* pending = static_cast<PendingAnswer*>(data);
  if (pending->closed) return G_SOURCE_REMOVE;
  if (pending->chooser == nullptr) {
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) {
      if (GTK_IS_FILE_CHOOSER_DIALOG(item->data) && gtk_widget_get_visible(GTK_WIDGET(item->data))) {
        pending->chooser = GTK_WIDGET(item->data);
      }
    }
    g_list_free(windows);
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

template <typename Pending>
void AddPending(GSourceFunc run, Pending* pending) {
  pendingSources.push_back(g_timeout_add_full(
      G_PRIORITY_DEFAULT, 10, run, pending, [](gpointer p) { delete static_cast<Pending*>(p); }));
}

}  // namespace

void WhenShown(const std::string& title, std::function<void(GtkWidget*)> step) {
  AddPending(RunPendingStep, new PendingStep{title, std::move(step)});
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

void RunWindow(const std::string& title, const std::function<void()>& open,
               const std::function<void(GtkWidget*)>& steps, const char* exitLabel) {
  bool ran = false;
  WhenShown(title, [&](GtkWidget* window) {
    steps(window);
    ran = true;
    if (FindToplevel(title) == nullptr) return;
    GtkWidget* exit = exitLabel != nullptr ? FindButton(window, exitLabel) : nullptr;
    ASSERT_TRUE(exitLabel == nullptr || exit != nullptr) << title;
    if (exit != nullptr) {
      gtk_button_clicked(GTK_BUTTON(exit));
    } else {
      SendDelete(window);
    }
  });
  std::string watched = title;
  const guint watchdog = g_timeout_add_seconds(60, WatchdogFired, &watched);
  open();
  g_source_remove(watchdog);
  EXPECT_TRUE(ran) << title;
  EXPECT_TRUE(Toplevels(title).empty()) << title << " is destroyed on closing";
}

void AnswerFileChooser(std::function<int(GtkFileChooser*)> step) {
  AddPending(AnswerPending, new PendingAnswer{std::move(step)});
}

void CancelPendingSteps() {
  for (const guint id : pendingSources) {
    if (g_main_context_find_source_by_id(nullptr, id) != nullptr) g_source_remove(id);
  }
  pendingSources.clear();
}

PlayerFixture::PlayerFixture(std::vector<std::string> driveNames) : drives(std::move(driveNames)) {
  folder.WriteSkinImage("skin.png", 400, 100);
}

PlayerWindow& PlayerFixture::Build(const std::string& text, const OptionalLibraries* libraries,
                                   const std::string& skinFile) {
  if (libraries != nullptr) {
    symbols.Resolve(std::string(), *libraries);
  } else {
    symbols.Resolve(std::string());
  }
  if (!text.empty()) folder.Write(skinFile, text);
  player = std::make_unique<PlayerWindow>(actions, drives, playlist, settings, symbols,
                                          folder.path());
  player->Build(folder.path() + skinFile);
  WaitFor([&] { return gtk_widget_get_mapped(player->window()); });
  return *player;
}

void WindowFixture::SetUp() {
  paths.programDirectory = folder.path();
  paths.programPath = paths.programDirectory + "Orvo_M";
  player = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(player), "player");
  gtk_window_set_default_size(GTK_WINDOW(player), 200, 80);
  gtk_window_move(GTK_WINDOW(player), kPlayerX, kPlayerY);
  gtk_widget_show(player);
  context.playerWindow = player;
}

void WindowFixture::TearDown() {
  CancelPendingSteps();
  gtk_widget_destroy(player);
}

bool WindowFixture::PlayerIconified() const {
  GdkWindow* window = gtk_widget_get_window(player);
  return window != nullptr && (gdk_window_get_state(window) & GDK_WINDOW_STATE_ICONIFIED) != 0;
}

}  // namespace orvo::test
