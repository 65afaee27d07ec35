#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>

#include "backends/cd_player.h"
#include "backends/notification_service.h"
#include "core/program_paths.h"
#include "core/settings.h"
#include "mediainfo/song_info.h"
#include "playlist/path_list.h"
#include "tests/support/notification_log.h"
#include "tests/support/scratch_dir.h"
#include "tests/ui/recording_actions.h"
#include "ui/dialogs/gtk_message_dialogs.h"
#include "ui/optional_symbols.h"
#include "ui/player_window.h"
#include "ui/windows/window_context.h"

namespace orvo::test {

// Lets the toolkit work, inside nested loops too, until `done` holds; ten
// seconds at most, a bound against hangs and no timing expectation.
inline bool WaitFor(const std::function<bool()>& done, int limitMs = 10000) {
  for (int waited = 0; waited < limitMs; waited += 5, g_usleep(5000)) {
    while (g_main_context_iteration(nullptr, FALSE)) continue;
    if (done()) return true;
  }
  return false;
}

inline std::vector<GtkWidget*> FindAll(GtkWidget* root, GType type) {
  std::vector<GtkWidget*> found;
  if (G_TYPE_CHECK_INSTANCE_TYPE(root, type)) found.push_back(root);
  GList* children = GTK_IS_CONTAINER(root) ? gtk_container_get_children(GTK_CONTAINER(root)) : nullptr;
  for (GList* child = children; child != nullptr; child = child->next) {
    for (GtkWidget* below : FindAll(GTK_WIDGET(child->data), type)) found.push_back(below);
  }
  g_list_free(children);
  return found;
}

// A control as the user sees it: its text (else its type), "x,y wxh" in its
// GtkFixed, "[x]" or "[ ]" for a check box, "(off)" when insensitive.
inline std::string Describe(GtkWidget* w) {
  int x = -1, y = -1, width = -1, height = -1;
  if (GTK_IS_FIXED(w->parent)) gtk_container_child_get(GTK_CONTAINER(w->parent), w, "x", &x, "y", &y, nullptr);
  gtk_widget_get_size_request(w, &width, &height);
  std::string text = GTK_IS_LABEL(w) ? gtk_label_get_text(GTK_LABEL(w)) : G_OBJECT_TYPE_NAME(w);
  if (GTK_IS_BUTTON(w) && gtk_button_get_label(GTK_BUTTON(w))) text = gtk_button_get_label(GTK_BUTTON(w));
  text += " " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) + "x" + std::to_string(height);
  if (GTK_IS_CHECK_BUTTON(w)) text += GTK_TOGGLE_BUTTON(w)->active ? " [x]" : " [ ]";
  return GTK_WIDGET_SENSITIVE(w) ? text : text + " (off)";
}

inline void Click(GtkWidget* window, const std::string& label) {
  for (GtkWidget* button : FindAll(window, GTK_TYPE_BUTTON)) {
    const gchar* text = gtk_button_get_label(GTK_BUTTON(button));
    if (text != nullptr && label == text) return gtk_button_clicked(GTK_BUTTON(button));
  }
  ADD_FAILURE() << "no button " << label;
}

// The window manager's close request.
inline void SendDelete(GtkWidget* window) {
  GdkEvent* event = gdk_event_new(GDK_DELETE);
  event->any.window = GDK_WINDOW(g_object_ref(window->window));
  gtk_main_do_event(event);
  gdk_event_free(event);
}

// The mapped top-level window titled `title` (empty: untitled).
inline GtkWidget* Shown(const std::string& title) {
  GtkWidget* shown = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w != nullptr; w = w->next) {
    const gchar* text = gtk_window_get_title(GTK_WINDOW(w->data));
    if (title == (text != nullptr ? text : "") && GTK_WIDGET_MAPPED(w->data)) shown = GTK_WIDGET(w->data);
  }
  g_list_free(windows);
  return shown;
}

// Runs `step` from the main loop (inside the window's own loop, that is) once
// a window titled `title` is shown.
inline void WhenShown(const std::string& title, std::function<void(GtkWidget*)> step) {
  using Pending = std::pair<std::string, std::function<void(GtkWidget*)>>;
  g_timeout_add_full(G_PRIORITY_DEFAULT, 10, [](gpointer data) -> gboolean {
    auto* pending = static_cast<Pending*>(data);
    GtkWidget* window = Shown(pending->first);
    if (window != nullptr) pending->second(window);
    return window == nullptr;
  }, new Pending(title, std::move(step)), [](gpointer data) { delete static_cast<Pending*>(data); });
}

// Runs `open`, which returns once its window has closed, with `steps` run on
// the shown window, which then must close on its "exit" button.
inline void RunWindow(const std::string& title, const std::function<void()>& open,
                      const std::function<void(GtkWidget*)>& steps) {
  bool ran = false;
  WhenShown(title, [&](GtkWidget* window) {
    steps(window);
    ran = true;
    Click(window, "exit");
  });
  open();
  EXPECT_TRUE(ran && Shown(title) == nullptr) << title;
}

// A PNG of opaque `rgb`, fully transparent in its left `clear` columns.
inline void WriteSkinImage(const std::string& path, int width, int height, int clear = 0) {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height);
  gdk_pixbuf_fill(pixbuf, 0x3050d0ff);
  for (int y = 0; y < height; ++y) std::fill_n(gdk_pixbuf_get_pixels(pixbuf) + y * gdk_pixbuf_get_rowstride(pixbuf), 4 * clear, 0);
  gdk_pixbuf_save(pixbuf, path.c_str(), "png", nullptr, nullptr);
  g_object_unref(pixbuf);
}

// Every part a player window needs, with a program folder (a blank in its
// name) holding a 400 x 100 "skin.png".
struct PlayerFixture {
  explicit PlayerFixture(const std::vector<std::string>& drives = {}) {
    mkdir(dir.c_str(), 0700);
    WriteSkinImage(dir + "skin.png", 400, 100);
    cd.OpenSources(drives);
  }
  PlayerWindow& Build(const std::string& skinDescription) {
    symbols.Resolve("");
    WriteBytes(dir + "orvo.ini", skinDescription);
    player = std::make_unique<PlayerWindow>(actions, cd, playlist, settings, symbols, dir);
    player->Build(dir + "orvo.ini");
    WaitFor([&] { return GTK_WIDGET_MAPPED(player->window()); });
    return *player;
  }
  ScratchDir folder;
  std::string dir = folder.file("program folder/");
  Settings settings;
  RecordingActions actions;
  CdPlayer cd;
  CurrentPlaylist playlist;
  OptionalSymbols symbols;
  std::unique_ptr<PlayerWindow> player;
};

// For the secondary windows: the records they borrow, the real dialogs and
// notifications, and a stand-in player window at (123, 77), realised but not
// shown, whose GDK state takes up the iconify and keep-above or -below
// requests at once, as a window manager would.
class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    mkdir(dir.c_str(), 0700);
    gtk_window_move(GTK_WINDOW(player), 123, 77);
    gtk_widget_realize(player);
    notifier.InitNotifications("Orvo_M");
  }
  bool PlayerIs(int state) const { return (gdk_window_get_state(player->window) & state) != 0; }

  ScratchDir folder;
  GtkWidget* player = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  Settings settings;
  CurrentPlaylist playlist;
  PathList foundFiles;
  std::string skinFile = "orvo.ini";
  bool skinRemembered = false;
  ProgramPaths paths = ProgramPaths::FromProgramPath(folder.file("program folder/Orvo_M"));
  const std::string& dir = paths.programDirectory;
  GtkMessageDialogs dialogs;
  NotificationService notifier;
  SongInfo songInfo;
  WindowContext context{player, [this] { return PlayerIs(GDK_WINDOW_STATE_ICONIFIED); }, settings, playlist,
                        foundFiles, skinFile, skinRemembered, paths, dialogs, notifier, songInfo};
};

}  // namespace orvo::test
