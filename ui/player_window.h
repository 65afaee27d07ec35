#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

#include "core/player_view.h"
#include "core/skin_description.h"
#include "playback/playlist_cursor.h"
#include "ui/player_menus.h"
#include "ui/status_icon.h"

namespace orvo {

class CurrentPlaylist;
class CdDrives;
class OptionalSymbols;
class PlayerActions;
class SkinImageLoader;
struct Settings;

// The skinned main window: the skin image as background, a one-line display
// and up to two rows of icon buttons at the positions the skin description
// gives, plus the status icon. One object per process, built once and kept
// until the process ends; every reference handed in must outlive it.
class PlayerWindow : public PlayerView {
 public:
  PlayerWindow(PlayerActions& actions, CdDrives& drives, CurrentPlaylist& playlist,
               const Settings& settings, const OptionalSymbols& symbols,
               std::string programDirectory);
  ~PlayerWindow() override;
  PlayerWindow(const PlayerWindow&) = delete;
  PlayerWindow& operator=(const PlayerWindow&) = delete;

  // Starts loading the font configuration, which pango does on a worker
  // thread of its own, so that it overlaps whatever the caller does next
  // instead of holding up the first measurement of the display label. Only
  // the first call does anything; Build calls it too. GUI thread only.
  static void PrepareFonts();

  // Reads the skin description at `skinFile` (a missing file gives every
  // default), builds and shows the window, applies the stacking settings and
  // creates the status icon. Call once.
  void Build(const std::string& skinFile);

  // PlayerView
  void SetDisplayText(const std::string& utf8) override;
  std::string DisplayText() const override;
  void SetTooltip(const std::string& latin1) override;
  GtkWidget* WindowWidget() override { return window_; }
  GtkWidget* NotificationAnchor() override;

  // Status-icon click: restores the minimised window, minimises it otherwise.
  void ToggleMinimised();

  GtkWidget* window() const { return window_; }
  GtkWidget* skinArea() const { return skinArea_; }
  GtkWidget* displayLabel() const { return displayLabel_; }
  GtkWidget* openButton() const { return openButton_; }
  GtkWidget* controlRow() const { return controlRow_; }
  GtkWidget* playerControlRow() const { return playerControlRow_; }
  GtkStatusIcon* statusIcon() const { return statusIcon_.icon(); }
  bool iconified() const { return iconified_; }
  bool alphaSupported() const { return alphaSupported_; }
  int controlsVisible() const { return skin_.visible; }
  const std::string& textColour() const { return skin_.color; }
  const SkinDescription& skin() const { return skin_; }
  PlayerMenus& menus() { return menus_; }
  PlaylistCursor& cursor() { return cursor_; }

 private:
  void CreateWindow(const std::string& skinFile);
  void PlaceSkinImage(SkinImageLoader& loader);
  void RequestImageSize(const SkinImageLoader& loader);
  void BuildRows();
  void BuildDisplayLabel();
  void ConnectButtons();
  void ConnectWindowSignals();
  void ShowWindow();

  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
  static void OnDestroy(GtkWidget*, gpointer self);
  static gboolean OnWindowState(GtkWidget*, GdkEventWindowState*, gpointer self);
  static gboolean OnExpose(GtkWidget*, GdkEventExpose*, gpointer self);
  static void OnScreenChanged(GtkWidget*, GdkScreen*, gpointer self);
  static gboolean OnButtonPress(GtkWidget*, GdkEventButton*, gpointer self);
  template <void (PlaylistCursor::*Handler)()>
  static void OnCursorButton(GtkButton*, gpointer self);
  template <void (PlayerActions::*Action)()>
  static void OnActionButton(GtkButton*, gpointer self);
  static void OnOpenButton(GtkButton*, gpointer self);

  PlayerActions& actions_;
  const Settings& settings_;
  const OptionalSymbols& symbols_;
  const std::string programDirectory_;
  PlayerMenus menus_;
  PlaylistCursor cursor_;
  StatusIcon statusIcon_;
  SkinDescription skin_;

  // Widgets belong to the window; window_ is nulled when it is destroyed.
  GtkWidget* window_ = nullptr;
  GtkWidget* skinArea_ = nullptr;
  GtkWidget* displayLabel_ = nullptr;
  GtkWidget* openButton_ = nullptr;
  GtkWidget* controlRow_ = nullptr;
  GtkWidget* playerControlRow_ = nullptr;
  std::vector<GtkWidget*> controlButtons_;
  std::vector<GtkWidget*> playerControlButtons_;
  bool iconified_ = false;
  bool alphaSupported_ = false;
};

}  // namespace orvo
