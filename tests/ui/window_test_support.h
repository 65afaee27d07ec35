#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

#include "app/message_dialog.h"
#include "desktop/notifier.h"

namespace orvo::test {

// Every bubble the window under test asked for.
class RecordingNotifier : public Notifier {
 public:
  struct Call {
    std::string summary;
    std::string body;
    int seconds;
    int urgency;
    void* attachWidget;
    std::string icon;
  };
  NotificationHandle ShowNotification(const std::string& summary, const std::string& body,
                                      int seconds, int urgency, void* attachWidget,
                                      const std::string& icon) override;
  void CloseNotification(NotificationHandle) override {}
  std::vector<Call> calls;
};

// Records each message dialog and answers it with `answer`.
class AnsweringDialogs : public MessageDialogs {
 public:
  struct Call {
    std::string message;
    int type;
    int buttons;
    std::string first;
  };
  int ShowMessageDialog(const std::string& message, int messageType, int buttons,
                        const std::string& first, const std::string& second) override;
  int answer = kResponseOk;
  std::vector<Call> calls;
};

// A fresh folder below the test's temporary folder, ending in "/".
std::string MakeTempFolder();
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
// An MP3 file made by lame; the tags are 8-bit texts, none when both empty.
void MakeMp3(const std::string& path, const std::string& title, const std::string& artist);
// The names of `folder` matching "*" + `suffix`, in the file system's order.
std::vector<std::string> ListedInFolder(const std::string& folder, const std::string& suffix);

// The shown top-level window with this title, or nullptr.
GtkWidget* FindToplevel(const char* title);
int CountToplevels(const char* title);
// Every descendant of `root` of the given type, in container order.
std::vector<GtkWidget*> FindAll(GtkWidget* root, GType type);
// The button (of any kind) whose label is `label`.
GtkWidget* FindButton(GtkWidget* root, const char* label);
// The GtkFixed that holds the window's controls.
GtkWidget* FixedOf(GtkWidget* window);
// Position of `child` inside its GtkFixed and its requested size.
struct Placement {
  int x, y, width, height;
  bool operator==(const Placement& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};
Placement PlacementOf(GtkWidget* child);
// The texts of the given model column, row by row.
std::vector<std::string> ColumnTexts(GtkTreeView* view, int column);
std::vector<int> SelectedRows(GtkTreeView* view);
void SelectRows(GtkTreeView* view, const std::vector<int>& rows);
// The window functions (GDK_FUNC_* bits) the window asks the window manager
// for, or -1 when it asks for none.
long RequestedFunctions(GtkWidget* window);
// Sends the window manager's close request (a delete event) to `window`.
void SendDelete(GtkWidget* window);

// Runs `step` once, from the main loop, as soon as a shown top-level window
// titled `title` exists. Steps run inside the window's own event loop.
void WhenShown(const char* title, std::function<void(GtkWidget*)> step);
// Answers the next file chooser dialog: `step` may set a name and returns
// the response to give.
void AnswerFileChooser(std::function<int(GtkFileChooser*)> step);
// Removes the steps and answers that never ran (a test that failed early).
void CancelPendingSteps();
// Runs the main loop until `done` holds or about ten seconds have passed;
// returns whether it holds.
bool WaitFor(const std::function<bool()>& done);

// Whether the window gets this size (its allocation, once the X server has
// answered), waiting as WaitFor does.
bool WaitForSize(GtkWidget* window, int width, int height);

// Fails the test and destroys every window titled `title` when it is still
// open after a minute, so that a window whose loop never ends cannot hang
// the run. Removed on destruction.
class Watchdog {
 public:
  explicit Watchdog(const char* title);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  guint source_;
  std::string title_;
};

}  // namespace orvo::test
