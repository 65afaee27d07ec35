#include "app/shutdown.h"

#include "app/command_line.h"
#include "base/ini_file.h"
#include "core/media_engine.h"
#include "core/message_dialogs.h"
#include "core/notifier.h"
#include "core/program_paths.h"
#include "core/settings.h"
#include "playlist/m3u.h"
#include "playlist/path_list.h"

namespace orvo {

namespace {

void OfferToSave(ShutdownParts& parts) {
  CurrentPlaylist& playlist = parts.playlist;
  if (!playlist.filePath.empty() || playlist.count() == 0 || !parts.settings.ask_on_exit) {
    return;
  }
  const MessageResponse answer = parts.dialogs.ShowMessageDialog(
      "Unsaved Playlist... would you like to save it now?", kMessageQuestion, kButtonsYesNo);
  if (answer != kResponseYes) return;
  const std::optional<std::string> chosen = parts.askSaveName(parts.programDirectory);
  if (!chosen) return;
  // The name is remembered before writing, so it is stored as the last
  // playlist even when the file cannot be written.
  playlist.filePath = WithM3uExtension(*chosen);
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < playlist.count(); ++i) {
    playlist.select(i);
    lines.push_back(playlist.current());
  }
  if (WriteM3u(playlist.filePath, lines)) {
    parts.notifier.ShowNotification(
        "Saved", "there were " + std::to_string(lines.size()) + " files saved in the Playlist", 3,
        1, nullptr, kNotificationIcon);
  } else {
    parts.dialogs.ShowMessageDialog("Failed to create the Playlist %s", kMessageError, kButtonsOk,
                                    playlist.filePath);
  }
}

void RememberPlaylist(ShutdownParts& parts) {
  if (parts.playlist.filePath.empty()) return;
  parts.settings.last_one = parts.playlist.filePath;
  // Only an existing preferences file receives it; failures are silent.
  (void)parts.settings.SaveLast(parts.programDirectory + kPreferencesFileName);
}

void StoreWindowPosition(ShutdownParts& parts) {
  IniFile skin;
  // The preferences leave a bare list name here.
  skin.open(ResolveProgramFile(parts.skinFile, parts.programDirectory));
  const auto [x, y] = parts.windowPosition();
  skin.selectGroup("player");
  skin.writeInteger("windowx", x);
  skin.writeInteger("windowy", y);
  (void)skin.close();
}

}  // namespace


void RunShutdownSteps(ShutdownParts& parts) {
  OfferToSave(parts);
  RememberPlaylist(parts);
  if (parts.engine.IsLoaded()) {
    parts.engine.Stop();
    parts.engine.Release();
  }
  StoreWindowPosition(parts);
}

}  // namespace orvo
