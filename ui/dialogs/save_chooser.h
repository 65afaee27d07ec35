#pragma once

#include <optional>
#include <string>

typedef struct _GtkWidget GtkWidget;

namespace orvo {

// The modal "save Playlist as" chooser with the filter "Playlist" for
// "*.m3u", over `parent` (may be nullptr). It opens on `presetFile` when one
// is given, else in `startFolder`, and does not ask before overwriting.
// Returns the chosen file name, nullopt when cancelled.
std::optional<std::string> AskSavePlaylistName(GtkWidget* parent, const std::string& startFolder,
                                               const std::string& presetFile = std::string());

}  // namespace orvo
