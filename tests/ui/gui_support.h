#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

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

// Lets the toolkit work, in nested loops too, until `done` holds, for ten
// seconds at most: a bound against hangs, no timing expectation.
inline bool WaitFor(const std::function<bool()>& done) {
  for (int waited = 0; waited < 10000; waited += 5, g_usleep(5000)) {
    while (g_main_context_iteration(nullptr, FALSE)) continue;
    if (done()) return true;
  }
  return false;
}

inline std::vector<GtkWidget*> FindAll(GtkWidget* root, GType type) {
  std::vector<GtkWidget*> found;
  if (G_TYPE_CHECK_INSTANCE_TYPE(root, type)) found.push_back(root);
  GList* children = GTK_IS_CONTAINER(root) ? gtk_container_get_children(GTK_CONTAINER(root)) : 0;
  for (GList* child = children; child != nullptr; child = child->next) {
    for (GtkWidget* below : FindAll(GTK_WIDGET(child->data), type)) found.push_back(below);
  }
  g_list_free(children);
  return found;
}

// A widget as the user sees it: its label (else its type), its place and size
// in its GtkFixed, "[x]" when checked, "(off)" when insensitive.
inline std::string Describe(GtkWidget* w) {
  int x = -1, y = -1, width = -1, height = -1;
  if (GTK_IS_FIXED(w->parent))
    gtk_container_child_get(GTK_CONTAINER(w->parent), w, "x", &x, "y", &y, NULL);
  gtk_widget_get_size_request(w, &width, &height);
  const char* label = GTK_IS_BUTTON(w) ? gtk_button_get_label(GTK_BUTTON(w)) : nullptr;
  std::string text = label ? label : G_OBJECT_TYPE_NAME(w);
  if (GTK_IS_LABEL(w)) text = gtk_label_get_text(GTK_LABEL(w));
  for (int value : {x, y, width, height}) text += " " + std::to_string(value);
  if (GTK_IS_TOGGLE_BUTTON(w) && GTK_TOGGLE_BUTTON(w)->active) text += " [x]";
  return GTK_WIDGET_SENSITIVE(w) ? text : text + " (off)";
}

inline void Click(GtkWidget* window, const char* label) {
  gtk_button_clicked(GTK_BUTTON(gtk_test_find_widget(window, label, GTK_TYPE_BUTTON)));
}

// The window manager's close request.
inline void SendDelete(GtkWidget* window) {
  GdkEvent* event = gdk_event_new(GDK_DELETE);
  event->any.window = GDK_WINDOW(g_object_ref(window->window));
  gtk_main_do_event(event);
  gdk_event_free(event);
}

// The mapped top-level window titled `title` ("": untitled, not the tray's).
inline GtkWidget* Shown(const std::string& title) {
  GtkWidget* shown = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w != nullptr; w = w->next) {
    const gchar* text = gtk_window_get_title(GTK_WINDOW(w->data));
    if (title == (text ? text : "") && GTK_WIDGET_MAPPED(w->data) && !GTK_IS_PLUG(w->data))
      shown = GTK_WIDGET(w->data);
  }
  g_list_free(windows);
  return shown;
}

// Runs `step` from the main loop, inside whichever window's loop, once `title` is shown.
inline void WhenShown(const std::string& title, std::function<void(GtkWidget*)> step) {
  using Step = std::function<bool()>;
  g_timeout_add_full(
      G_PRIORITY_DEFAULT, 10, [](gpointer p) -> gboolean { return !(*static_cast<Step*>(p))(); },
      new Step([=] { return Shown(title) && (step(Shown(title)), true); }),
      [](gpointer p) { delete static_cast<Step*>(p); });
}

// Runs `open`, which returns once its window has closed, with `steps` run on
// the shown window before its "exit" button is pressed.
inline void RunWindow(const std::string& title, const std::function<void()>& open,
                      const std::function<void(GtkWidget*)>& steps) {
  bool ran = false;
  WhenShown(title, [&](GtkWidget* window) { steps(window), ran = true, Click(window, "exit"); });
  open();
  EXPECT_TRUE(ran && Shown(title) == nullptr) << title;
}

// Every part a player window needs, in a program folder with a blank in its
// name that holds a 400 x 100 "skin.png".
struct PlayerFixture {
  bool toolkit = gtk_init_check(nullptr, nullptr);  // once for all tests
  PlayerWindow& Build(const std::string& skinDescription) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 400, 100);
    gdk_pixbuf_fill(pixbuf, 0x3050d0ff);
    gdk_pixbuf_save(pixbuf, (dir + "skin.png").c_str(), "png", nullptr, nullptr);
    g_object_unref(pixbuf);
    WriteBytes(dir + "orvo.ini", skinDescription);
    symbols.Resolve("");
    player = std::make_unique<PlayerWindow>(actions, cd, playlist, settings, symbols, dir);
    player->Build(dir + "orvo.ini");
    WaitFor([&] { return GTK_WIDGET_MAPPED(player->window()); });
    return *player;
  }
  ScratchDir folder;
  std::string dir = folder.file("program folder/");
  bool made = mkdir(dir.c_str(), 0700) == 0;
  Settings settings;
  RecordingActions actions;
  CdPlayer cd;
  CurrentPlaylist playlist;
  OptionalSymbols symbols;
  std::unique_ptr<PlayerWindow> player;
};

// For the secondary windows: what they borrow, real dialogs and bubbles, and the player at
// (123, 77), hidden, so that its GDK state takes up minimising and stacking as a window manager.
struct WindowFixture : ::testing::Test, PlayerFixture {
  void SetUp() override {
    gtk_widget_hide(context.playerWindow = Build("[player]\nwindowx=123\nwindowy=77\n").window());
    notifier.InitNotifications("Orvo_M");
  }
  int PlayerIs(int state) const {
    return !!(gdk_window_get_state(player->window()->window) & state);
  }
  PathList foundFiles;
  std::string skinFile = "orvo.ini";
  bool skinRemembered = false;
  ProgramPaths paths = ProgramPaths::FromProgramPath(dir + "Orvo_M");
  GtkMessageDialogs dialogs;
  NotificationService notifier;
  SongInfo songInfo;
  WindowContext context{nullptr,        [this] { return player->iconified(); },
                        settings,       playlist,
                        foundFiles,     skinFile,
                        skinRemembered, paths,
                        dialogs,        notifier,
                        songInfo};
};

}  // namespace orvo::test
