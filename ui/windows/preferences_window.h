#pragma once

#include <gtk/gtk.h>

#include <array>
#include <string>
#include <vector>

#include "base/program_restart.h"
#include "ui/windows/player_aside.h"
#include "ui/windows/window_context.h"


namespace orvo {

// Edits every setting and picks the skin. Check boxes act on the settings at
// once; closing writes the preferences file and, after a change of skin,
// restarts the program with the new skin.
//
// The application keeps one PreferencesWindow for the whole run and calls
// Open() for every request: a request while the window is open brings that
// window forward instead of opening a second one, whose values would be
// overwritten by the first one's when that closes.
//
//   PreferencesWindow preferences(context, [&](const auto& arguments, const auto& folder) {
//     return RestartProcess(paths.programPath, arguments, folder);
//   });
//   preferences.Open();
class PreferencesWindow {
 public:
  PreferencesWindow(WindowContext& context, RestartProgram restart);
  PreferencesWindow(const PreferencesWindow&) = delete;
  PreferencesWindow& operator=(const PreferencesWindow&) = delete;
  ~PreferencesWindow();

  // Shows the window at the player's position (minimising the player) and
  // runs its event loop until it is closed. True when it closed without a
  // change of skin (the player is then restored); false after the restart
  // was asked for, and at once when the window was open already.
  //
  // The window closes (saves, restores the player, restarts) as soon as it
  // is asked to; Open() itself returns only when everything the window's
  // loop dispatched has returned, which for a playback started meanwhile
  // is the end of that playback.
  bool Open();

  static constexpr int kControlCount = 16;

 private:
  struct Binding {
    PreferencesWindow* window;
    int control;
  };
  struct Session;  // one Open() call: its loop and how it ended

  void Build();
  GtkWidget* BuildControl(int control);
  void FillSkins();
  void Toggled(int control);
  void StackingToggled(int control, bool on);
  bool IsChecked(int control) const;
  void SetSpeedSensitive(bool on);
  bool Close();
  // Restarts with the chosen skin; when that fails, says why and goes back
  // to `skinInUse`.
  void Restart(const std::string& skinInUse);
  void Finish();

  static void OnToggled(GtkToggleButton* box, gpointer binding);
  static void OnExit(GtkButton* button, gpointer self);
  static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
  static void OnDestroy(GtkWidget* widget, gpointer self);

  WindowContext& context_;
  RestartProgram restart_;
  GtkWidget* window_ = nullptr;
  std::array<GtkWidget*, kControlCount> controls_{};
  std::array<Binding, kControlCount> bindings_{};
  std::vector<std::string> skins_;  // the list's entries, 8-bit
  PlayerAside aside_;
  Session* session_ = nullptr;  // the open window's, while it is open
};

}  // namespace orvo
