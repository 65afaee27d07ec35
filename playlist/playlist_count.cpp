#include "playlist/playlist_count.h"

#include <string>

#include "desktop/notifier.h"
#include "playlist/path_list.h"

namespace orvo {

void ShowPlaylistCount(Notifier& notifier, const CurrentPlaylist& playlist, int seconds,
                       void* attachWidget) {
  const std::string body = "there are  " + std::to_string(playlist.count()) + " files in the current Playlist";
  notifier.ShowNotification("current Playlist", body, seconds, 1, attachWidget, kNotificationIcon);
}

}  // namespace orvo
