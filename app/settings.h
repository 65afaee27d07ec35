#pragma once

#include <string>

namespace orvo {

// The user's preferences, read once at start-up from "orvo.prefs" beside the
// executable. Field names follow the keys of the file. Booleans hold 0 or 1
// (a hand-edited file may hold other numbers; readers compare as documented).
struct Settings {
  int repeat = 0;
  int instantplay = 0;
  int start_with_last_playlist = 0;
  int start_minimized = 0;
  int randomplay = 0;
  int cycle_title = 1;
  int cycle_time = 3;  // tenths of a second per title-scroll tick, 1 to 10 in the file
  int ask_on_exit = 0;
  int stay_top = 0;
  int stay_bottom = 0;
  int use_wm_decorations = 0;
  std::string last_one;
  std::string use_last_skin;

  // Reads every key from `path`; a missing file or key gives the field its
  // default above, a present key that is not a number gives 0.
  void Load(const std::string& path);
  // Writes all keys except last_one into a new file at `path` (clamping
  // cycle_time in memory too). False when the file could not be written; the
  // old file then stays as it was.
  [[nodiscard]] bool SaveAll(const std::string& path);
  // Stores last_one into the existing file at `path`; never creates it.
  [[nodiscard]] bool SaveLast(const std::string& path) const;
};

// Forces a cycle_time into 1 to 10.
int ClampCycleTime(int value);

}  // namespace orvo
