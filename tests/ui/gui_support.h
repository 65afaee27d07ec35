#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/message_dialogs.h"
#include "core/notifier.h"
#include "core/program_paths.h"
#include "core/settings.h"
#include "mediainfo/song_info.h"
#include "playlist/path_list.h"
#include "tests/support/scratch_dir.h"
#include "tests/ui/recording_actions.h"
#include "ui/optional_symbols.h"
#include "ui/player_window.h"
#include "ui/windows/window_context.h"

namespace orvo::test {

// Lets the toolkit work until `done` holds; false when it still does not
// after `limitMs` (a safety bound, not a timing expectation). Works inside
// the nested loop of a window or dialog too.
bool WaitFor(const std::function<bool()>& done, int limitMs = 10000);
// Whether the window gets this allocation once the X server has answered.
bool WaitForSize(GtkWidget* window, int width, int height);
// Lets the toolkit work for a while (for things that must not happen).
void PumpFor(int ms);

// A temporary folder whose path holds blanks and ends in "/", removed with
// everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string Write(const std::string& name, const std::string& bytes) const;
  // A width x height RGBA PNG: fully transparent in the left `clearColumns`
  // columns, opaque `rgb` elsewhere.
  std::string WriteSkinImage(const std::string& name, int width, int height, int clearColumns = 0,
                             unsigned rgb = 0x3050d0) const;

 private:
  std::string path_;
};

// An MP3 file made by lame; the tags are 8-bit texts, none when both empty.
void MakeMp3(const std::string& path, const std::string& title, const std::string& artist);
// The names of `folder` ending in `suffix`, in the file system's order.
std::vector<std::string> ListedInFolder(const std::string& folder, const std::string& suffix);

// Every top-level window titled `title`; the first shown one.
std::vector<GtkWidget*> Toplevels(const std::string& title);
GtkWidget* FindToplevel(const std::string& title);
std::vector<GtkWidget*> Children(GtkWidget* container);
// Every descendant of `root` of the given type, in container order.
std::vector<GtkWidget*> FindAll(GtkWidget* root, GType type);
GtkWidget* FindButton(GtkWidget* root, const char* label);
GtkWidget* FixedOf(GtkWidget* window);

struct Placement {
  int x, y, width, height;
  bool operator==(const Placement& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};
// Position of `child` inside its GtkFixed and its requested size.
Placement PlacementOf(GtkWidget* child);
// How the user sees one control of a GtkFixed: "GtkCheckButton text x,y wxh"
// (the button's, label's or entry's text), " [x]" or " [ ]" for a check box
// and " (off)" when it is insensitive.
std::string Describe(GtkWidget* control);
std::vector<std::string> DescribeAll(GtkWidget* fixed);
// The widget's allocation inside its toplevel.
Placement AllocationOf(GtkWidget* widget);
// The texts of the given model column, row by row.
std::vector<std::string> ColumnTexts(GtkTreeModel* model, int column = 0);
inline std::vector<std::string> ColumnTexts(GtkTreeView* view, int column = 0) {
  return ColumnTexts(gtk_tree_view_get_model(view), column);
}
inline std::vector<std::string> ColumnTexts(GtkComboBox* box) {
  return ColumnTexts(gtk_combo_box_get_model(box), 0);
}
// The text of the combo box's active entry, "<none>" without one.
inline std::string ActiveText(GtkComboBox* box) {
  const int active = gtk_combo_box_get_active(box);
  return active < 0 ? "<none>" : ColumnTexts(box).at(static_cast<std::size_t>(active));
}
std::vector<int> SelectedRows(GtkTreeView* view);
void SelectRows(GtkTreeView* view, const std::vector<int>& rows);
// The window functions (GDK_FUNC_* bits) the window asks the window manager
// for, or -1 when it asks for none.
long RequestedFunctions(GtkWidget* window);
GdkWMDecoration Decorations(GtkWidget* window);
// Whether the window manager state (_NET_WM_STATE) of `window` holds `atom`.
bool HasWmState(GtkWidget* window, const char* atom);
// Sends the window manager's close request (a delete event) to `window`.
void SendDelete(GtkWidget* window);
// The widget's normal background colour as 0xRRGGBB.
unsigned Background(GtkWidget* widget);
// The pixel at (x, y) of the screen as 0xRRGGBB.
unsigned ScreenPixel(int x, int y);

// Runs `step` once, from the main loop, as soon as a shown top-level window
// titled `title` exists; so steps run inside the window's own loop.
void WhenShown(const std::string& title, std::function<void(GtkWidget*)> step);
// Runs `open`, which returns once its window titled `title` has closed; runs
// `steps` on that window once shown, then presses its button `exitLabel` or,
// when that is null, sends the close request. Checks that the steps ran and
// the window is gone. A window still open after a minute fails the test and
// is destroyed with every dialog, so a loop that never ends cannot hang the
// run.
void RunWindow(const std::string& title, const std::function<void()>& open,
               const std::function<void(GtkWidget*)>& steps, const char* exitLabel);
// Answers the next file chooser dialog: `step` may set a name and returns
// the response to give.
void AnswerFileChooser(std::function<int(GtkFileChooser*)> step);
// Removes the steps and answers that never ran (a test that failed early).
void CancelPendingSteps();

// Every bubble the window under test asked for.
class RecordingNotifier : public Notifier {
 public:
  struct Call {
    std::string summary, body;
    int seconds, urgency;
    GtkWidget* attachWidget;
    std::string icon;
    std::string Text() const {
      return summary + " | " + body + " | " + std::to_string(seconds) + "s urgency " +
             std::to_string(urgency);
    }
  };
  NotificationHandle ShowNotification(const std::string& summary, const std::string& body,
                                      int seconds, int urgency, GtkWidget* attachWidget,
                                      const std::string& icon) override {
    calls.push_back({summary, body, seconds, urgency, attachWidget, icon});
    return nullptr;
  }
  void CloseNotification(NotificationHandle) override {}
  std::vector<Call> calls;
};

// Records each message dialog and answers it with `answer`.
class AnsweringDialogs : public MessageDialogs {
 public:
  struct Call {
    std::string message;
    int type, buttons;
    std::string first;
    std::string Text() const {
      return message + " | " + first + " | type " + std::to_string(type) + " buttons " +
             std::to_string(buttons);
    }
  };
  MessageResponse ShowMessageDialog(const std::string& message, MessageType messageType,
                                    ButtonsType buttons, const std::string& first,
                                    const std::string& second) override {
    calls.push_back({message, messageType, buttons, first});
    lastSecond = second;
    return answer;
  }
  MessageResponse answer = kResponseOk;
  std::vector<Call> calls;
  std::string lastSecond;  // the second argument of the latest call
};

// Every part a player window needs, with a program folder of its own that
// holds a 400 x 100 "skin.png" unless a test removes it.
class PlayerFixture {
 public:
  explicit PlayerFixture(std::vector<std::string> driveNames = {});
  // Builds the window from the skin description `skinFile` of the folder,
  // written with `text` first unless that is empty.
  PlayerWindow& Build(const std::string& text, const OptionalLibraries* libraries = nullptr,
                      const std::string& skinFile = "orvo.ini");

  TempFolder folder;
  Settings settings;
  RecordingActions actions;
  FakeDrives drives;
  CurrentPlaylist playlist;
  OptionalSymbols symbols;
  std::unique_ptr<PlayerWindow> player;
};

// For the secondary windows: a shown stand-in for the player window at
// (123, 77), a fresh program folder, the records the windows borrow, and
// doubles for the message dialog and the notifications.
class WindowFixture : public ::testing::Test {
 protected:
  static constexpr int kPlayerX = 123;
  static constexpr int kPlayerY = 77;

  void SetUp() override;
  void TearDown() override;
  // The player's GDK state, as the player window's own tracker sees it.
  bool PlayerIconified() const;
  std::string Dir() const { return paths.programDirectory; }

  TempFolder folder;
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
