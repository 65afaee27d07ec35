#pragma once

#include <gtk/gtk.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/windows/player_aside.h"
#include "ui/windows/window_context.h"


namespace orvo {

class NestedLoop;
class PlaylistChooser;
class TextListView;

// Assembles playlist files without touching the current playlist: searches
// folders for music, collects files into a content list, saves it as an M3U
// file and opens or deletes the playlist files kept in the program's folder.
//
//   PlaylistManagerWindow(context, [&] { return SearchMusicFolder(kSearchOnly); }).Open();
class PlaylistManagerWindow {
 public:
  // `searchFolder` runs the folder search in its search-only mode: it asks
  // for a folder and refills foundFiles, and returns false when the user
  // cancelled the folder chooser.
  PlaylistManagerWindow(WindowContext& context, std::function<bool()> searchFolder);
  PlaylistManagerWindow(const PlaylistManagerWindow&) = delete;
  PlaylistManagerWindow& operator=(const PlaylistManagerWindow&) = delete;
  ~PlaylistManagerWindow();

  // Minimises the player, shows the window at the player's position and
  // runs its event loop; returns once the window has been closed (with the
  // player restored if this window minimised it).
  void Open();

 private:
  enum Action { kSearch, kClear, kAdd, kRemove, kSave, kDelete, kExit, kActionCount };
  struct Binding {
    PlaylistManagerWindow* window;
    Action action;
  };

  void Build();
  void BuildButtons();
  void BuildLists();
  void ShowCurrentPlaylist();
  void Perform(Action action);

  void Search();
  void ClearFound();
  void AddSelected();
  void RemoveSelected();
  void ChooserChanged();
  void Save();
  void PrepareSaveDefaults();
  void AddSavedFile(const std::string& path);
  void Delete();
  void DropUris(char** uris);
  void Leave();
  void Close();

  std::vector<std::string> ContentPaths() const;

  static void OnClicked(GtkButton* button, gpointer binding);
  static void OnChooserChanged(GtkComboBox* combo, gpointer self);
  static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
  static void OnDestroy(GtkWidget* widget, gpointer self);
  static void OnDragDataReceived(GtkWidget* widget, GdkDragContext* context, gint x, gint y,
                                 GtkSelectionData* data, guint info, guint time, gpointer self);

  WindowContext& context_;
  std::function<bool()> searchFolder_;
  GtkWidget* window_ = nullptr;
  GtkWidget* fixed_ = nullptr;
  std::array<GtkWidget*, kActionCount> buttons_{};
  std::array<Binding, kActionCount> bindings_{};
  std::unique_ptr<TextListView> found_;
  std::unique_ptr<TextListView> content_;
  std::unique_ptr<PlaylistChooser> chooser_;
  // Where the save chooser opens and whether the saved file joins the
  // chooser; kept from one save to the next while the window is open.
  std::string saveFolder_;
  std::string saveFile_;
  bool addSavedFile_ = false;
  PlayerAside aside_;
  NestedLoop* loop_ = nullptr;
};

}  // namespace orvo
