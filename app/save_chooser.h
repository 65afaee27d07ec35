#pragma once

#include <optional>
#include <string>

namespace orvo {

// The modal "save Playlist as" chooser with the filter "Playlist" for
// "*.m3u", opened in `startFolder`. It does not ask before overwriting.
// Returns the chosen file name, nullopt when cancelled.
std::optional<std::string> AskSavePlaylistName(const std::string& startFolder);

}  // namespace orvo
