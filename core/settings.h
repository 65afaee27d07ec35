#pragma once

#include <string>

namespace orvo {

// The preferences file beside the executable.
inline constexpr const char* kPreferencesFileName = "orvo.prefs";

// The user's preferences, read once at start-up from the preferences file.
// Field names follow the keys of the file, where on/off settings are 0 or 1.
// A hand-edited file may hold other numbers: ask_on_exit, stay_top,
// stay_bottom, start_minimized and use_wm_decorations are on only for 1, the
// others for any number but 0.
struct Settings {
  bool repeat = false;
  bool instantplay = false;
  bool start_with_last_playlist = false;
  bool start_minimized = false;
  bool randomplay = false;
  int cycle_title = 1;  // -1 off, 0 the file name, any other value scrolls
  int cycle_time = 3;   // tenths of a second per title-scroll tick, 1 to 10 in the file
  bool ask_on_exit = false;
  bool stay_top = false;
  bool stay_bottom = false;
  bool use_wm_decorations = false;
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
