#include "playlist/show_playlist_count.h"

#include <string>

#include "core/notifier.h"
#include "playlist/path_list.h"

namespace orvo {

void ShowPlaylistCount(Notifier& notifier, const CurrentPlaylist& playlist, int seconds,
                       GtkWidget* attachWidget) {
  const std::string body = "there are  " + std::to_string(playlist.count()) + " files in the current Playlist";
  notifier.ShowNotification("current Playlist", body, seconds, 1, attachWidget, kNotificationIcon);
}

}  // namespace orvo
