#pragma once

#include <functional>
#include <string>

typedef struct _GtkWidget GtkWidget;

namespace orvo {

class CurrentPlaylist;
class MessageDialogs;
class Notifier;
class PathList;
struct ProgramPaths;
struct Settings;
struct SongInfo;

// The process-wide records the secondary windows (playlist, playlist manager,
// preferences) read and change. The application owns every one of them for
// the whole run; the windows only borrow them while they are open.
struct WindowContext {
  GtkWidget* playerWindow;               // the skinned player's GtkWindow
  std::function<bool()> playerIconified;  // the player's `iconified` flag (required)
  Settings& settings;
  CurrentPlaylist& playlist;
  PathList& foundFiles;                  // filled by the folder search
  std::string& skinFile;                 // the skin description in use
  bool& skinRemembered;                  // "use_last_skin" was set at start-up
  const ProgramPaths& paths;
  MessageDialogs& dialogs;
  Notifier& notifier;
  SongInfo& songInfo;                    // scratch record of the song analysis
};

}  // namespace orvo
