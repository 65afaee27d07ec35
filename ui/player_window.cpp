#include "ui/player_window.h"

#include <pango/pangocairo.h>

#include <cstdint>
#include <cstdio>

#include "base/ini_file.h"
#include "base/latin1.h"
#include "core/player_actions.h"
#include "core/settings.h"
#include "ui/button_row.h"
#include "ui/dialogs/message_box.h"
#include "ui/optional_symbols.h"
#include "ui/skin_image_loader.h"
#include "ui/transparency.h"
#include "ui/window_behaviour.h"

namespace orvo {
namespace {

void PrintLine(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

PlayerWindow::PlayerWindow(PlayerActions& actions, CdDrives& drives, CurrentPlaylist& playlist,
                           const Settings& settings, const OptionalSymbols& symbols,
                           std::string programDirectory)
    : actions_(actions),
      settings_(settings),
      symbols_(symbols),
      programDirectory_(std::move(programDirectory)),
      menus_(actions, drives),
      cursor_(playlist, actions),
      statusIcon_(
          symbols, [this] { ToggleMinimised(); }, [this] { menus_.PopUpStatusIconMenu(); }) {}

PlayerWindow::~PlayerWindow() {
  if (window_ == nullptr) return;
  g_signal_handlers_disconnect_matched(window_, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, this);
  for (GtkWidget* button : controlButtons_) {
    g_signal_handlers_disconnect_matched(button, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, this);
  }
  for (GtkWidget* button : playerControlButtons_) {
    g_signal_handlers_disconnect_matched(button, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, this);
  }
  gtk_widget_destroy(window_);
}

void PlayerWindow::PrepareFonts() {
  // Creating the default font map is what starts pango's loading thread.
  pango_cairo_font_map_get_default();
}

void PlayerWindow::Build(const std::string& skinFile) {
  PrepareFonts();
  IniFile file;
  file.open(skinFile);  // a missing file leaves every key at its default
  // The image's name is all its reading needs, so that starts before the
  // window is made.
  skin_.ReadImage(file, programDirectory_);
  SkinImageLoader image(ToUtf8(skin_.imagePath));
  image.StartFileInfo(symbols_.gdk_pixbuf_get_file_info);
  CreateWindow(skinFile);
  PlaceSkinImage(image);
  RequestImageSize(image);
  gint width = 0;
  gint height = 0;
  gtk_window_get_size(GTK_WINDOW(window_), &width, &height);
  skin_.ReadLayout(file, width, height);
  file.close();

  gtk_window_move(GTK_WINDOW(window_), skin_.windowx, skin_.windowy);
  BuildRows();
  BuildDisplayLabel();
  ConnectButtons();
  ConnectWindowSignals();
  gtk_window_set_decorated(GTK_WINDOW(window_), FALSE);
  // The colormap has to be chosen before the window is realised.
  alphaSupported_ = CheckAlphaSupport(window_, symbols_);
  statusIcon_.Create(programDirectory_ + "audio-x-generic.png");
  ShowWindow();
}

void PlayerWindow::CreateWindow(const std::string& skinFile) {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window_), ToUtf8("Orvo M ").c_str());
  gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
  if (symbols_.gtk_window_set_icon_name != nullptr) {
    symbols_.gtk_window_set_icon_name(GTK_WINDOW(window_), ToUtf8("gtk-media-play").c_str());
  }
  PrintLine("Inifile : " + skinFile);
  g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroy), this);

  skinArea_ = gtk_fixed_new();
  gtk_widget_show(skinArea_);
  gtk_container_add(GTK_CONTAINER(window_), skinArea_);
}

void PlayerWindow::PlaceSkinImage(SkinImageLoader& loader) {
  PrintLine("playerskin : " + skin_.imagePath);
  GtkWidget* image = loader.CreateImage();
  if (image == nullptr) {
    MessageBox("Loadimage failed", "gtk_image_new_from_file doesn't work\n\nimage = " +
                                       skin_.imagePath + "\nfixed = " +
                                       std::to_string(reinterpret_cast<std::uintptr_t>(skinArea_)));
    return;
  }
  // The first child is drawn first, so everything added later lies above it.
  gtk_fixed_put(GTK_FIXED(skinArea_), image, 0, 0);
  gtk_widget_show(image);
}

void PlayerWindow::RequestImageSize(const SkinImageLoader& loader) {
  if (symbols_.gdk_pixbuf_get_file_info == nullptr) return;
  gint width = 0;
  gint height = 0;
  loader.FileSize(&width, &height);
  if (width != 0 && height != 0) gtk_widget_set_size_request(window_, width, height);
}

void PlayerWindow::BuildRows() {
  const ButtonRow control(skinArea_, skin_.control, skin_.buttonsize,
                          {"gtk-media-previous", "gtk-media-rewind", "gtk-media-play",
                           "gtk-media-pause", "gtk-media-forward", "gtk-media-next"});
  controlRow_ = control.box();
  controlButtons_ = control.buttons();
  if (!skin_.playerControlsExist()) return;
  const ButtonRow playerControl(skinArea_, skin_.playerControl, skin_.buttonsize,
                                {"gtk-open", "gtk-convert", "gtk-preferences", "gtk-quit"});
  playerControlRow_ = playerControl.box();
  playerControlButtons_ = playerControl.buttons();
  openButton_ = playerControlButtons_.front();
}

void PlayerWindow::BuildDisplayLabel() {
  displayLabel_ = gtk_label_new(ToUtf8("Orvo M - Orvo Media Player").c_str());
  gtk_widget_show(displayLabel_);
  gtk_fixed_put(GTK_FIXED(skinArea_), displayLabel_, skin_.displayx, skin_.displayy);
  gtk_widget_set_size_request(displayLabel_, 200, 20);
  GdkColor colour{0, 0, 0, 0};
  if (!gdk_color_parse(ToUtf8(skin_.color).c_str(), &colour)) colour = GdkColor{0, 0, 0, 0};
  gtk_widget_modify_fg(displayLabel_, GTK_STATE_NORMAL, &colour);
}

void PlayerWindow::ConnectButtons() {
  using Handler = void (*)(GtkButton*, gpointer);
  const Handler controlHandlers[] = {
      OnCursorButton<&PlaylistCursor::PlayFirstSong>,
      OnCursorButton<&PlaylistCursor::PlayPreviousSong>,
      OnActionButton<&PlayerActions::StartPlayback>,
      OnActionButton<&PlayerActions::TogglePause>,
      OnCursorButton<&PlaylistCursor::PlayNextSong>,
      OnCursorButton<&PlaylistCursor::PlayLastSong>,
  };
  const Handler playerControlHandlers[] = {
      OnOpenButton,
      OnActionButton<&PlayerActions::OpenPlaylistManager>,
      OnActionButton<&PlayerActions::OpenPreferences>,
      OnActionButton<&PlayerActions::Quit>,
  };
  for (size_t i = 0; i < controlButtons_.size(); ++i) {
    g_signal_connect(controlButtons_[i], "clicked", G_CALLBACK(controlHandlers[i]), this);
  }
  for (size_t i = 0; i < playerControlButtons_.size(); ++i) {
    g_signal_connect(playerControlButtons_[i], "clicked", G_CALLBACK(playerControlHandlers[i]),
                     this);
  }
}

void PlayerWindow::ConnectWindowSignals() {
  g_signal_connect(window_, "window-state-event", G_CALLBACK(OnWindowState), this);
  gtk_widget_set_app_paintable(window_, TRUE);
  g_signal_connect(window_, "expose-event", G_CALLBACK(OnExpose), this);
  g_signal_connect(window_, "screen-changed", G_CALLBACK(OnScreenChanged), this);
  if (skin_.glue == 0) {
    gtk_widget_add_events(window_, GDK_BUTTON_PRESS_MASK);
    g_signal_connect(window_, "button-press-event", G_CALLBACK(OnButtonPress), this);
  }
}

void PlayerWindow::ShowWindow() {
  gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window_), TRUE);
  gtk_widget_show_all(window_);
  window_behaviour::ApplyStacking(GTK_WINDOW(window_), settings_);
}

void PlayerWindow::SetDisplayText(const std::string& utf8) {
  if (displayLabel_ != nullptr) gtk_label_set_text(GTK_LABEL(displayLabel_), utf8.c_str());
}

std::string PlayerWindow::DisplayText() const {
  if (displayLabel_ == nullptr) return std::string();
  return gtk_label_get_text(GTK_LABEL(displayLabel_));
}

void PlayerWindow::SetTooltip(const std::string& latin1) { statusIcon_.SetTooltip(latin1); }

GtkWidget* PlayerWindow::NotificationAnchor() {
  if (window_ == nullptr || window_behaviour::IsIconified(window_)) return nullptr;
  return openButton_;
}

void PlayerWindow::ToggleMinimised() {
  if (window_ != nullptr) window_behaviour::ToggleMinimised(GTK_WINDOW(window_));
}

gboolean PlayerWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<PlayerWindow*>(self)->actions_.Quit();
  return TRUE;  // the window stays unless shutdown ends the process
}

void PlayerWindow::OnDestroy(GtkWidget*, gpointer self) {
  auto* player = static_cast<PlayerWindow*>(self);
  player->window_ = nullptr;
  player->skinArea_ = player->displayLabel_ = player->openButton_ = nullptr;
  player->controlRow_ = player->playerControlRow_ = nullptr;
  player->controlButtons_.clear();
  player->playerControlButtons_.clear();
}

gboolean PlayerWindow::OnWindowState(GtkWidget* widget, GdkEventWindowState*, gpointer self) {
  static_cast<PlayerWindow*>(self)->iconified_ = window_behaviour::IsIconified(widget);
  return FALSE;
}

gboolean PlayerWindow::OnExpose(GtkWidget* widget, GdkEventExpose*, gpointer self) {
  auto* player = static_cast<PlayerWindow*>(self);
  PaintBackground(widget, player->symbols_, player->alphaSupported_);
  return FALSE;  // the toolkit goes on to draw the skin and the widgets
}

void PlayerWindow::OnScreenChanged(GtkWidget* widget, GdkScreen*, gpointer self) {
  auto* player = static_cast<PlayerWindow*>(self);
  player->alphaSupported_ = CheckAlphaSupport(widget, player->symbols_);
}

gboolean PlayerWindow::OnButtonPress(GtkWidget* widget, GdkEventButton*, gpointer self) {
  const auto* player = static_cast<PlayerWindow*>(self);
  return window_behaviour::ToggleDecorations(GTK_WINDOW(widget),
                                             player->settings_.use_wm_decorations);
}

template <void (PlaylistCursor::*Handler)()>
void PlayerWindow::OnCursorButton(GtkButton*, gpointer self) {
  (static_cast<PlayerWindow*>(self)->cursor_.*Handler)();
}

template <void (PlayerActions::*Action)()>
void PlayerWindow::OnActionButton(GtkButton*, gpointer self) {
  (static_cast<PlayerWindow*>(self)->actions_.*Action)();
}

void PlayerWindow::OnOpenButton(GtkButton*, gpointer self) {
  static_cast<PlayerWindow*>(self)->menus_.PopUpAddMenu();
}

}  // namespace orvo
