#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

namespace orvo {

// The playlist manager's drop-down list: entry 0 is "create a Playlist", the
// others are full paths of playlist files. The 8-bit texts are kept beside
// the UTF-8 ones the list shows. The widget belongs to the window it is put
// into.
class PlaylistChooser {
 public:
  static constexpr const char* kCreateEntry = "create a Playlist";

  PlaylistChooser();
  PlaylistChooser(const PlaylistChooser&) = delete;
  PlaylistChooser& operator=(const PlaylistChooser&) = delete;

  GtkWidget* widget() const { return combo_; }

  // "create a Playlist" and every "*.m3u" file of `folder` (which ends in
  // "/"), in directory order; selects entry 0.
  void Fill(const std::string& folder);
  // The selected entry, -1 for none.
  int Active() const;
  void Select(int entry);
  // The selected entry's 8-bit text, empty with no selection.
  std::string ActiveText() const;
  // The entry (1 or later) holding exactly `path`, -1 when it is not listed.
  int Find(const std::string& path) const;
  void Append(const std::string& path);
  void Remove(int entry);

 private:
  GtkWidget* combo_;
  std::vector<std::string> texts_;
};

}  // namespace orvo
