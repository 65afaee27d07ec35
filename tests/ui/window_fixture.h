#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>

#include "app/program_paths.h"
#include "app/settings.h"
#include "mediainfo/song_info.h"
#include "playlist/path_list.h"
#include "tests/ui/window_test_support.h"
#include "ui/window_context.h"

namespace orvo::test {

// A shown stand-in for the player window at (123, 77), a fresh program
// folder, the process-wide records the windows borrow, and doubles for the
// message dialog and the notifications.
class WindowFixture : public ::testing::Test {
 protected:
  static constexpr int kPlayerX = 123;
  static constexpr int kPlayerY = 77;

  void SetUp() override {
    paths.programDirectory = MakeTempFolder();
    paths.programPath = paths.programDirectory + "Orvo_M";
    player = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(player), "player");
    gtk_window_set_default_size(GTK_WINDOW(player), 200, 80);
    gtk_window_move(GTK_WINDOW(player), kPlayerX, kPlayerY);
    gtk_widget_show(player);
    context.playerWindow = player;
  }

  void TearDown() override {
    CancelPendingSteps();
    gtk_widget_destroy(player);
    const std::string command = "rm -rf '" + paths.programDirectory + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }

  // The player's GDK state, as the player window's own tracker sees it.
  bool PlayerIconified() const {
    GdkWindow* window = gtk_widget_get_window(player);
    return window != nullptr && (gdk_window_get_state(window) & GDK_WINDOW_STATE_ICONIFIED) != 0;
  }

  GtkWidget* player = nullptr;
  bool reportIconified = true;  // without a window manager nothing is ever minimised
  Settings settings;
  CurrentPlaylist playlist;
  PathList foundFiles;
  std::string skinFile = "orvo.ini";
  bool skinRemembered = false;
  ProgramPaths paths;
  AnsweringDialogs dialogs;
  RecordingNotifier notifier;
  SongInfo songInfo;
  WindowContext context{nullptr, [this] { return reportIconified; }, settings, playlist,
                        foundFiles, skinFile, skinRemembered, paths, dialogs, notifier, songInfo};
};

}  // namespace orvo::test
