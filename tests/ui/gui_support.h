#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "playlist/path_list.h"
#include "tests/ui/recording_actions.h"
#include "ui/optional_symbols.h"
#include "ui/player_window.h"

namespace orvo::test {

// Lets the toolkit work until `done` holds; false when it still does not
// after `limitMs` (a safety bound, not a timing expectation).
bool PumpUntil(const std::function<bool()>& done, int limitMs = 10000);
// Lets the toolkit work for a while (for things that must not happen).
void PumpFor(int ms);

// A temporary program folder, removed with everything in it.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  const std::string& path() const { return path_; }  // ends with "/"
  std::string Write(const std::string& name, const std::string& text) const;
  // A width x height RGBA PNG: fully transparent in the left `clearColumns`
  // columns, opaque `rgb` elsewhere.
  std::string WriteSkinImage(const std::string& name, int width, int height, int clearColumns = 0,
                             unsigned rgb = 0x3050d0) const;

 private:
  std::string path_;
};

// The toplevel dialogs open right now whose title is `title`.
std::vector<GtkWidget*> FindDialogs(const std::string& title);
// Answers the next box titled `title` with OK from inside its wait, after
// calling `inspect` on it.
void AnswerBoxLater(const std::string& title, std::function<void(GtkWidget* dialog)> inspect);

// Every part a player window needs, with a program folder of its own that
// holds a 400 x 100 "skin.png" unless a test removes it.
class PlayerFixture {
 public:
  explicit PlayerFixture(std::vector<std::string> driveNames = {});
  // Builds the window from a skin description with `text` ("" writes none).
  PlayerWindow& Build(const std::string& text, const OptionalLibraries* libraries = nullptr);

  ProgramFolder folder;
  Settings settings;
  RecordingActions actions;
  FakeDrives drives;
  CurrentPlaylist playlist;
  OptionalSymbols symbols;
  std::unique_ptr<PlayerWindow> player;
};

// Position and size of a widget's allocation inside its toplevel.
struct Box {
  int x, y, width, height;
};
Box AllocationOf(GtkWidget* widget);

// The pixel at (x, y) of the screen as 0xRRGGBB.
unsigned ScreenPixel(int x, int y);

}  // namespace orvo::test
