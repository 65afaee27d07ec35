#include "ui/windows/playlist_window.h"

#include <gtk/gtk.h>

#include <algorithm>

#include "mediainfo/song_info.h"
#include "playlist/path_list.h"
#include "ui/fixed_layout.h"
#include "ui/windows/nested_loop.h"
#include "ui/windows/playlist_row.h"
#include "ui/windows/text_list_view.h"

namespace orvo {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 450;
constexpr Geometry kListPlace{10, 10, 380, 430};
constexpr int kMargin = 10;  // the list keeps this distance from the top-left corner

}  // namespace

PlaylistWindow::PlaylistWindow(WindowContext& context) : context_(context) {}

PlaylistWindow::~PlaylistWindow() { Close(); }

void PlaylistWindow::Open() {
  CurrentPlaylist& playlist = context_.playlist;
  if (playlist.empty() || window_ != nullptr) return;
  const std::string currentPath = playlist.hasCursor() ? playlist.current() : std::string();
  Build();
  const std::size_t selectedRow = FillRows(currentPath);
  if (selectedRow > 0) list_->Select(selectedRow - 1);
  gtk_widget_show_all(window_);

  NestedLoop loop;
  loop_ = &loop;
  loop.Run();
  loop_ = nullptr;
  Close();
}

void PlaylistWindow::Build() {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window_), "Playlist");
  gtk_window_set_default_size(GTK_WINDOW(window_), kWidth, kHeight);
  width_ = kWidth;
  height_ = kHeight;
  gtk_window_set_resizable(GTK_WINDOW(window_), TRUE);
  // Explicit minimum size hints keep the list's size request from becoming
  // the window's minimum, so the user can make it smaller again.
  GdkGeometry minimum{};
  minimum.min_width = 30;
  minimum.min_height = 30;
  gtk_window_set_geometry_hints(GTK_WINDOW(window_), nullptr, &minimum, GDK_HINT_MIN_SIZE);
  gtk_window_move(GTK_WINDOW(window_), 0, 0);
  if (context_.playerWindow != nullptr) {
    gtk_window_set_transient_for(GTK_WINDOW(window_), GTK_WINDOW(context_.playerWindow));
  }
  SetFrame(window_,
           static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_RESIZEH |
                                        GDK_DECOR_MENU),
           static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_RESIZE | GDK_FUNC_CLOSE));

  fixed_ = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(window_), fixed_);
  list_ = std::make_unique<TextListView>(
      std::initializer_list<TextListView::Column>{{"Titel", 400}, {"Artist", 150}, {"path", 150}},
      GTK_SELECTION_SINGLE);
  PlaceWidget(fixed_, list_->widget(), kListPlace);

  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(window_, "configure-event", G_CALLBACK(OnConfigure), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroy), this);
}

std::size_t PlaylistWindow::FillRows(const std::string& currentPath) {
  CurrentPlaylist& playlist = context_.playlist;
  std::size_t rows = 0;
  std::size_t noted = 0;
  playlist.reset();
  while (playlist.next()) {
    const std::string path = playlist.current();
    const PlaylistRow row = ListSong(path, context_.songInfo);
    list_->Append({row.title, row.artist, row.path});
    ++rows;
    if (!currentPath.empty() && path == currentPath) noted = rows;
  }
  return noted;
}

void PlaylistWindow::Resize(int width, int height) {
  // Configure events come for moves and for the first showing too; only a
  // new size changes the list (it starts 10 pixels short of the edges).
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  gtk_widget_set_size_request(list_->widget(), std::max(1, width - kMargin),
                              std::max(1, height - kMargin));
}

void PlaylistWindow::Close() {
  GtkWidget* window = window_;
  window_ = nullptr;
  if (window != nullptr) gtk_widget_destroy(window);
  list_.reset();
}

gboolean PlaylistWindow::OnDelete(GtkWidget* widget, GdkEvent*, gpointer self) {
  auto* window = static_cast<PlaylistWindow*>(self);
  // The loop may lie below a song started while the window was open and end
  // only after it; the window goes at once and is destroyed by Close() once
  // the loop has ended.
  gtk_widget_hide(widget);
  if (window->loop_ != nullptr) window->loop_->Quit();
  return TRUE;
}

gboolean PlaylistWindow::OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer self) {
  static_cast<PlaylistWindow*>(self)->Resize(event->width, event->height);
  return FALSE;
}

void PlaylistWindow::OnDestroy(GtkWidget*, gpointer self) {
  // Destroyed from outside (the application quitting, say): leave the loop
  // and do not touch the widgets again.
  auto* window = static_cast<PlaylistWindow*>(self);
  window->window_ = nullptr;
  if (window->loop_ != nullptr) window->loop_->Quit();
}

}  // namespace orvo
