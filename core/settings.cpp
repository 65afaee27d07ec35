#include "core/settings.h"

#include "base/ini_file.h"

namespace orvo {

int ClampCycleTime(int value) {
  if (value < 1) return 1;
  if (value > 10) return 10;
  return value;
}

void Settings::Load(const std::string& path) {
  const Settings defaults;
  IniFile file;
  // A missing or unreadable file still answers every read with its default.
  (void)file.open(path);
  repeat = file.readInteger("repeat", 0) != 0;
  instantplay = file.readInteger("instantplay", 0) != 0;
  start_with_last_playlist = file.readInteger("start_with_last_playlist", 0) != 0;
  start_minimized = file.readInteger("start_minimized", 0) == 1;
  randomplay = file.readInteger("randomplay", 0) != 0;
  cycle_title = file.readInteger("cycle_title", defaults.cycle_title);
  cycle_time = ClampCycleTime(file.readInteger("cycle_time", defaults.cycle_time));
  ask_on_exit = file.readInteger("ask_on_exit", 0) == 1;
  stay_top = file.readInteger("stay_top", 0) == 1;
  stay_bottom = file.readInteger("stay_bottom", 0) == 1;
  last_one = file.readString("last_one", defaults.last_one);
  use_last_skin = file.readString("use_last_skin", defaults.use_last_skin);
  use_wm_decorations = file.readInteger("use_wm_decorations", 0) == 1;
  (void)file.close();
}

bool Settings::SaveAll(const std::string& path) {
  cycle_time = ClampCycleTime(cycle_time);
  IniFile file;
  if (!file.create(path)) return false;
  file.writeInteger("repeat", repeat ? 1 : 0);
  file.writeInteger("instantplay", instantplay ? 1 : 0);
  file.writeInteger("start_with_last_playlist", start_with_last_playlist ? 1 : 0);
  file.writeInteger("start_minimized", start_minimized ? 1 : 0);
  file.writeInteger("randomplay", randomplay ? 1 : 0);
  file.writeInteger("cycle_title", cycle_title);
  file.writeInteger("cycle_time", cycle_time);
  file.writeInteger("ask_on_exit", ask_on_exit ? 1 : 0);
  file.writeInteger("stay_top", stay_top ? 1 : 0);
  file.writeInteger("stay_bottom", stay_bottom ? 1 : 0);
  file.writeInteger("use_wm_decorations", use_wm_decorations ? 1 : 0);
  file.writeString("use_last_skin", use_last_skin);
  return file.close();
}

bool Settings::SaveLast(const std::string& path) const {
  IniFile file;
  // A file that cannot be opened keeps the write in memory only, and close
  // then refuses to create it: only the preferences window creates the file.
  (void)file.open(path);
  file.writeString("last_one", last_one);
  return file.close();
}

}  // namespace orvo
