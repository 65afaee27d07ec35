#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "ui/windows/window_context.h"


namespace orvo {

class NestedLoop;
class TextListView;

// A viewer of the current playlist: title, artist and path of every song,
// with the current song selected. It offers no actions on the list.
//
//   PlaylistWindow(context).Open();   // the "show Playlist" menu entry
class PlaylistWindow {
 public:
  explicit PlaylistWindow(WindowContext& context);
  PlaylistWindow(const PlaylistWindow&) = delete;
  PlaylistWindow& operator=(const PlaylistWindow&) = delete;
  ~PlaylistWindow();

  // Builds a row for every song (reading each file), shows the window and
  // runs its event loop; returns once the user has closed it. Does nothing
  // when the playlist is empty. The walk leaves the playlist's cursor on
  // its last entry.
  void Open();

 private:
  void Build();
  // Appends the rows; gives the 1-based number of the row to select, 0 for none.
  std::size_t FillRows(const std::string& currentPath);
  void Resize(int width, int height);
  void Close();

  static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
  static gboolean OnConfigure(GtkWidget* widget, GdkEventConfigure* event, gpointer self);
  static void OnDestroy(GtkWidget* widget, gpointer self);

  WindowContext& context_;
  GtkWidget* window_ = nullptr;
  GtkWidget* fixed_ = nullptr;
  std::unique_ptr<TextListView> list_;
  int width_ = 0;  // the window's size as last configured
  int height_ = 0;
  NestedLoop* loop_ = nullptr;  // the running loop, while open
};

}  // namespace orvo
